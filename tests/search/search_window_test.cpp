#include "main_window/window_owner.h"
#include "main_window/yubin_main.h"
#include "search/scan.h"
#include "search/ubin_sort.h"
#include "search/zen_kensaku.h"
#include "support/data_files.h"
#include "support/running_program.h"

#include <QApplication>
#include <QClipboard>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace yubin {
namespace {

using test::addressRecord;
using test::officeRecord;

using test::linesOf;

class FullSearch : public test::RunningProgram {
protected:
    void SetUp() override {
        test::writeFile(
            env.dataFolder() + QStringLiteral("14kanaga.CSV"),
            test::sjisLines({addressRecord("14131", "2100001", "ｶﾅｶﾞﾜｹﾝ", "ｶﾜｻｷｼｶﾜｻｷｸ", "ﾎﾝﾁﾖｳ",
                                           "神奈川県", "川崎市川崎区", "本町"),
                             addressRecord("14131", "2100002", "ｶﾅｶﾞﾜｹﾝ", "ｶﾜｻｷｼｶﾜｻｷｸ", "ｴｷﾏｴ",
                                           "神奈川県", "川崎市川崎区", "駅前")}));
        test::writeFile(
            env.dataFolder() + QStringLiteral("JIGYOSYO.CSV"),
            test::sjisLines({officeRecord("14131", "ｶﾜｻｷｼﾔｸｼﾖ", "川崎市役所", "神奈川県",
                                          "川崎市川崎区", "宮本町", "１", "2108577")}));
        start();
    }
    Zen_Kensaku& open() {
        QTest::mouseClick(owner->main().Command2, Qt::LeftButton);
        Zen_Kensaku& w = owner->zenKensaku();
        w.activateWindow();
        QApplication::processEvents();
        return w;
    }
    // Runs the action and lets the scan window run its pass; `during` is
    // called at every yield of the pass.
    bool runScan(const std::function<void()>& action,
                 const std::function<void(UBIN_Sort&)>& during = {}) {
        return test::runThroughScanWindow(action, [&](UBIN_Sort& scan) {
            EXPECT_EQ(scan.Label2->text(), QStringLiteral("MAX 10000件"));
            EXPECT_GE(scan.Label2->width(), scan.Label2->sizeHint().width());
            EXPECT_EQ(scan.Command1->text(), QStringLiteral("検索中止"));
            if (during)
                QObject::connect(&scan, &UBIN_Sort::passYielded, &scan,
                                 [s = &scan, during] { during(*s); });
        });
    }
};

TEST_F(FullSearch, OpensWithBothBoxesCheckedAndTheIdleLine) {
    Zen_Kensaku& w = open();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.Check1->isChecked());
    EXPECT_TRUE(w.Check2->isChecked());
    EXPECT_EQ(linesOf(*w.List1), QStringList{"文字列検索をしてください"});
    EXPECT_FALSE(w.List1->isEnabled());
    EXPECT_TRUE(w.Label3->text().isEmpty());
    EXPECT_FALSE(owner->main().isVisible()) << "the main window hides while it is open";
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible()) << "Escape does nothing";
}

TEST_F(FullSearch, TextSearchListsRowsAndCountsThem) {
    Zen_Kensaku& w = open();
    w.Text1->setText(QStringLiteral(" 川崎 "));
    EXPECT_TRUE(runScan([&] { QTest::keyClick(w.Text1, Qt::Key_Return); }));
    EXPECT_EQ(w.Text1->text(), QStringLiteral("川崎"));
    EXPECT_EQ(linesOf(*w.List1),
              (QStringList{"[A] 210-0001 神奈川県川崎市川崎区本町 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸﾎﾝﾁﾖｳ)",
                           "[A] 210-0002 神奈川県川崎市川崎区駅前 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸｴｷﾏｴ)",
                           "[*] 210-8577 川崎市役所 神奈川県川崎市川崎区宮本町１"}));
    EXPECT_EQ(w.Label3->text(), QStringLiteral("3 件"));
    EXPECT_TRUE(w.List1->isEnabled());
    EXPECT_EQ(shared.FoldMatch, 0);
    EXPECT_TRUE(shared.SearchZipCode.isEmpty());

    // Without the office file and with folding.
    w.Check1->setChecked(false);
    w.Check2->setChecked(false);
    w.Text1->setText(QStringLiteral("えきまえ"));
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_EQ(shared.FoldMatch, 99);
    EXPECT_EQ(linesOf(*w.List1),
              QStringList{"[A] 210-0002 神奈川県川崎市川崎区駅前 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸｴｷﾏｴ)"});
}

