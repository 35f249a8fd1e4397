#include "barcode/bar_print.h"
#include "main_window/window_owner.h"
#include "main_window/yubin_main.h"
#include "map_search/map_search.h"
#include "search/scan.h"
#include "search/ubin_sort.h"
#include "search/zen_kensaku.h"
#include "support/data_files.h"
#include "support/fakes.h"
#include "support/list_gestures.h"
#include "support/running_program.h"

#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace yubin {
namespace {

using test::addressRecord;
using test::answerModal;
using test::clickLine;
using test::doubleClickLine;
using test::officeRecord;

// The rows a search for 東京都 finds, in this order.
constexpr int CatchAllRow = 0;
constexpr int ChiyodaRow = 1;
constexpr int MiyakeRow = 2;
constexpr int OfficeRow = 3;

const QString Kept = QStringLiteral("kept on the clipboard");

using test::MapSeen;
using test::mapWindowOf;

class ResultGestures : public test::RunningProgram {
protected:
    void SetUp() override {
        test::writeFile(env.dataFolder() + QStringLiteral("13tokyo.CSV"),
                        test::sjisLines({
                            addressRecord("13101", "1000000", "ﾄｳｷｮｳﾄ", "ﾁﾖﾀﾞｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ",
                                          "東京都", "千代田区", "以下に掲載がない場合"),
                            addressRecord("13101", "1000001", "ﾄｳｷｮｳﾄ", "ﾁﾖﾀﾞｸ", "ﾁﾖﾀﾞ", "東京都",
                                          "千代田区", "千代田"),
                            addressRecord("13381", "1001100", "ﾄｳｷｮｳﾄ", "ﾐﾔｹｼﾞﾏﾐﾔｹﾑﾗ", "ﾐﾔｹﾑﾗｲﾁｴﾝ",
                                          "東京都", "三宅島三宅村", "三宅村一円"),
                        }));
        test::writeFile(
            env.dataFolder() + QStringLiteral("JIGYOSYO.CSV"),
            test::sjisLines({officeRecord("13101", "(ｶﾌﾞ) ﾆﾎﾝｼﾖｳｼﾞ", "日本商事株式会社", "東京都",
                                          "千代田区", "丸の内", "１－１", "1008799")}));
        start();
        QTest::mouseClick(owner->main().Command2, Qt::LeftButton);
        QApplication::processEvents();
        QGuiApplication::clipboard()->setText(Kept);
    }

    Zen_Kensaku& window() { return owner->zenKensaku(); }
    ExtentListWidget& results() { return *window().List1; }

    // A text search for 東京都, run through the scan window.
    void searchTokyo() {
        window().Text1->setText(QStringLiteral("東京都"));
        test::runThroughScanWindow([&] { QTest::mouseClick(window().Command1, Qt::LeftButton); });
        ASSERT_EQ(results().count(), 4);
        ASSERT_TRUE(results().isEnabled());
    }

