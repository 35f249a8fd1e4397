#include "main_window/browse.h"
#include "main_window/window_owner.h"
#include "main_window/yubin_main.h"
#include "support/data_files.h"
#include "support/list_gestures.h"
#include "support/running_program.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include <sys/stat.h>

namespace yubin {
namespace {

using test::addressRecord;
using test::officeRecord;

using test::linesOf;

class Browsing : public test::RunningProgram {
protected:
    void SetUp() override {
        hokkaido = {
            addressRecord("01101", "0600000", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ",
                          "北海道", "札幌市中央区", "以下に掲載がない場合"),
            addressRecord("01101", "0600042", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｵｵﾄﾞｵﾘﾆｼ(1-19ﾁﾖｳﾒ)",
                          "北海道", "札幌市中央区", "大通西（１～１９丁目）"),
            addressRecord("01101", "0640941", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｱｻﾋｶﾞｵｶ", "北海道",
                          "札幌市中央区", "旭ケ丘"),
            addressRecord("01204", "0700000", "ﾎﾂｶｲﾄﾞｳ", "ｱｻﾋｶﾜｼ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "北海道",
                          "旭川市", "以下に掲載がない場合"),
        };
        offices = {
            officeRecord("13101", "(ｶﾌﾞ) ﾆﾎﾝｼﾖｳｼﾞ", "日本商事株式会社", "東京都", "千代田区",
                         "丸の内", "１－１", "1008799"),
            officeRecord("13101", "(ｶﾌﾞ) ﾆﾎﾝｼﾖｳｼﾞ", "日本商事株式会社", "東京都", "千代田区",
                         "大手町", "２－２", "1008798"),
            officeRecord("13102", "ｶﾞｲﾑｼﾖｳ", "外務省", "東京都", "千代田区", "霞が関", "２－２－１",
                         "1008919"),
            officeRecord("01101", "ﾎﾂｶｲﾄﾞｳﾁﾖｳ", "北海道庁", "北海道", "札幌市中央区", "北三条西",
                         "６", "0608588"),
        };
    }
    void writeHokkaido(const QString& name = QStringLiteral("01hokkai.CSV")) {
        test::writeFile(env.dataFolder() + name, test::sjisLines(hokkaido));
    }
    void writeOffices() {
        test::writeFile(env.dataFolder() + QStringLiteral("JIGYOSYO.CSV"),
                        test::sjisLines(offices));
    }
    void click(ExtentListWidget* list, int row) { test::clickLine(*list, row); }
    QStringList hokkaido;
    QStringList offices;
};

TEST_F(Browsing, ChoosingAPrefectureListsItsMunicipalitiesAndTheDataDate) {
    writeHokkaido();
    QFile file(env.dataFolder() + QStringLiteral("01hokkai.CSV"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2025, 9, 30), QTime(0, 0)),
                                 QFileDevice::FileModificationTime));
    file.close();
    Yubin_Main& w = start();
    click(w.List1, 0);
    EXPECT_EQ(w.SelectedPrefecture, 1);
    EXPECT_EQ(linesOf(*w.List2), (QStringList{"あ 旭川市 (あさひかわし)",
                                              "さ 札幌市中央区 (さつぽろしちゆうおうく)"}));
    EXPECT_EQ(w.List2->font().pointSizeF(), 10);
    EXPECT_EQ(w.Label1[0]->text(), QStringLiteral("2 件"));
    EXPECT_EQ(w.Label4->text(), QStringLiteral("ﾃﾞｰﾀ日付：2025/09/30"));
    EXPECT_TRUE(w.Label3->text().isEmpty());
    EXPECT_FALSE(w.Command2->isHidden());
    EXPECT_TRUE(w.Label2->isHidden());
    EXPECT_TRUE(w.List2->isEnabled());
    EXPECT_EQ(w.RecordCount(), 4);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Browsing, NoDataDateOnAScreenOfTenThousandTwips) {
    writeHokkaido();
    env.screen.height = 10000;
    Yubin_Main& w = start();
    click(w.List1, 0);
    EXPECT_EQ(w.List2->count(), 2);
    EXPECT_TRUE(w.Label4->text().isEmpty());
}

TEST_F(Browsing, MissingFileShowsTheMessageAndKeepsSearchAllHidden) {
    Yubin_Main& w = start();
    click(w.List1, 12);
    EXPECT_EQ(w.Label3->text(), QStringLiteral("データファイルがありません"));
    EXPECT_EQ(w.List2->count(), 0);
    EXPECT_TRUE(w.Command2->isHidden());
    EXPECT_TRUE(w.Label4->text().isEmpty());
    // A later choice with a file brings the button back.
    writeHokkaido();
    click(w.List1, 0);
    EXPECT_FALSE(w.Command2->isHidden());
    EXPECT_TRUE(w.Label3->text().isEmpty());
}

