#include "search/scan.h"

#include "support/data_files.h"
#include "support/fakes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin {
namespace {

using test::addressRecord;
using test::officeRecord;

// ---- the match table ---------------------------------------------------

struct MatchCase {
    const char* name;
    const char* line;
    const char* text;
    bool fold;
    bool matches;
};
void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << c.name;
}

class MatchTable : public testing::TestWithParam<MatchCase> {};

TEST_P(MatchTable, DecidesLikeTheTable) {
    const MatchCase& c = GetParam();
    LineForms forms;
    const SearchWords words = splitSearchWords(QString::fromUtf8(c.text));
    EXPECT_EQ(lineMatches(QString::fromUtf8(c.line), words, c.fold, forms), c.matches);
}

constexpr const char* Kawasaki =
    "14131,\"210  "
    "\",\"2100001\",\"ｶﾅｶﾞﾜｹﾝ\",\"ｶﾜｻｷｼｶﾜｻｷｸ\",\"ﾎﾝﾁﾖｳ\",\"神奈川県\",\"川崎市川崎区\","
    "\"本町\",0,0,0,0,0,0";

INSTANTIATE_TEST_SUITE_P(
    Rows, MatchTable,
    testing::Values(
        MatchCase{"OneWordFoundAsStored", Kawasaki, "川崎", false, true},
        MatchCase{"HiraganaWordWithoutFolding", Kawasaki, "かながわ", false, false},
        MatchCase{"HiraganaWordWithFolding", Kawasaki, "かながわ", true, true},
        MatchCase{"KatakanaWordWithFolding", Kawasaki, "カワサキ", true, true},
        MatchCase{"WordInNoFormWithFolding", Kawasaki, "よこはま", true, false},
        MatchCase{"SecondWordAlwaysInDerivedForms", Kawasaki, "川崎 かわさき", false, true},
        MatchCase{"HalfWidthSecondWordFindsNothing", Kawasaki, "川崎 ｶﾜｻｷ", false, false},
        MatchCase{"SecondWordMissing", Kawasaki, "川崎 よこはま", true, false},
        MatchCase{"BothWordsFoldedNeedFolding", Kawasaki, "かながわ ほんちよう", false, false},
        MatchCase{"BothWordsFolded", Kawasaki, "かながわ ほんちよう", true, true},
        MatchCase{"CommaAcrossTwoColumns", Kawasaki, "川崎区\",\"本町", false, true},
        MatchCase{"FullWidthDigitsFolded", Kawasaki, "２１００００１", true, true}));

// ---- rows ---------------------------------------------------------------

TEST(ResultRows, ThreeFormatsWithTheirThirteenCharacterPrefix) {
    Access_CSV csv;
    EXPECT_EQ(resultRow(addressRecord("13101", "1000001", "ﾄｳｷﾖｳﾄ", "ﾁﾖﾀﾞｸ", "ﾁﾖﾀﾞ", "東京都",
                                      "千代田区", "千代田"),
                        false, csv),
              QStringLiteral("[A] 100-0001 東京都千代田区千代田 (ﾄｳｷﾖｳﾄﾁﾖﾀﾞｸﾁﾖﾀﾞ)"));
    EXPECT_EQ(resultRow(addressRecord("13101", "1000000", "ﾄｳｷﾖｳﾄ", "ﾁﾖﾀﾞｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ",
                                      "東京都", "千代田区", "以下に掲載がない場合"),
                        false, csv),
              QStringLiteral("[A] 100-0000 東京都千代田区(以下に掲載がない場合)"));
    EXPECT_EQ(resultRow(addressRecord("13381", "1001101", "ﾄｳｷﾖｳﾄ", "ﾐﾔｹﾑﾗ", "ﾐﾔｹﾑﾗｲﾁｴﾝ", "東京都",
                                      "三宅村", "三宅村一円"),
                        false, csv),
              QStringLiteral("[A] 100-1101 東京都三宅村(三宅村一円)"));
    EXPECT_EQ(resultRow(officeRecord("13101", "ｶﾞｲﾑｼﾖｳ", "外務省", "東京都", "千代田区", "霞が関",
                                     "２－２－１", "1008919"),
                        true, csv),
              QStringLiteral("[*] 100-8919 外務省 東京都千代田区霞が関２－２－１"));
}