    std::optional<QString> barcodeWindowOf(const std::function<void()>& action) {
        QString code;
        const bool shown = answerModal<BAR_Print>(action, [&](BAR_Print& w) {
            code = w.txtData1->text();
            addressPreset = w.txtAddress->text();
        });
        return shown ? std::optional<QString>(code) : std::nullopt;
    }
    QString addressPreset;
    void expectNothingCopied() {
        EXPECT_EQ(QGuiApplication::clipboard()->text(), Kept);
        EXPECT_TRUE(env.messages.shown.empty());
    }
};

TEST_F(ResultGestures, TheSearchFindsTheRowsTheGesturesActOn) {
    searchTokyo();
    EXPECT_EQ(results().item(CatchAllRow)->text(),
              QStringLiteral("[A] 100-0000 東京都千代田区(以下に掲載がない場合)"));
    EXPECT_EQ(results().item(ChiyodaRow)->text(),
              QStringLiteral("[A] 100-0001 東京都千代田区千代田 (ﾄｳｷｮｳﾄﾁﾖﾀﾞｸﾁﾖﾀﾞ)"));
    EXPECT_EQ(results().item(MiyakeRow)->text(),
              QStringLiteral("[A] 100-1100 東京都三宅島三宅村(三宅村一円)"));
    EXPECT_EQ(results().item(OfficeRow)->text(),
              QStringLiteral("[*] 100-8799 日本商事株式会社 東京都千代田区丸の内１－１"));
}

// ---- copying ------------------------------------------------------------------------

struct CopyCase {
    int row;
    const char16_t* copied;
};

class ResultCtrlV : public ResultGestures, public testing::WithParamInterface<CopyCase> {};

TEST_P(ResultCtrlV, CopiesTheRowWithoutMarkerOrReadingAndConfirms) {
    searchTokyo();
    clickLine(results(), GetParam().row);
    QTest::keyClick(&results(), Qt::Key_V, Qt::ControlModifier);
    const QString copied = QString::fromUtf16(GetParam().copied);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), copied);
    ASSERT_EQ(env.messages.shown.size(), 1u);
    const test::ShownMessage& m = env.messages.shown.front();
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_EQ(m.title, QStringLiteral("郵便番号検索"));
    EXPECT_EQ(m.text, QStringLiteral("ｺﾋﾟｰ文字列 ： ") + copied +
                          QStringLiteral("        \r\rｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました。     "));
    EXPECT_EQ(window().LastShift, 0);
    EXPECT_EQ(window().LastKeyCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ResultCtrlV,
    testing::Values(CopyCase{ChiyodaRow, u"100-0001 東京都千代田区千代田"},
                    CopyCase{OfficeRow, u"100-8799 日本商事株式会社 東京都千代田区丸の内１－１"},
                    // A town area in parentheses leaves the postal code alone.
                    CopyCase{CatchAllRow, u"100-0000"}, CopyCase{MiyakeRow, u"100-1100"}));

class ResultOtherKeys
    : public ResultGestures,
      public testing::WithParamInterface<std::pair<Qt::Key, Qt::KeyboardModifiers>> {};

TEST_P(ResultOtherKeys, CopyNothingAndClearTheState) {
    searchTokyo();
    clickLine(results(), ChiyodaRow);
    QTest::keyClick(&results(), GetParam().first, GetParam().second);
    expectNothingCopied();
    EXPECT_EQ(window().LastShift, 0);
    EXPECT_EQ(window().LastKeyCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ResultOtherKeys,
    testing::Values(std::pair{Qt::Key_C, Qt::KeyboardModifiers(Qt::ControlModifier)},
                    std::pair{Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier},
                    std::pair{Qt::Key_V, Qt::KeyboardModifiers()}));

TEST_F(ResultGestures, CtrlVWithoutASelectedRowCopiesNothing) {
    searchTokyo();
    ASSERT_FALSE(results().selectedLine());
    QTest::keyClick(&results(), Qt::Key_V, Qt::ControlModifier);
    expectNothingCopied();
}

// ---- the barcode ----------------------------------------------------------------------

class ResultGestureModifier : public ResultGestures,
                              public testing::WithParamInterface<Qt::KeyboardModifier> {};

TEST_P(ResultGestureModifier, RightClickOpensTheBarcodeOfTheSelectedRow) {
    searchTokyo();
    clickLine(results(), ChiyodaRow);
    EXPECT_EQ(
        barcodeWindowOf([&] { clickLine(results(), OfficeRow, GetParam(), Qt::RightButton); }),
        QStringLiteral("1000001"));
    EXPECT_EQ(shared.BarZipCode, QStringLiteral("1000001"));
    EXPECT_EQ(addressPreset, QStringLiteral("東京都千代田区千代田"));
    EXPECT_EQ(results().selectedLine(), results().item(ChiyodaRow)->text());
}

TEST_P(ResultGestureModifier, DoubleClickLooksUpTheAddressAsAnAddress) {
    searchTokyo();
    shared.MapMode = 99; // what the main window may have left
    const auto seen = mapWindowOf([&] { doubleClickLine(results(), ChiyodaRow, GetParam()); });
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, QStringLiteral("東京都千代田区千代田"));
    EXPECT_TRUE(seen->mapSearchEnabled);
    EXPECT_EQ(shared.MapMode, 0);
    EXPECT_EQ(window().LastShift, 0);
    // The row stays selected for the next gesture.
    EXPECT_EQ(results().selectedLine(), results().item(ChiyodaRow)->text());
}