TEST_F(Browsing, ReadOnlyAndLargeFilesLoadLikeAnyOther) {
    QStringList many;
    for (int i = 0; i < 40000; ++i)
        many << addressRecord("01101", QStringLiteral("06%1").arg(i % 100000, 5, 10, QChar(u'0')),
                              "ﾎﾂｶｲﾄﾞｳ", i < 20000 ? "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ" : "ｱｻﾋｶﾜｼ", "ﾁﾖｳ", "北海道",
                              i < 20000 ? "札幌市中央区" : "旭川市", QStringLiteral("町%1").arg(i));
    const QString path = env.dataFolder() + QStringLiteral("01hokkai.CSV");
    test::writeFile(path, test::sjisLines(many));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    Yubin_Main& w = start();
    click(w.List1, 0);
    EXPECT_EQ(w.RecordCount(), 40000);
    EXPECT_EQ(linesOf(*w.List2), (QStringList{"あ 旭川市 (あさひかわし)",
                                              "さ 札幌市中央区 (さつぽろしちゆうおうく)"}));
    click(w.List2, 0);
    EXPECT_EQ(w.List3->count(), 20000);
    EXPECT_EQ(w.Label1[1]->text(), QStringLiteral("20000 件"));
}

TEST_F(Browsing, ChoosingAMunicipalityListsItsTownsAndOffersTheSearch) {
    writeHokkaido();
    Yubin_Main& w = start();
    click(w.List1, 0);
    click(w.List2, 1);
    EXPECT_EQ(
        linesOf(*w.List3),
        (QStringList{
            "060-0000  以下に掲載がない場合",
            "060-0042  札幌市中央区大通西（１～１９丁目） (おおどおりにし（１－１９ちようめ）)",
            "064-0941  札幌市中央区旭ケ丘 (あさひがおか)"}));
    EXPECT_EQ(w.Label6->text(), QStringLiteral("北海道札幌市中央区(さつぽろしちゆうおうく)"));
    EXPECT_EQ(w.Label6->font().pointSizeF(), 9);
    EXPECT_EQ(w.Label1[1]->text(), QStringLiteral("3 件"));
    EXPECT_EQ(w.CurrentMunicipality, QStringLiteral("札幌市中央区"));
    EXPECT_FALSE(w.Text1->isHidden());
    EXPECT_FALSE(w.Command1->isHidden());

    click(w.List2, 0); // 旭川市: only the catch-all
    EXPECT_EQ(linesOf(*w.List3), QStringList{"070-0000  以下に掲載がない場合"});
    EXPECT_TRUE(w.Text1->isHidden());
    EXPECT_TRUE(w.CurrentMunicipality.isEmpty());
}