TEST_F(FullSearch, RefusedTextsStartNoScan) {
    Zen_Kensaku& w = open();
    w.Text1->setText(QStringLiteral("川崎 駅前 本町"));
    EXPECT_FALSE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_EQ(linesOf(*w.List1), QStringList{"文字列検索をしてください"});
    EXPECT_TRUE(env.messages.shown.empty());
    w.Text1->setText(QStringLiteral("　"));
    EXPECT_FALSE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_EQ(w.focusWidget(), w.Text1);
}

TEST_F(FullSearch, NothingFoundShowsTheIdleLineAndZero) {
    Zen_Kensaku& w = open();
    w.Text1->setText(QStringLiteral("存在しない"));
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_EQ(linesOf(*w.List1), QStringList{"文字列検索をしてください"});
    EXPECT_FALSE(w.List1->isEnabled());
    EXPECT_EQ(w.Label3->text(), QStringLiteral("0 件"));
}

TEST_F(FullSearch, PostalCodeBoxTakesDigitsAndOneHyphen) {
    Zen_Kensaku& w = open();
    w.Text2->setFocus();
    QTest::keyClicks(w.Text2, QStringLiteral("21a0-"));
    EXPECT_EQ(w.Text2->text(), QStringLiteral("210-"));
    EXPECT_EQ(w.Label4->text(), QStringLiteral("3桁"));
    QTest::keyClicks(w.Text2, QStringLiteral("0001"));
    EXPECT_EQ(w.Label4->text(), QStringLiteral("7桁"));
    EXPECT_TRUE(runScan([&] { QTest::keyClick(w.Text2, Qt::Key_Return); }));
    EXPECT_EQ(shared.SearchZipCode, QStringLiteral("2100001"));
    EXPECT_EQ(linesOf(*w.List1),
              QStringList{"[A] 210-0001 神奈川県川崎市川崎区本町 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸﾎﾝﾁﾖｳ)"});
    // Typing replaces the selected code; a paste that is no code is refused.
    w.Text2->selectAll();
    QTest::keyClicks(w.Text2, QStringLiteral("2108577"));
    EXPECT_EQ(w.Text2->text(), QStringLiteral("2108577"));
    QApplication::clipboard()->setText(QStringLiteral("abc#xyz"));
    w.Text2->selectAll();
    QTest::keyClick(w.Text2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.Text2->text(), QStringLiteral("2108577"));

    w.Text2->setText(QStringLiteral("2100-001"));
    EXPECT_FALSE(runScan([&] { QTest::mouseClick(w.Command3, Qt::LeftButton); }));
    EXPECT_EQ(w.focusWidget(), w.Text2);
}

TEST_F(FullSearch, ACountWiderThanItsLabelGrowsToTheLeft) {
    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many << addressRecord("01101", QStringLiteral("06%1").arg(i, 5, 10, QChar(u'0')), "ﾎﾂｶｲﾄﾞｳ",
                              "ｻﾂﾎﾟﾛｼ", "ｶﾜｻｷ", "北海道", "札幌市", "川崎");
    test::writeFile(env.dataFolder() + QStringLiteral("01hokkai.CSV"), test::sjisLines(many));
    Zen_Kensaku& w = open();
    const int right = w.Label3->geometry().right();
    w.Text1->setText(QStringLiteral("川崎"));
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_EQ(w.Label3->text(), QStringLiteral("1003 件"));
    EXPECT_GE(w.Label3->width(), w.Label3->sizeHint().width());
    EXPECT_EQ(w.Label3->geometry().right(), right);
}