INSTANTIATE_TEST_SUITE_P(ShiftOrCtrl, ResultGestureModifier,
                         testing::Values(Qt::ShiftModifier, Qt::ControlModifier));

class ResultNoGestureModifier : public ResultGestures,
                                public testing::WithParamInterface<Qt::KeyboardModifiers> {};

TEST_P(ResultNoGestureModifier, OpensNothing) {
    searchTokyo();
    clickLine(results(), ChiyodaRow);
    EXPECT_FALSE(
        barcodeWindowOf([&] { clickLine(results(), ChiyodaRow, GetParam(), Qt::RightButton); }));
    EXPECT_FALSE(mapWindowOf([&] { doubleClickLine(results(), ChiyodaRow, GetParam()); }));
    EXPECT_EQ(window().LastShift, 0);
}

INSTANTIATE_TEST_SUITE_P(Combinations, ResultNoGestureModifier,
                         testing::Values(Qt::KeyboardModifiers(),
                                         Qt::ShiftModifier | Qt::ControlModifier,
                                         Qt::KeyboardModifiers(Qt::AltModifier)));

TEST_F(ResultGestures, EveryMouseDownEmptiesTheBarcodeCode) {
    searchTokyo();
    shared.BarZipCode = QStringLiteral("1234567");
    clickLine(results(), ChiyodaRow);
    EXPECT_TRUE(shared.BarZipCode.isEmpty());
}

// ---- the map ------------------------------------------------------------------------

TEST_F(ResultGestures, TownAreaInParenthesesPassesPrefectureAndMunicipality) {
    searchTokyo();
    const auto seen =
        mapWindowOf([&] { doubleClickLine(results(), MiyakeRow, Qt::ShiftModifier); });
    ASSERT_TRUE(seen);
    // 東京都三宅島三宅村, which the map window rewrites.
    EXPECT_EQ(seen->text, QStringLiteral("東京都三宅村"));
}

TEST_F(ResultGestures, OfficeRowLooksUpItsAddress) {
    searchTokyo();
    const auto seen =
        mapWindowOf([&] { doubleClickLine(results(), OfficeRow, Qt::ControlModifier); });
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->text, QStringLiteral("東京都千代田区丸の内１－１"));
    EXPECT_EQ(shared.MapMode, 0);
}

TEST_F(ResultGestures, CatchAllRowRefusesTheMapAndSpendsTheState) {
    searchTokyo();
    EXPECT_FALSE(mapWindowOf([&] { doubleClickLine(results(), CatchAllRow, Qt::ShiftModifier); }));
    EXPECT_EQ(window().LastShift, 0);
}

// ---- lines that are no rows ----------------------------------------------------------------

TEST_F(ResultGestures, StatusLinesAreNeverActedOn) {
    searchTokyo();
    results().addItem(ScanStoppedLine);
    results().addItem(ScanLimitLine);
    for (const int row : {4, 5}) {
        clickLine(results(), row);
        EXPECT_FALSE(barcodeWindowOf(
            [&] { clickLine(results(), row, Qt::ShiftModifier, Qt::RightButton); }));
        EXPECT_FALSE(mapWindowOf([&] { doubleClickLine(results(), row, Qt::ShiftModifier); }));
        QTest::keyClick(&results(), Qt::Key_V, Qt::ControlModifier);
        expectNothingCopied();
    }
}

TEST_F(ResultGestures, TheIdleLineIsNeverActedOn) {
    ASSERT_EQ(results().item(0)->text(), QStringLiteral("文字列検索をしてください"));
    ASSERT_FALSE(results().isEnabled());
    results().setEnabled(true);
    clickLine(results(), 0);
    EXPECT_FALSE(
        barcodeWindowOf([&] { clickLine(results(), 0, Qt::ControlModifier, Qt::RightButton); }));
    EXPECT_FALSE(mapWindowOf([&] { doubleClickLine(results(), 0, Qt::ControlModifier); }));
    QTest::keyClick(&results(), Qt::Key_V, Qt::ControlModifier);
    expectNothingCopied();
}

} // namespace
} // namespace yubin
