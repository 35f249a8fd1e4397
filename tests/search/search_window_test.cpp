// The full search window drives the scan window and shows what the pass
// found; the matching and the row formats are the core's (scan_test).

#include "support/running_program.h"

#include <QClipboard>
#include <QPointer>

namespace yubin {
namespace {

using test::linesOf;

const QStringList IdleLine{"文字列検索をしてください"};

class FullSearch : public test::RunningProgram {
protected:
    void SetUp() override {
        writeTokyo();
        writeOffices();
        start();
    }
    // Runs the action and lets the scan window run its pass; `during` is
    // called at every yield of the pass. True when the scan window came up.
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

TEST_F(FullSearch, OpensWithBothBoxesCheckedAndTheIdleLineThatRefusedTextsLeave) {
    Zen_Kensaku& w = openFullSearch();
    EXPECT_TRUE(w.isVisible() && w.Check1->isChecked() && w.Check2->isChecked());
    EXPECT_EQ(linesOf(*w.List1), IdleLine);
    EXPECT_FALSE(w.List1->isEnabled());
    EXPECT_EQ(w.Label3->text(), QString());
    EXPECT_FALSE(owner->main().isVisible()) << "the main window hides while it is open";
    QTest::keyClick(w.Text1, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible()) << "Escape does nothing";

    // Refused (search_input_test) or fruitless texts leave the idle line.
    w.Text1->setText(QStringLiteral("　"));
    EXPECT_FALSE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_EQ(w.focusWidget(), w.Text1);
    EXPECT_TRUE(env.messages.shown.empty());
    w.Text1->setText(QStringLiteral("存在しない"));
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_EQ(linesOf(*w.List1), IdleLine);
    EXPECT_FALSE(w.List1->isEnabled());
    EXPECT_EQ(w.Label3->text(), QStringLiteral("0 件"));
}

TEST_F(FullSearch, TextSearchHandsOverTheBoxesAndCountsTheRows) {
    Zen_Kensaku& w = openFullSearch();
    w.Text1->setText(QStringLiteral(" 千代田 "));
    EXPECT_TRUE(runScan([&] { QTest::keyClick(w.Text1, Qt::Key_Return); }));
    EXPECT_EQ(w.Text1->text(), QStringLiteral("千代田"));
    EXPECT_EQ(w.List1->count(), 3);
    EXPECT_EQ(w.Label3->text(), QStringLiteral("3 件"));
    EXPECT_TRUE(w.List1->isEnabled());
    EXPECT_EQ(shared.FoldMatch, 0);
    EXPECT_EQ(shared.SearchZipCode, QString());

    // Without the office file, and with folding.
    w.Check1->setChecked(false);
    w.Check2->setChecked(false);
    w.Text1->setText(QStringLiteral("ちよだ"));
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_EQ(shared.FoldMatch, 99);
    EXPECT_EQ(w.List1->count(), 2) << "both town areas by their reading, no office";
}

TEST_F(FullSearch, PostalCodeBoxTakesDigitsAndOneHyphenAndCountsThem) {
    Zen_Kensaku& w = openFullSearch();
    w.Text2->setFocus();
    QTest::keyClicks(w.Text2, QStringLiteral("10a0-"));
    EXPECT_EQ(w.Text2->text(), QStringLiteral("100-"));
    EXPECT_EQ(w.Label4->text(), QStringLiteral("3桁"));
    QTest::keyClicks(w.Text2, QStringLiteral("0001"));
    EXPECT_EQ(w.Label4->text(), QStringLiteral("7桁"));
    EXPECT_TRUE(runScan([&] { QTest::keyClick(w.Text2, Qt::Key_Return); }));
    EXPECT_EQ(shared.SearchZipCode, QStringLiteral("1000001"));
    EXPECT_EQ(w.List1->count(), 1);

    // A code pasted as people write it is read as the code.
    w.Text2->clear();
    QApplication::clipboard()->setText(QStringLiteral("１００ー０００１"));
    QTest::keyClick(w.Text2, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.Text2->text(), QStringLiteral("100-0001"));

    w.Text2->setText(QStringLiteral("1000-001"));
    EXPECT_FALSE(runScan([&] { QTest::mouseClick(w.Command3, Qt::LeftButton); }));
    EXPECT_EQ(w.focusWidget(), w.Text2);
}

TEST_F(FullSearch, LongPassCountsLeftwardsAndClosingItsWindowStopsIt) {
    // 本町0丁目 to 本町999丁目 of 中央市, 北海道.
    test::writeFile(env.dataFolder() + QStringLiteral("01hokkai.CSV"), test::recordBytes(1, 1000));
    Zen_Kensaku& w = openFullSearch();
    const int right = w.Label3->geometry().right();
    w.Text1->setText(QStringLiteral("本町"));
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    EXPECT_EQ(w.Label3->text(), QStringLiteral("1000 件"));
    EXPECT_GE(w.Label3->width(), w.Label3->sizeHint().width());
    EXPECT_EQ(w.Label3->geometry().right(), right);

    // Every reading of the clock is a new slice: the pass yields once after
    // reading the first file and once after each row.
    env.clock.stepPerRead = 16;
    int yields = 0;
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); },
                        [&](UBIN_Sort& scan) {
                            if (++yields == 5)
                                scan.close();
                        }));
    // Four rows, then the stop line.
    const QStringList rows = linesOf(*w.List1);
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[3], QStringLiteral("[A] 010-0003 北海道中央市本町3丁目 (ｹﾝｼﾁｮｳ3)"));
    EXPECT_EQ(rows[4], QStringLiteral("----------------  検索中止  ----------------"));
    EXPECT_EQ(w.Label3->text(), QStringLiteral("5 件"));
    EXPECT_TRUE(w.List1->isEnabled());
    // The stop line has no record: no gesture takes it.
    EXPECT_EQ(test::actOut(*w.List1, {4, test::Gesture::CtrlV, Qt::ControlModifier, nullptr},
                           env.messages),
              std::nullopt);
}

