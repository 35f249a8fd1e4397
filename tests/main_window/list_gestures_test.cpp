#include "barcode/bar_print.h"
#include "main_window/window_owner.h"
#include "main_window/yubin_main.h"
#include "map_search/map_search.h"
#include "support/data_files.h"
#include "support/fakes.h"
#include "support/list_gestures.h"
#include "support/running_program.h"

#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace yubin {
namespace {

using test::addressRecord;
using test::answerModal;
using test::clickLine;
using test::doubleClickLine;
using test::officeRecord;

constexpr int Hokkaido = 0; // rows of List1
constexpr int Tokyo = 12;

// The town lines of 札幌市中央区, in file order.
constexpr int CatchAllLine = 0;
constexpr int OodooriLine = 1;
constexpr int AsahigaokaLine = 2;

const QString Kept = QStringLiteral("kept on the clipboard");

using test::MapSeen;
using test::mapWindowOf;

class ListGestures : public test::RunningProgram {
protected:
    void SetUp() override {
        test::writeFile(
            env.dataFolder() + QStringLiteral("01hokkai.CSV"),
            test::sjisLines({
                addressRecord("01101", "0600000", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ",
                              "北海道", "札幌市中央区", "以下に掲載がない場合"),
                addressRecord("01101", "0600042", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｵｵﾄﾞｵﾘﾆｼ(1-19ﾁﾖｳﾒ)",
                              "北海道", "札幌市中央区", "大通西（１～１９丁目）"),
                addressRecord("01101", "0640941", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｱｻﾋｶﾞｵｶ", "北海道",
                              "札幌市中央区", "旭ケ丘"),
            }));
        test::writeFile(
            env.dataFolder() + QStringLiteral("13tokyo.CSV"),
            test::sjisLines({addressRecord("13381", "1001100", "ﾄｳｷﾖｳﾄ", "ﾐﾔｹｼﾞﾏﾐﾔｹﾑﾗ", "ﾐﾔｹﾑﾗｲﾁｴﾝ",
                                           "東京都", "三宅島三宅村", "三宅村一円")}));
        test::writeFile(env.dataFolder() + QStringLiteral("JIGYOSYO.CSV"),
                        test::sjisLines({
                            officeRecord("13101", "(ｶﾌﾞ) ﾆﾎﾝｼﾖｳｼﾞ", "日本商事株式会社", "東京都",
                                         "千代田区", "丸の内", "１－１", "1008799"),
                            // A reading that is nothing but its legal-entity word.
                            officeRecord("13101", "(ｶﾌﾞ)", "無名商事株式会社", "東京都", "千代田区",
                                         "内幸町", "１", "1008790"),
                        }));
        start();
        QGuiApplication::clipboard()->setText(Kept);
    }

    Yubin_Main& main() { return owner->main(); }

    // 北海道 and its one municipality, or 東京都 and 三宅島三宅村.
    void chooseTowns(int prefecture = Hokkaido) {
        clickLine(*main().List1, prefecture);
        ASSERT_EQ(main().List2->count(), 1);
        clickLine(*main().List2, 0);
    }
    // The business offices of 東京都.
    void chooseOffices() {
        QTest::mouseClick(main().Option1[1], Qt::LeftButton);
        clickLine(*main().List1, Tokyo);
    }
    int rowOf(const QListWidget& list, const QString& text) const {
        for (int i = 0; i < list.count(); ++i)
            if (list.item(i)->text() == text)
                return i;
        ADD_FAILURE() << "no line " << text.toStdString();
        return 0;
    }

    // The postal code box of the barcode window the action brings up, if any.
    std::optional<QString> barcodeWindowOf(const std::function<void()>& action) {
        QString code;
        bool addressNumberEmpty = false;
        const bool shown = answerModal<BAR_Print>(action, [&](BAR_Print& w) {
            code = w.txtData1->text();
            addressNumberEmpty = w.txtData2->text().isEmpty();
            addressPreset = w.txtAddress->text();
        });
        if (!shown)
            return std::nullopt;
        EXPECT_TRUE(addressNumberEmpty);
        return code;
    }
    QString addressPreset;
};

// ---- double-clicks ------------------------------------------------------------

class GestureModifier : public ListGestures,
                        public testing::WithParamInterface<Qt::KeyboardModifier> {};

TEST_P(GestureModifier, TownLineLooksUpPrefectureMunicipalityAndTown) {
    chooseTowns();
    shared.MapMode = 99;
    const auto seen =
        mapWindowOf([&] { doubleClickLine(*main().List3, AsahigaokaLine, GetParam()); });
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, QStringLiteral("北海道札幌市中央区旭ケ丘"));
    EXPECT_TRUE(seen->mapSearchEnabled);
    EXPECT_EQ(shared.MapMode, 0);
    EXPECT_EQ(main().LastShift, 0);
    // The line stays selected for the next gesture.
    EXPECT_EQ(main().List3->selectedLine(), main().List3->item(AsahigaokaLine)->text());
}