TEST(ResultRows, PostalCodeIsTheColumnsLeadingDigitsWithZeros) {
    EXPECT_EQ(rowPostalCode(QStringLiteral("0600000")), QStringLiteral("0600000"));
    EXPECT_EQ(rowPostalCode(QStringLiteral("600000")), QStringLiteral("0600000"));
    EXPECT_EQ(rowPostalCode(QStringLiteral(" 123x9 ")), QStringLiteral("0000123"));
    EXPECT_EQ(rowPostalCode(QStringLiteral("abc")), QStringLiteral("0000000"));
    EXPECT_EQ(rowPostalCode(QStringLiteral("123456789")), QStringLiteral("3456789"));
}

// ---- the pass -----------------------------------------------------------

class Pass : public testing::Test {
protected:
    void SetUp() override {
        write("01hokkai.CSV",
              {addressRecord("01101", "0600000", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ",
                             "北海道", "札幌市中央区", "以下に掲載がない場合"),
               addressRecord("01101", "0640941", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ", "ｶﾜｻｷﾁﾖｳ", "北海道",
                             "札幌市中央区", "川崎町"),
               QStringLiteral("川崎,短い")});
        write("14kanaga.CSV", {addressRecord("14131", "2100001", "ｶﾅｶﾞﾜｹﾝ", "ｶﾜｻｷｼｶﾜｻｷｸ", "ﾎﾝﾁﾖｳ",
                                             "神奈川県", "川崎市川崎区", "本町"),
                               addressRecord("14131", "2100002", "ｶﾅｶﾞﾜｹﾝ", "ｶﾜｻｷｼｶﾜｻｷｸ", "ｴｷﾏｴ",
                                             "神奈川県", "川崎市川崎区", "駅前")});
        write("JIGYOSYO.CSV", {officeRecord("14131", "ｶﾜｻｷｼﾔｸｼﾖ", "川崎市役所", "神奈川県",
                                            "川崎市川崎区", "宮本町", "１", "2108577"),
                               officeRecord("01101", "ﾎﾝﾁﾖｳｼﾖｳｶｲ", "本町商会", "北海道",
                                            "札幌市中央区", "本町", "１", "2100001")});
    }
    void write(const char* name, const QStringList& lines) {
        test::writeFile(dir.path() + QStringLiteral("/DATA/") + QLatin1String(name),
                        test::sjisLines(lines));
    }
    ScanResult scan(const ScanRequest& r) { return runScan(r, data, cache, clock, quiet); }
    ScanRequest text(const char* t, bool fold = false, bool offices = true) {
        ScanRequest r;
        r.text = QString::fromUtf8(t);
        r.fold = fold;
        r.includeOffices = offices;
        return r;
    }

    QTemporaryDir dir;
    DataFolder data{dir.path()};
    ScanCache cache;
    test::ManualClock clock;
    ScanObserver quiet;
};

TEST_F(Pass, RowsFollowFileOrderWithOfficesLast) {
    const ScanResult r = scan(text("川崎"));
    EXPECT_EQ(r.rows,
              (QStringList{"[A] 064-0941 北海道札幌市中央区川崎町 (ﾎﾂｶｲﾄﾞｳｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸｶﾜｻｷﾁﾖｳ)",
                           "[A] 210-0001 神奈川県川崎市川崎区本町 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸﾎﾝﾁﾖｳ)",
                           "[A] 210-0002 神奈川県川崎市川崎区駅前 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸｴｷﾏｴ)",
                           "[*] 210-8577 川崎市役所 神奈川県川崎市川崎区宮本町１"}));
    EXPECT_FALSE(r.stopped);
    const ScanResult noOffices = scan(text("川崎", false, false));
    EXPECT_EQ(noOffices.rows.size(), 3);
    EXPECT_FALSE(noOffices.rows.join(u'\n').contains(u"[*]"));
}

TEST_F(Pass, FoldingFindsReadingsTypedInHiragana) {
    EXPECT_TRUE(scan(text("かわさき")).rows.isEmpty());
    const ScanResult folded = scan(text("かわさき", true));
    EXPECT_EQ(folded.rows.size(), 4);
    const ScanResult twoWords = scan(text("川崎　えきまえ"));
    EXPECT_EQ(twoWords.rows,
              QStringList{"[A] 210-0002 神奈川県川崎市川崎区駅前 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸｴｷﾏｴ)"});
}

TEST_F(Pass, PostalCodeSearchComparesThePostalCodeColumnInEveryFile) {
    ScanRequest r;
    r.zipKey = QStringLiteral("2100001");
    const ScanResult found = scan(r);
    EXPECT_EQ(found.rows,
              (QStringList{"[A] 210-0001 神奈川県川崎市川崎区本町 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸﾎﾝﾁﾖｳ)",
                           "[*] 210-0001 本町商会 北海道札幌市中央区本町１"}));
    r.zipKey = QStringLiteral("0000210"); // only part of a column: no row
    EXPECT_TRUE(scan(r).rows.isEmpty());
}