TEST_F(FullSearch, ClosingRemembersTheTextsAndShowsTheMainWindow) {
    Zen_Kensaku& w = openFullSearch();
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

    Zen_Kensaku& again = openFullSearch();
    EXPECT_EQ(again.Text1->text(), QStringLiteral("川崎"));
    EXPECT_EQ(again.Text2->text(), QStringLiteral("210-0001"));
    EXPECT_TRUE(again.Check1->isChecked());
}

// yubin-cli's search commands print the rows and the count the window shows.
TEST_F(FullSearch, CommandLinePrintsTheRowsOfTheWindow) {
    Zen_Kensaku& w = openFullSearch();
    const auto cli = [&](const QStringList& args) {
        return test::runCli(QStringList{"--data", env.dataFolder()} + args);
    };
    w.Text1->setText(QStringLiteral("千代田 ちよだ"));
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command1, Qt::LeftButton); }));
    const test::CliResult text = cli({"search", "千代田 ちよだ"});
    EXPECT_EQ(text.out, linesOf(*w.List1).join(u'\n') + u'\n');
    EXPECT_EQ(text.err, QStringLiteral("2 件\n"));

    w.Text2->setText(QStringLiteral("1008799"));
    EXPECT_TRUE(runScan([&] { QTest::mouseClick(w.Command3, Qt::LeftButton); }));
    EXPECT_EQ(cli({"code", "100-8799"}).out, linesOf(*w.List1).join(u'\n') + u'\n');

    const test::CliResult none = cli({"code", "1008799", "--no-offices"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, QStringLiteral("0 件\n"));
    for (const QStringList& refused : {QStringList{"search", "a b c"}, {"code", "21o8577"}})
        EXPECT_EQ(cli(refused).exitCode, 2) << refused.join(u' ').toStdString();
}

} // namespace
} // namespace yubin