TEST_P(GestureModifier, MunicipalityLineLooksUpTheNameAlone) {
    chooseTowns();
    shared.MapMode = 99;
    const auto seen = mapWindowOf([&] { doubleClickLine(*main().List2, 0, GetParam()); });
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, QStringLiteral("札幌市中央区"));
    EXPECT_EQ(shared.MapMode, 0);
    EXPECT_EQ(main().LastShift, 0);
}

TEST_P(GestureModifier, RightClickOpensTheBarcodeOfTheLineSelectedBefore) {
    chooseTowns();
    clickLine(*main().List3, AsahigaokaLine);
    const auto code = barcodeWindowOf(
        [&] { clickLine(*main().List3, OodooriLine, GetParam(), Qt::RightButton); });
    EXPECT_EQ(code, QStringLiteral("0640941"));
    EXPECT_EQ(shared.BarZipCode, QStringLiteral("0640941"));
    EXPECT_EQ(addressPreset, QStringLiteral("北海道札幌市中央区旭ケ丘"));
    // The right button leaves the selection where it was.
    EXPECT_EQ(main().List3->selectedLine(), main().List3->item(AsahigaokaLine)->text());
}

INSTANTIATE_TEST_SUITE_P(ShiftOrCtrl, GestureModifier,
                         testing::Values(Qt::ShiftModifier, Qt::ControlModifier));

TEST_F(ListGestures, TownAreaIsCutBeforeItsFullWidthParenthesis) {
    chooseTowns();
    const auto seen =
        mapWindowOf([&] { doubleClickLine(*main().List3, OodooriLine, Qt::ShiftModifier); });
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, QStringLiteral("北海道札幌市中央区大通西"));
}

TEST_F(ListGestures, WholeAreaLineLosesItsEndingInTheMapWindow) {
    chooseTowns(Tokyo);
    ASSERT_EQ(main().List3->item(0)->text(), QStringLiteral("100-1100 三宅村一円(みやけむら)"));
    const auto seen = mapWindowOf([&] { doubleClickLine(*main().List3, 0, Qt::ControlModifier); });
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, QStringLiteral("東京都三宅村"));
}

TEST_F(ListGestures, CatchAllLineOpensNoMap) {
    chooseTowns();
    EXPECT_FALSE(
        mapWindowOf([&] { doubleClickLine(*main().List3, CatchAllLine, Qt::ShiftModifier); }));
    EXPECT_EQ(main().LastShift, 0);
}

class NoGestureModifier : public ListGestures,
                          public testing::WithParamInterface<Qt::KeyboardModifiers> {};

TEST_P(NoGestureModifier, DoubleClicksOpenNothingAndSpendTheState) {
    chooseTowns();
    EXPECT_FALSE(mapWindowOf([&] { doubleClickLine(*main().List3, AsahigaokaLine, GetParam()); }));
    EXPECT_EQ(main().LastShift, 0);
    EXPECT_FALSE(mapWindowOf([&] { doubleClickLine(*main().List2, 0, GetParam()); }));
    EXPECT_EQ(main().LastShift, 0);
}

TEST_P(NoGestureModifier, RightClicksOpenNoBarcode) {
    chooseTowns();
    clickLine(*main().List3, AsahigaokaLine);
    EXPECT_FALSE(barcodeWindowOf(
        [&] { clickLine(*main().List3, AsahigaokaLine, GetParam(), Qt::RightButton); }));
}

INSTANTIATE_TEST_SUITE_P(Combinations, NoGestureModifier,
                         testing::Values(Qt::KeyboardModifiers(),
                                         Qt::ShiftModifier | Qt::ControlModifier,
                                         Qt::KeyboardModifiers(Qt::AltModifier),
                                         Qt::ShiftModifier | Qt::AltModifier,
                                         Qt::ControlModifier | Qt::AltModifier));

TEST_F(ListGestures, ShiftRightDoubleClickIsNoMapGesture) {
    chooseTowns();
    EXPECT_FALSE(mapWindowOf(
        [&] { doubleClickLine(*main().List2, 0, Qt::ShiftModifier, Qt::RightButton); }));
}

