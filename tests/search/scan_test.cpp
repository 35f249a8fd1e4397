#include "search/match_rules.h"
#include "search/result_rows.h"
#include "search/scan.h"

#include "support/data_files.h"
#include "support/fakes.h"

#include <QFile>
#include <QTemporaryDir>

#include <QDir>
#include <QStandardPaths>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace yubin {
namespace {

using test::addressRecord;
using test::officeRecord;

// A data folder of its own and one pass over it at a time.
class Scan : public testing::Test {
protected:
    void write(const char* name, const QStringList& lines) {
        test::writeFile(data.path() + QLatin1String(name), test::sjisLines(lines));
    }
    ScanResult scan(const char* t, bool fold = false, bool offices = true) {
        ScanRequest r;
        r.text = QString::fromUtf8(t);
        r.fold = fold;
        r.includeOffices = offices;
        return scan(r);
    }
    ScanResult scan(const ScanRequest& r) { return runScan(r, data, cache, clock, quiet); }

    QTemporaryDir dir;
    DataFolder data{dir.path()};
    ScanCache cache;
    test::ManualClock clock;
    ScanObserver quiet;
};

// ---- the match table, through the pass ----------------------------------

TEST_F(Scan, MatchTableDecidesThroughThePass) {
    write("14kanaga.CSV", {addressRecord("14131", "2100001", "ｶﾅｶﾞﾜｹﾝ", "ｶﾜｻｷｼｶﾜｻｷｸ", "ﾎﾝﾁﾖｳ",
                                         "神奈川県", "川崎市川崎区", "本町")});
    const QStringList row{"[A] 210-0001 神奈川県川崎市川崎区本町 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸﾎﾝﾁﾖｳ)"};
    const std::tuple<const char*, bool, bool> cases[] = {
        {"川崎", false, true},      // one word found as stored
        {"かながわ", false, false}, // a hiragana word needs folding
        {"かながわ", true, true},
        {"カワサキ", true, true},       // katakana, folded
        {"よこはま", true, false},      // in no form
        {"川崎 かわさき", false, true}, // the second word always in the derived forms
        {"川崎 ｶﾜｻｷ", false, false},    // and never in the line as stored
        {"かわさき　ﾎﾝﾁﾖｳ", true, false},
        {"川崎 よこはま", true, false}, // the second word missing
        {"かながわ ほんちよう", false, false},
        {"かながわ ほんちよう", true, true},
        {"川崎区\",\"本町", false, true}, // across two columns
        {"２１００００１", true, true}};  // full-width digits, folded
    for (const auto& [text, fold, matches] : cases)
        EXPECT_EQ(scan(text, fold).rows, matches ? row : QStringList()) << text << ' ' << fold;
}

TEST_F(Scan, WordBytesInsideADoubleByteCharacterAreNoHit) {
    // 表 is 95 5C and 漢 8A BF: the bytes of a backslash and of ｿ, the fold key of ソ.
    write("13tokyo.CSV", {addressRecord("13101", "1000001", "ﾄｳｷﾖｳﾄ", "ﾁﾖﾀﾞｸ", "ﾋﾖｳ", "東京都",
                                        "千代田区", "表漢")});
    const QStringList row{"[A] 100-0001 東京都千代田区表漢 (ﾄｳｷﾖｳﾄﾁﾖﾀﾞｸﾋﾖｳ)"};
    const std::tuple<const char*, bool, bool> cases[] = {
        {"\\", false, false},
        {"ソ", true, false},
        {"表漢", false, true},
        {"ひよう", true, true},
        {"\r", false, false}}; // in no line, though the bytes hold it
    for (const auto& [text, fold, matches] : cases)
        EXPECT_EQ(scan(text, fold).rows, matches ? row : QStringList()) << text << ' ' << fold;
}

// ---- rows ---------------------------------------------------------------

// The ordinary and office formats: Pass.RowsFollowFileOrder...
TEST(ResultRows, CatchAllAndWholeAreaTownsAreBracketedWithoutReading) {
    Access_CSV csv;
    const std::pair<QString, const char*> cases[] = {
        {addressRecord("13101", "1000000", "ﾄｳｷﾖｳﾄ", "ﾁﾖﾀﾞｸ", "ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ", "東京都",
                       "千代田区", "以下に掲載がない場合"),
         "[A] 100-0000 東京都千代田区(以下に掲載がない場合)"},
        {addressRecord("13381", "1001101", "ﾄｳｷﾖｳﾄ", "ﾐﾔｹﾑﾗ", "ﾐﾔｹﾑﾗｲﾁｴﾝ", "東京都", "三宅村",
                       "三宅村一円"),
         "[A] 100-1101 東京都三宅村(三宅村一円)"}};
    for (const auto& [line, row] : cases)
        EXPECT_EQ(resultRow(line, false, csv), QString::fromUtf8(row));
}

// ---- the pass -----------------------------------------------------------

class Pass : public Scan {
protected:
    void SetUp() override {
        write("01hokkai.CSV", {addressRecord("01101", "0640941", "ﾎﾂｶｲﾄﾞｳ", "ｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸ",
                                             "ｶﾜｻｷﾁﾖｳ", "北海道", "札幌市中央区", "川崎町"),
                               QStringLiteral("川崎,短い")});
        write("14kanaga.CSV", kanagawa("駅前"));
        write("JIGYOSYO.CSV", {officeRecord("14131", "ｶﾜｻｷｼﾔｸｼﾖ", "川崎市役所", "神奈川県",
                                            "川崎市川崎区", "宮本町", "１", "2108577"),
                               officeRecord("01101", "ﾎﾝﾁﾖｳｼﾖｳｶｲ", "本町商会", "北海道",
                                            "札幌市中央区", "本町", "１", "2100001")});
    }
    static QStringList kanagawa(const char* secondTown) {
        return {addressRecord("14131", "2100001", "ｶﾅｶﾞﾜｹﾝ", "ｶﾜｻｷｼｶﾜｻｷｸ", "ﾎﾝﾁﾖｳ", "神奈川県",
                              "川崎市川崎区", "本町"),
                addressRecord("14131", "2100002", "ｶﾅｶﾞﾜｹﾝ", "ｶﾜｻｷｼｶﾜｻｷｸ", "ｴｷﾏｴ", "神奈川県",
                              "川崎市川崎区", secondTown)};
    }
};

TEST_F(Pass, RowsFollowFileOrderWithOfficesLastAndShortLinesNeverMatch) {
    const ScanResult r = scan("川崎");
    EXPECT_EQ(r.rows,
              (QStringList{"[A] 064-0941 北海道札幌市中央区川崎町 (ﾎﾂｶｲﾄﾞｳｻﾂﾎﾟﾛｼﾁﾕｳｵｳｸｶﾜｻｷﾁﾖｳ)",
                           "[A] 210-0001 神奈川県川崎市川崎区本町 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸﾎﾝﾁﾖｳ)",
                           "[A] 210-0002 神奈川県川崎市川崎区駅前 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸｴｷﾏｴ)",
                           "[*] 210-8577 川崎市役所 神奈川県川崎市川崎区宮本町１"}));
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(scan("川崎", false, false).rows, r.rows.mid(0, 3));
    QFile::remove(data.businessOfficeFilePath());
    EXPECT_EQ(scan("川崎").rows, r.rows.mid(0, 3));
}

// A line is a row only from ten characters on, counted after its blanks are
// trimmed: nine never are, ten are, with the word in either.
TEST_F(Scan, LinesShorterThanTenCharactersAreNeverRows) {
    const std::tuple<const char*, qsizetype> cases[] = {
        {"川崎,123456", 0},          // nine
        {"  川崎,123456\u3000 ", 0}, // nine once trimmed
        {"川崎,1234567", 1},         // ten
        {"\u3000川崎,1234567 ", 1},
    };
    for (const auto& [line, rows] : cases) {
        write("14kanaga.CSV", {QString::fromUtf8(line)});
        ScanCache onePass(ScanCache::Keep::Nothing); // each case's file read anew
        EXPECT_EQ(runScan({"川崎", {}, false, false}, data, onePass, clock, quiet).rows.size(),
                  rows)
            << line;
    }
}

TEST_F(Pass, FileInUtf8AndAOnePassCacheGiveTheSameRows) {
    const QStringList rows = scan("かわさき", true).rows;
    ASSERT_EQ(rows.size(), 4);
    test::writeFile(data.path() + QStringLiteral("14kanaga.CSV"),
                    kanagawa("駅前").join(QStringLiteral("\r\n")).toUtf8());
    EXPECT_EQ(scan("かわさき", true).rows, rows);
    ScanCache onePass(ScanCache::Keep::Nothing);
    EXPECT_EQ(runScan({"かわさき", {}, true, true}, data, onePass, clock, quiet).rows, rows);
}

// A one-pass reader takes each file in blocks of whole lines: whatever the
// block, down to one byte, and however the lines end, the rows are those of
// the file read whole. A file that begins in ASCII is told from UTF-8 by the
// whole of it.
TEST_F(Pass, OnePassReaderFindsEveryLineWhateverItsBlocks) {
    const QStringList exact{"[A] 210-0001 神奈川県川崎市川崎区本町 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸﾎﾝﾁﾖｳ)",
                            "[A] 210-0002 神奈川県川崎市川崎区駅前 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸｴｷﾏｴ)"};
    const QByteArray lines[] = {test::sjisLines({kanagawa("駅前")[0]}, "\r"),
                                test::sjisLines({kanagawa("駅前")[1]}, "")};
    const QByteArray files[] = {lines[0] + "\n" + lines[1], // CR LF, then no line end at all
                                "\n\r" + lines[0] + "\r" + lines[1], // blank lines, a bare CR
                                "13101,ascii only\n" + lines[0] + lines[1],
                                kanagawa("駅前").join(u'\n').toUtf8()};
    for (const QByteArray& file : files) {
        test::writeFile(data.path() + QStringLiteral("14kanaga.CSV"), file);
        for (const qsizetype block : {1, 5, 64, 4096}) {
            ScanCache onePass(ScanCache::Keep::Nothing, block);
            const QStringList rows =
                runScan({"川崎", {}, false, false}, data, onePass, clock, quiet).rows;
            EXPECT_EQ(rows.mid(1), exact) << block << ' ' << file.left(20).toHex().data();
            EXPECT_EQ(runScan({"えきまえ", {}, true, false}, data, onePass, clock, quiet).rows,
                      exact.mid(1))
                << block;
        }
    }
}

TEST_F(Pass, PostalCodeSearchComparesThePostalCodeColumnInEveryFile) {
    ScanRequest r;
    r.zipKey = QStringLiteral("2100001");
    EXPECT_EQ(scan(r).rows, (QStringList{"[A] 210-0001 神奈川県川崎市川崎区本町 "
                                         "(ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸﾎﾝﾁﾖｳ)",
                                         "[*] 210-0001 本町商会 北海道札幌市中央区本町１"}));
    r.zipKey = QStringLiteral("0000210"); // only part of a column: no row
    EXPECT_TRUE(scan(r).rows.isEmpty());
}

TEST_F(Pass, TenThousandRowsEndThePassWithTheLimitLine) {
    write("13tokyo.CSV", test::prefectureRecords(13, 10500));
    const ScanResult r = scan("本町");
    ASSERT_EQ(r.rows.size(), 10001);
    EXPECT_EQ(r.rows.last(), "----------------  件数10000件以上のため中止  ----------------");
    EXPECT_TRUE(r.limitReached);
    EXPECT_FALSE(r.stopped);
    EXPECT_FALSE(r.rows.join(u'\n').contains(u"[*]")) << "later files are not read";
}

TEST_F(Pass, StopDuringTheFirstFileKeepsItsRowsSoFarAndIsNoReachedLimit) {
    write("01hokkai.CSV", test::prefectureRecords(1, 200));
    struct StopAfter final : ScanObserver {
        void yieldNow(qsizetype rows) override { stop = rows >= 5; }
        bool stopRequested() override { return stop; }
        bool stop = false;
    } observer;
    clock.stepPerRead = 5; // a yield every few rows
    const ScanResult r =
        runScan(ScanRequest{"本町", {}, false, true}, data, cache, clock, observer);
    ASSERT_TRUE(r.stopped);
    EXPECT_FALSE(r.limitReached);
    ASSERT_GE(r.rows.size(), 6);
    EXPECT_LT(r.rows.size(), 20);
    EXPECT_EQ(r.rows.last(), "----------------  検索中止  ----------------");
    EXPECT_FALSE(r.rows.join(u'\n').contains(u"神奈川県")) << "no rows of later files";
}

TEST_F(Pass, ReplacedFileIsReadAnewAndResultsDoNotDependOnEarlierSearches) {
    // The preparation stamps every file with the data's date, so a new file
    // can have the size and modification time of the one it replaces.
    auto stampDataDate = [&] {
        QFile f(data.path() + QStringLiteral("14kanaga.CSV"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime(QDate(2025, 9, 30), QTime(0, 0)),
                      QFileDevice::FileModificationTime);
    };
    stampDataDate();
    EXPECT_EQ(scan("駅前").rows.size(), 1);
    EXPECT_EQ(scan("かわさき", true).rows.size(), 4);
    write("14kanaga.CSV", kanagawa("駅東"));
    stampDataDate();
    EXPECT_EQ(scan("駅東").rows,
              QStringList{"[A] 210-0002 神奈川県川崎市川崎区駅東 (ｶﾅｶﾞﾜｹﾝｶﾜｻｷｼｶﾜｻｷｸｴｷﾏｴ)"});
}

// A folding search keeps each settled file's fold key for the next run (a
// fresh cache), and a key made for another version of the file is never
// used: a key blanked in the kept file hides every row until the data file
// changes.
TEST_F(Pass, KeptFoldKeyServesTheNextRunOnlyForTheSameFile) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2100)); // settled
    const auto fresh = [&](const char* word) {
        ScanCache cache(ScanCache::Keep::Nothing);
        return runScan({word, {}, true, true}, data, cache, clock, quiet).rows.size();
    };
    ASSERT_EQ(fresh("かわさき"), 4);
    const QDir kept(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                    QStringLiteral("/Zunelka/yubin/FOLD"));
    const QStringList keys = kept.entryList(QDir::Files);
    ASSERT_EQ(keys.size(), 3);
    for (const QString& key : keys) {
        QFile f(kept.filePath(key));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        // After the header: a name, five stamp fields and a fingerprint.
        constexpr qint64 Header = 72;
        ASSERT_GT(f.size(), Header);
        f.seek(Header);
        f.write(QByteArray(f.size() - Header, '\n'));
    }
    EXPECT_EQ(fresh("かわさき"), 0);
    for (const char* name : {"01hokkai.CSV", "14kanaga.CSV", "JIGYOSYO.CSV"})
        QFile::setPermissions(data.path() + QLatin1String(name),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    EXPECT_EQ(fresh("かわさき"), 4);
}

} // namespace
} // namespace yubin