TEST_F(Pass, TenThousandRowsEndThePassWithTheLimitLine) {
    QStringList many;
    for (int i = 0; i < 10500; ++i)
        many << addressRecord("13101", QStringLiteral("10%1").arg(i, 5, 10, QChar(u'0')), "ﾄｳｷﾖｳﾄ",
                              "ﾁﾖﾀﾞｸ", "ﾁﾖｳ", "東京都", "千代田区", "町");
    write("13tokyo.CSV", many);
    const ScanResult r = scan(text("1"));
    ASSERT_EQ(r.rows.size(), 10001);
    EXPECT_EQ(r.rows.last(), ScanLimitLine);
    EXPECT_TRUE(r.limitReached);
    EXPECT_FALSE(r.rows.join(u'\n').contains(u"[*]")) << "later files are not read";
}

TEST_F(Pass, StopDuringTheFirstFileKeepsItsRowsSoFar) {
    QStringList many;
    for (int i = 0; i < 200; ++i)
        many << addressRecord("01101", QStringLiteral("06%1").arg(i, 5, 10, QChar(u'0')), "ﾎﾂｶｲﾄﾞｳ",
                              "ｻﾂﾎﾟﾛｼ", "ｶﾜｻｷ", "北海道", "札幌市", "川崎");
    write("01hokkai.CSV", many);
    struct StopAfter final : ScanObserver {
        void yieldNow(qsizetype rows) override { stop = rows >= 5; }
        bool stopRequested() override { return stop; }
        bool stop = false;
    } observer;
    clock.stepPerRead = 5; // a yield every few rows
    const ScanResult r = runScan(text("川崎"), data, cache, clock, observer);
    ASSERT_TRUE(r.stopped);
    ASSERT_GE(r.rows.size(), 6);
    EXPECT_LT(r.rows.size(), 20);
    EXPECT_EQ(r.rows.last(), ScanStoppedLine);
    EXPECT_FALSE(r.rows.join(u'\n').contains(u"神奈川県")) << "no rows of later files";
}

TEST_F(Pass, StatusLineOnlyForAStopNotForTheLimit) {
    // A stop just before the limit is a stop, not a reached limit.
    struct StopNow final : ScanObserver {
        bool stopRequested() override { return true; }
    } observer;
    clock.stepPerRead = 100;
    const ScanResult r = runScan(text("川崎"), data, cache, clock, observer);
    EXPECT_TRUE(r.stopped);
    EXPECT_FALSE(r.limitReached);
    EXPECT_FALSE(r.rows.contains(ScanLimitLine));
}

TEST_F(Pass, ReplacedFileIsReadAnewAndResultsDoNotDependOnEarlierSearches) {
    // The preparation stamps every file with the data's date, so a new file
    // can have the size and modification time of the one it replaces.
    auto stampDataDate = [&] {
        QFile f(dir.path() + QStringLiteral("/DATA/14kanaga.CSV"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime(QDate(2025, 9, 30), QTime(0, 0)),
                      QFileDevice::FileModificationTime);
    };
    stampDataDate();
    EXPECT_EQ(scan(text("駅前")).rows.size(), 1);
    EXPECT_EQ(scan(text("かわさき", true)).rows.size(), 4);
    write("14kanaga.CSV", {addressRecord("14131", "2100001", "ｶﾅｶﾞﾜｹﾝ", "ｶﾜｻｷｼｶﾜｻｷｸ", "ﾎﾝﾁﾖｳ",
                                         "神奈川県", "川崎市川崎区", "本町"),
                           addressRecord("14131", "2100002", "ｶﾅｶﾞﾜｹﾝ", "ｶﾜｻｷｼｶﾜｻｷｸ", "ｴｷﾏｴ",
                                         "神奈川県", "川崎市川崎区", "駅東")});
    stampDataDate();
    EXPECT_EQ(scan(text("駅東")).rows,
              QStringList{"[A] 210-0002 神奈川県川崎市川崎区駅東 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸｴｷﾏｴ)"});
}

TEST_F(Pass, ShortLinesAndMissingFilesNeverGiveRows) {
    EXPECT_TRUE(scan(text("短い")).rows.isEmpty());
    QFile::remove(dir.path() + QStringLiteral("/DATA/JIGYOSYO.CSV"));
    EXPECT_EQ(scan(text("川崎")).rows.size(), 3);
}

} // namespace
} // namespace yubin