TEST_F(ListGestures, ShiftLeftClickIsNoBarcodeGesture) {
    chooseTowns();
    clickLine(*main().List3, AsahigaokaLine);
    EXPECT_FALSE(
        barcodeWindowOf([&] { clickLine(*main().List3, OodooriLine, Qt::ShiftModifier); }));
    EXPECT_EQ(main().List3->selectedLine(), main().List3->item(OodooriLine)->text());
}

TEST_F(ListGestures, RightClickWithoutASelectedLineOpensNothing) {
    chooseTowns();
    shared.BarZipCode = QStringLiteral("1234567");
    ASSERT_FALSE(main().List3->selectedLine());
    EXPECT_FALSE(barcodeWindowOf(
        [&] { clickLine(*main().List3, OodooriLine, Qt::ShiftModifier, Qt::RightButton); }));
    EXPECT_TRUE(shared.BarZipCode.isEmpty());
}

// ---- business offices -------------------------------------------------------------

TEST_F(ListGestures, OfficeNameIsLookedUpAsAnOffice) {
    chooseOffices();
    const int row = rowOf(*main().List2, QStringLiteral("ニ 日本商事株式会社"));
    const auto seen = mapWindowOf([&] { doubleClickLine(*main().List2, row, Qt::ShiftModifier); });
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, QStringLiteral("日本商事株式会社"));
    EXPECT_FALSE(seen->mapSearchEnabled);
    EXPECT_EQ(shared.MapMode, 99);
}

TEST_F(ListGestures, OfficeWithoutAReadingKeepsItsWholeName) {
    chooseOffices();
    const int row = rowOf(*main().List2, QStringLiteral(" 無名商事株式会社"));
    const auto seen =
        mapWindowOf([&] { doubleClickLine(*main().List2, row, Qt::ControlModifier); });
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, QStringLiteral("無名商事株式会社"));
}

TEST_F(ListGestures, OfficeAddressIsLookedUpAsAnAddress) {
    chooseOffices();
    clickLine(*main().List2, rowOf(*main().List2, QStringLiteral("ニ 日本商事株式会社")));
    ASSERT_EQ(main().List3->count(), 1);
    shared.MapMode = 99;
    const auto seen = mapWindowOf([&] { doubleClickLine(*main().List3, 0, Qt::ShiftModifier); });
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, QStringLiteral("東京都千代田区丸の内１－１"));
    EXPECT_TRUE(seen->mapSearchEnabled);
    EXPECT_EQ(shared.MapMode, 0);

    clickLine(*main().List3, 0);
    EXPECT_EQ(
        barcodeWindowOf([&] { clickLine(*main().List3, 0, Qt::ControlModifier, Qt::RightButton); }),
        QStringLiteral("1008799"));
}

// ---- copying ------------------------------------------------------------------------

struct CopyCase {
    int prefecture;
    int line;
    const char16_t* copied;
};

class CtrlV : public ListGestures, public testing::WithParamInterface<CopyCase> {};

TEST_P(CtrlV, CopiesTheLineWithoutItsReadingAndConfirms) {
    chooseTowns(GetParam().prefecture);
    clickLine(*main().List3, GetParam().line);
    QTest::keyClick(main().List3, Qt::Key_V, Qt::ControlModifier);
    const QString copied = QString::fromUtf16(GetParam().copied);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), copied);
    ASSERT_EQ(env.messages.shown.size(), 1u);
    const test::ShownMessage& m = env.messages.shown.front();
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_EQ(m.title, QStringLiteral("郵便番号検索"));
    EXPECT_EQ(m.text, QStringLiteral("ｺﾋﾟｰ文字列 ： ") + copied +
                          QStringLiteral("        \r\rｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました。     "));
    EXPECT_EQ(main().LastShift, 0);
    EXPECT_EQ(main().LastKeyCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CtrlV,
    testing::Values(CopyCase{Hokkaido, AsahigaokaLine, u"064-0941  札幌市中央区旭ケ丘"},
                    CopyCase{Hokkaido, OodooriLine,
                             u"060-0042  札幌市中央区大通西（１～１９丁目）"},
                    // The catch-all and whole-area lines copy their code alone.
                    CopyCase{Hokkaido, CatchAllLine, u"060-0000"},
                    CopyCase{Tokyo, 0, u"100-1100"}));

class OtherKeys : public ListGestures,
                  public testing::WithParamInterface<std::pair<Qt::Key, Qt::KeyboardModifiers>> {};

