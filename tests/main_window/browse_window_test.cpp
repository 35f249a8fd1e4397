// Browsing through the main window's lists: each choice fills the next list
// and its captions. The lines themselves are the core's (browse_test).

#include "support/running_program.h"

#include <sys/stat.h>

namespace yubin {
namespace {

using test::clickLine;
using test::linesOf;

constexpr int Hokkaido = 0; // rows of List1
constexpr int Tokyo = 12;

using Browsing = test::RunningProgram;

TEST_F(Browsing, PrefectureListsItsMunicipalitiesWithCountAndDataDateOrSaysTheFileIsMissing) {
    Yubin_Main& w = start();
    clickLine(*w.List1, Tokyo);
    EXPECT_EQ(w.Label3->text(), QStringLiteral("データファイルがありません"));
    EXPECT_EQ(w.List2->count(), 0);
    EXPECT_TRUE(w.Command2->isHidden());

    writeHokkaido();
    clickLine(*w.List1, Hokkaido);
    EXPECT_EQ(w.Label3->text(), QString());
    EXPECT_EQ(w.SelectedPrefecture, 1);
    EXPECT_EQ(w.List2->count(), 2);
    EXPECT_TRUE(w.List2->isEnabled());
    EXPECT_EQ(w.List2->font().pointSizeF(), 10);
    EXPECT_EQ(w.Label1[0]->text(), QStringLiteral("2 件"));
    EXPECT_EQ(w.Label4->text(), QStringLiteral("ﾃﾞｰﾀ日付：2025/09/30"));
    EXPECT_FALSE(w.Command2->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // The keyboard moves the choice as the mouse does.
    w.List1->setFocus();
    QTest::keyClick(w.List1, Qt::Key_Down);
    EXPECT_EQ(w.SelectedPrefecture, 2);
}

TEST_F(Browsing, MunicipalityListsItsTownsAndOffersTheSearchOnlyWithTownsToSearch) {
    writeHokkaido();
    Yubin_Main& w = start();
    clickLine(*w.List1, Hokkaido);
    clickLine(*w.List2, 0); // あ 旭川市: only the catch-all
    EXPECT_EQ(w.List3->count(), 1);
    EXPECT_TRUE(w.Text1->isHidden() && w.Command1->isHidden());

    clickLine(*w.List2, 1); // さ 札幌市中央区
    EXPECT_EQ(w.List3->count(), 3);
    EXPECT_EQ(w.Label6->text(), QStringLiteral("北海道札幌市中央区(さつぽろしちゆうおうく)"));
    EXPECT_EQ(w.Label1[1]->text(), QStringLiteral("3 件"));
    EXPECT_FALSE(w.Text1->isHidden() || w.Command1->isHidden());

    // The search runs on Enter with the trimmed text, and not on a blank.
    w.Text1->setText(QStringLiteral("  あさひ　"));
    QTest::keyClick(w.Text1, Qt::Key_Return);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("あさひ"));
    EXPECT_EQ(linesOf(*w.List3), QStringList{"064-0941  札幌市中央区旭ケ丘 (あさひがおか)"});
    EXPECT_EQ(w.Label1[1]->text(), QStringLiteral("1 件"));
    w.Text1->setText(QStringLiteral("　"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(w.Text1->text(), QString());
    EXPECT_TRUE(w.Text1->hasFocus());
    EXPECT_EQ(w.List3->count(), 1);
}

TEST_F(Browsing, OfficeShowsItsAddressAndItsReadingAsHeading) {
    writeOffices();
    Yubin_Main& w = start();
    QTest::mouseClick(w.Option1[1], Qt::LeftButton);
    clickLine(*w.List1, Tokyo);
    clickLine(*w.List2, 0);
    EXPECT_EQ(w.List2->font().pointSizeF(), 9);
    EXPECT_EQ(linesOf(*w.List3), QStringList{"100-8799  千代田区丸の内１－１"});
    EXPECT_EQ(w.Label6->text(), QStringLiteral("ニホンシヨウジ"));
    EXPECT_EQ(w.Label6->toolTip(), QStringLiteral("ニホンシヨウジ"));
    EXPECT_EQ(w.Label6->font().pointSizeF(), 9);
    EXPECT_TRUE(w.Text1->isHidden());
}

TEST_F(Browsing, ScreenOfTenThousandTwipsShowsNoDataDateNorOfficeHeading) {
    writeHokkaido();
    writeOffices();
    env.screen.height = 10000;
    Yubin_Main& w = start();
    clickLine(*w.List1, Hokkaido);
    EXPECT_EQ(w.List2->count(), 2);
    EXPECT_EQ(w.Label4->text(), QString());
    QTest::mouseClick(w.Option1[1], Qt::LeftButton);
    clickLine(*w.List1, Tokyo);
    clickLine(*w.List2, 0);
    EXPECT_EQ(w.List3->count(), 1);
    EXPECT_EQ(w.Label6->text(), QString());
    EXPECT_EQ(w.Label6->toolTip(), QString());
}

// More rows than a 16-bit counter holds, from a file the user may not write.
TEST_F(Browsing, ReadOnlyFileOfFortyThousandRowsLoads) {
    const QString path = env.dataFolder() + QStringLiteral("01hokkai.CSV");
    test::writeFile(path, test::recordBytes(1, 40000)); // all in 中央市
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    Yubin_Main& w = start();
    clickLine(*w.List1, Hokkaido);
    EXPECT_EQ(w.RecordCount(), 40000);
    clickLine(*w.List2, 0);
    EXPECT_EQ(w.Label1[1]->text(), QStringLiteral("40000 件"));
}

// yubin-cli's browsing commands print the lines the window shows.
TEST_F(Browsing, CommandLinePrintsTheLinesOfTheWindow) {
    writeHokkaido();
    writeOffices();
    Yubin_Main& w = start();
    const auto cliPrints = [&](const QStringList& args, const ExtentListWidget& list) {
        const test::CliResult r = test::runCli(QStringList{"--data", env.dataFolder()} + args);
        EXPECT_EQ(r.out, linesOf(list).join(u'\n') + u'\n') << args.join(u' ').toStdString();
    };
    clickLine(*w.List1, Hokkaido);
    cliPrints({"municipalities", "01"}, *w.List2);
    clickLine(*w.List2, 1);
    w.Text1->setText(QStringLiteral("オオドオリ"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    cliPrints({"town-search", "01", "札幌市中央区", "オオドオリ"}, *w.List3);
    QTest::mouseClick(w.Option1[1], Qt::LeftButton);
    clickLine(*w.List1, Tokyo);
    clickLine(*w.List2, 0);
    cliPrints({"towns", "13", "日本商事株式会社", "--offices"}, *w.List3);

    // A FIFO named like a file is no file: opening it would wait forever.
    ASSERT_EQ(mkfifo(QFile::encodeName(env.dataFolder() + "14kanaga.csv").constData(), 0600), 0);
    const test::CliResult missing =
        test::runCli({"--data", env.dataFolder(), "municipalities", "14"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, QStringLiteral("データファイルがありません\n"));
    EXPECT_EQ(test::runCli({"--data", env.dataFolder(), "towns", "99", "x"}).exitCode, 2);
}

} // namespace
} // namespace yubin