TEST_F(FullSearch, StopKeepsTheRowsSoFarAndCountsTheStopLine) {
    QStringList many;
    for (int i = 0; i < 3000; ++i)
        many << addressRecord("01101", QStringLiteral("06%1").arg(i, 5, 10, QChar(u'0')), "ﾎﾂｶｲﾄﾞｳ",
                              "ｻﾂﾎﾟﾛｼ", "ｶﾜｻｷ", "北海道", "札幌市", "川崎");
    test::writeFile(env.dataFolder() + QStringLiteral("01hokkai.CSV"), test::sjisLines(many));
    env.clock.stepPerRead = 16; // every reading of the clock is a new slice
    Zen_Kensaku& w = open();
    w.Text1->setText(QStringLiteral("川崎"));
    // Closing the scan window by its frame acts as the stop button.
    int yields = 0;
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); },
                        [&](UBIN_Sort& scan) {
                            if (++yields == 5)
                                scan.close();
                        }));
    const QStringList rows = linesOf(*w.List1);
    ASSERT_GE(rows.size(), 2);
    EXPECT_LT(rows.size(), 3000);
    EXPECT_EQ(rows.last(), QStringLiteral("----------------  検索中止  ----------------"));
    EXPECT_EQ(w.Label3->text(), countCaption(rows.size()));
    EXPECT_FALSE(rows.join(u'\n').contains(u"神奈川県"));
    EXPECT_TRUE(w.List1->isEnabled());
}

TEST_F(FullSearch, ClosingRemembersTheTextsAndShowsTheMainWindow) {
    Zen_Kensaku& w = open();
    w.Text1->setText(QStringLiteral(" 川崎 "));
    w.Text2->setText(QStringLiteral("210-0001"));
    w.Check1->setChecked(false);
    const QPointer<Zen_Kensaku> closed = &w;
    QTest::mouseClick(w.Command2, Qt::LeftButton);
    QEvent lateActivation(QEvent::WindowActivate); // as a window manager may send one
    QApplication::sendEvent(&w, &lateActivation);
    QApplication::processEvents();
    EXPECT_TRUE(owner->main().isVisible());
    EXPECT_EQ(shared.LastSearchText, QStringLiteral("川崎"));
    EXPECT_EQ(shared.LastSearchZip, QStringLiteral("210-0001"));
    // Closing unloads the window; a new one may take its freed address.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());

    Zen_Kensaku& again = open();
    EXPECT_EQ(again.Text1->text(), QStringLiteral("川崎"));
    EXPECT_EQ(again.Text2->text(), QStringLiteral("210-0001"));
    EXPECT_TRUE(again.Check1->isChecked());
}

TEST_F(FullSearch, WindowAndCommandLineGiveTheSameRows) {
    Zen_Kensaku& w = open();
    w.Text1->setText(QStringLiteral("川崎 ほんちよう"));
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    const test::CliResult cli =
        test::runCli({"--data", env.dataFolder(), QStringLiteral("search"), "川崎 ほんちよう"});
    EXPECT_EQ(cli.exitCode, 0);
    EXPECT_EQ(cli.out, linesOf(*w.List1).join(u'\n') + u'\n');
    EXPECT_EQ(cli.err, w.Label3->text() + u'\n');

    w.Text2->setText(QStringLiteral("2108577"));
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command3, Qt::LeftButton); }));
    const test::CliResult code =
        test::runCli({"--data", env.dataFolder(), QStringLiteral("code"), "210-8577"});
    EXPECT_EQ(code.out, linesOf(*w.List1).join(u'\n') + u'\n');

    const test::CliResult none = test::runCli(
        {"--data", env.dataFolder(), QStringLiteral("code"), "2108577", "--no-offices"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, QStringLiteral("0 件\n"));
    for (const QStringList& refused :
         {QStringList{"search", "a b c"}, QStringList{"code", "21-08577"},
          QStringList{"code", "21o8577"}, QStringList{"search", "　"}}) {
        const test::CliResult r = test::runCli(QStringList{"--data", env.dataFolder()} + refused);
        EXPECT_EQ(r.exitCode, 2) << refused.join(u' ').toStdString();
    }
}

} // namespace
} // namespace yubin