TEST_P(OtherKeys, CopyNothing) {
    chooseTowns();
    clickLine(*main().List3, AsahigaokaLine);
    QTest::keyClick(main().List3, GetParam().first, GetParam().second);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), Kept);
    EXPECT_TRUE(env.messages.shown.empty());
    EXPECT_EQ(main().LastShift, 0);
    EXPECT_EQ(main().LastKeyCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, OtherKeys,
    testing::Values(std::pair{Qt::Key_C, Qt::KeyboardModifiers(Qt::ControlModifier)},
                    std::pair{Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier},
                    std::pair{Qt::Key_V, Qt::ControlModifier | Qt::AltModifier},
                    std::pair{Qt::Key_V, Qt::KeyboardModifiers(Qt::ShiftModifier)},
                    std::pair{Qt::Key_V, Qt::KeyboardModifiers()}));

TEST_F(ListGestures, CtrlVWithoutASelectedLineCopiesNothing) {
    chooseTowns();
    ASSERT_FALSE(main().List3->selectedLine());
    QTest::keyClick(main().List3, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), Kept);
    EXPECT_TRUE(env.messages.shown.empty());
}

TEST_F(ListGestures, CtrlVCopiesAnOfficeLineWhole) {
    chooseOffices();
    clickLine(*main().List2, rowOf(*main().List2, QStringLiteral("ニ 日本商事株式会社")));
    clickLine(*main().List3, 0);
    QTest::keyClick(main().List3, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("100-8799  千代田区丸の内１－１"));
    ASSERT_EQ(env.messages.shown.size(), 1u);
}

TEST_F(ListGestures, KeyDownStoresTheStateUntilAKeyTypes) {
    chooseTowns();
    clickLine(*main().List3, OodooriLine);
    QTest::keyClick(main().List3, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(main().LastShift, 1);
    EXPECT_EQ(main().LastKeyCode, 40);
    QTest::keyClick(main().List3, Qt::Key_A);
    EXPECT_EQ(main().LastShift, 0);
    EXPECT_EQ(main().LastKeyCode, 0);
}

TEST_F(ListGestures, MouseDownStoresTheShiftState) {
    chooseTowns();
    QTest::mousePress(main().List2->viewport(), Qt::LeftButton, Qt::ShiftModifier | Qt::AltModifier,
                      test::lineCentre(*main().List2, 0));
    EXPECT_EQ(main().LastShift, 5);
    QTest::mouseRelease(main().List2->viewport(), Qt::LeftButton,
                        Qt::ShiftModifier | Qt::AltModifier, test::lineCentre(*main().List2, 0));
    QTest::mousePress(main().List3->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      test::lineCentre(*main().List3, 0));
    EXPECT_EQ(main().LastShift, 2);
    QTest::mouseRelease(main().List3->viewport(), Qt::LeftButton, Qt::ControlModifier,
                        test::lineCentre(*main().List3, 0));
}

// ---- idle and empty lists --------------------------------------------------------------

TEST_F(ListGestures, IdleLinesAreNeverActedOn) {
    // Disabled lists take no gesture at all; even enabled, their line is no
    // municipality, town or code.
    ExtentListWidget& towns = *main().List3;
    ASSERT_EQ(towns.item(0)->text(), QStringLiteral("都道府県を指定してください"));
    ASSERT_FALSE(towns.isEnabled());
    towns.setEnabled(true);
    clickLine(towns, 0);
    EXPECT_FALSE(mapWindowOf([&] { doubleClickLine(towns, 0, Qt::ShiftModifier); }));
    EXPECT_FALSE(barcodeWindowOf([&] { clickLine(towns, 0, Qt::ShiftModifier, Qt::RightButton); }));
    QTest::keyClick(&towns, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), Kept);
    EXPECT_TRUE(env.messages.shown.empty());

    ExtentListWidget& municipalities = *main().List2;
    ASSERT_EQ(municipalities.item(0)->text(), QStringLiteral("都道府県を指定してください"));
    ASSERT_FALSE(municipalities.isEnabled());
    municipalities.setEnabled(true);
    EXPECT_FALSE(mapWindowOf([&] { doubleClickLine(municipalities, 0, Qt::ShiftModifier); }));
    EXPECT_EQ(main().LastShift, 0);
}

TEST_F(ListGestures, EmptyTownListTakesGesturesSafely) {
    chooseTowns();
    main().Text1->setText(QStringLiteral("存在しない町"));
    QTest::mouseClick(main().Command1, Qt::LeftButton);
    ASSERT_EQ(main().List3->count(), 0);
    const QPoint inside = main().List3->viewport()->rect().center();
    EXPECT_FALSE(barcodeWindowOf([&] {
        QTest::mouseClick(main().List3->viewport(), Qt::RightButton, Qt::ShiftModifier, inside);
    }));
    QTest::keyClick(main().List3, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(env.messages.shown.empty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), Kept);
}

} // namespace
} // namespace yubin