TEST_F(Browsing, TownSearchByEnterAndByButton) {
    writeHokkaido();
    Yubin_Main& w = start();
    click(w.List1, 0);
    click(w.List2, 1);
    w.Text1->setText(QStringLiteral("  あさひ　"));
    QTest::keyClick(w.Text1, Qt::Key_Return);
    EXPECT_EQ(w.Text1->text(), QStringLiteral("あさひ"));
    EXPECT_EQ(linesOf(*w.List3), QStringList{"064-0941  札幌市中央区旭ケ丘 (あさひがおか)"});
    EXPECT_EQ(w.Label1[1]->text(), QStringLiteral("1 件"));

    w.Text1->setText(QStringLiteral("以下"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(w.List3->count(), 0);
    EXPECT_EQ(w.Label1[1]->text(), QStringLiteral("0 件"));
    EXPECT_EQ(w.Label6->text(), QStringLiteral("北海道札幌市中央区(さつぽろしちゆうおうく)"));

    w.Text1->setText(QStringLiteral("　"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_TRUE(w.Text1->text().isEmpty());
    EXPECT_TRUE(w.Text1->hasFocus());
    EXPECT_EQ(w.List3->count(), 0) << "an empty search changes nothing";
}

TEST_F(Browsing, BusinessOfficeModeListsOfficesAndTheirAddresses) {
    writeOffices();
    Yubin_Main& w = start();
    QTest::mouseClick(w.Option1[1], Qt::LeftButton);
    click(w.List1, 12);
    // One line per office record: two offices of one name are listed twice.
    EXPECT_EQ(linesOf(*w.List2),
              (QStringList{"カ 外務省", "ニ 日本商事株式会社", "ニ 日本商事株式会社"}));
    EXPECT_EQ(w.List2->font().pointSizeF(), 9);
    click(w.List2, 1);
    EXPECT_EQ(linesOf(*w.List3),
              (QStringList{"100-8799  千代田区丸の内１－１", "100-8798  千代田区大手町２－２"}));
    EXPECT_EQ(w.Label6->text(), QStringLiteral("ニホンシヨウジ"));
    EXPECT_EQ(w.Label6->toolTip(), QStringLiteral("ニホンシヨウジ"));
    EXPECT_EQ(w.Label6->font().pointSizeF(), 9);
    EXPECT_TRUE(w.Text1->isHidden());
}

TEST_F(Browsing, BusinessHeadingShrinksWithTheLengthOfTheReading) {
    offices.clear();
    for (int length : {29, 30, 61})
        offices << officeRecord("13101", QString(length, u'ｱ'),
                                QStringLiteral("長い名前%1").arg(length), "東京都", "千代田区",
                                "丸の内", "１", "1008799");
    writeOffices();
    Yubin_Main& w = start();
    QTest::mouseClick(w.Option1[1], Qt::LeftButton);
    click(w.List1, 12);
    ASSERT_EQ(w.List2->count(), 3);
    const std::map<QString, double> expected{
        {"ア 長い名前29", 9}, {"ア 長い名前30", 7}, {"ア 長い名前61", 4}};
    for (int row = 0; row < 3; ++row) {
        click(w.List2, row);
        const QString line = w.List2->item(row)->text();
        EXPECT_EQ(w.Label6->font().pointSizeF(), expected.at(line)) << line.toStdString();
        EXPECT_EQ(w.Label6->text().size(), line.mid(6).toInt());
    }
}

TEST_F(Browsing, BusinessHeadingStaysEmptyOnATenThousandTwipScreen) {
    writeOffices();
    env.screen.height = 10000;
    Yubin_Main& w = start();
    QTest::mouseClick(w.Option1[1], Qt::LeftButton);
    click(w.List1, 12);
    click(w.List2, 0);
    EXPECT_EQ(w.List3->count(), 1);
    EXPECT_TRUE(w.Label6->text().isEmpty());
    EXPECT_TRUE(w.Label6->toolTip().isEmpty());
}

TEST_F(Browsing, KeyboardMovingThePrefectureSelectionLoadsIt) {
    writeHokkaido();
    test::writeFile(
        env.dataFolder() + QStringLiteral("02aomori.CSV"),
        test::sjisLines({addressRecord("02201", "0300000", "ｱｵﾓﾘｹﾝ", "ｱｵﾓﾘｼ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ",
                                       "青森県", "青森市", "以下に掲載がない場合")}));
    Yubin_Main& w = start();
    click(w.List1, 0);
    w.List1->setFocus();
    QTest::keyClick(w.List1, Qt::Key_Down);
    EXPECT_EQ(w.SelectedPrefecture, 2);
    EXPECT_EQ(linesOf(*w.List2), QStringList{"あ 青森市 (あおもりし)"});
}

TEST_F(Browsing, WindowAndCommandLineShowTheSameLines) {
    writeHokkaido();
    writeOffices();
    Yubin_Main& w = start();
    click(w.List1, 0);
    const QString data = env.dataFolder();
    const test::CliResult list =
        test::runCli({"--data", data, QStringLiteral("municipalities"), QStringLiteral("01")});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out, linesOf(*w.List2).join(u'\n') + u'\n');

    click(w.List2, 1);
    const test::CliResult towns = test::runCli(
        {"--data", data, QStringLiteral("towns"), QStringLiteral("北海道"), "札幌市中央区"});
    EXPECT_EQ(towns.out, linesOf(*w.List3).join(u'\n') + u'\n');

    w.Text1->setText(QStringLiteral("オオドオリ"));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    const test::CliResult search = test::runCli(
        {"--data", data, QStringLiteral("town-search"), "01", "札幌市中央区", "オオドオリ"});
    EXPECT_EQ(search.out, linesOf(*w.List3).join(u'\n') + u'\n');

    QTest::mouseClick(w.Option1[1], Qt::LeftButton);
    click(w.List1, 12);
    const test::CliResult officeList = test::runCli(
        {"--data", data, QStringLiteral("municipalities"), "13", QStringLiteral("--offices")});
    EXPECT_EQ(officeList.out, linesOf(*w.List2).join(u'\n') + u'\n');
    click(w.List2, 1);
    const test::CliResult officeTowns = test::runCli(
        {"--data", data, QStringLiteral("towns"), "13", "日本商事株式会社", "--offices"});
    EXPECT_EQ(officeTowns.out, linesOf(*w.List3).join(u'\n') + u'\n');
}

TEST_F(Browsing, CommandLineReportsAMissingFileAndAnUnknownPrefecture) {
    const QString data = env.dataFolder();
    QDir().mkpath(data);
    // A FIFO named like the file is no file: opening it would wait forever.
    ASSERT_EQ(mkfifo(QFile::encodeName(data + QStringLiteral("13tokyo.csv")).constData(), 0600), 0);
    const test::CliResult missing =
        test::runCli({"--data", data, QStringLiteral("municipalities"), QStringLiteral("13")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, QStringLiteral("データファイルがありません\n"));
    EXPECT_TRUE(missing.out.isEmpty());
    const test::CliResult unknown =
        test::runCli({"--data", data, QStringLiteral("towns"), QStringLiteral("99"), "x"});
    EXPECT_EQ(unknown.exitCode, 2);
}

} // namespace
} // namespace yubin
