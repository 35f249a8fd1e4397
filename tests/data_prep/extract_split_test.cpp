#include "data_prep/archive_extract.h"
#include "data_prep/file_time.h"
#include "data_prep/nationwide_split.h"
#include "foundation/prefectures.h"
#include "foundation/text.h"
#include "prep_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin {
namespace {

using namespace Qt::StringLiterals;
using test::fileEntry;
using test::prefectureRecords;
using test::readAll;
using test::sjisLines;
using Kind = test::TestEntry::Kind;

// A temporary folder holding an archive and the folder it is extracted into.
class Extraction : public testing::Test {
protected:
    void SetUp() override { QDir().mkpath(target()); }
    QString target() const { return dir.path() + u"/TOFUKEN/"_s; }
    ExtractResult extract(bool zip, const std::vector<test::TestEntry>& entries,
                          qint64 limit = MaxArchiveEntryBytes) {
        test::writeFile(dir.path() + u"/a"_s,
                        zip ? test::makeZip(entries) : test::makeLzh(entries));
        return extractArchiveFlat(dir.path() + u"/a"_s, target(), limit);
    }
    // Every entry of the temporary folder, then those of the target.
    QStringList everything() const {
        const auto all = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
        return QDir(dir.path()).entryList(all, QDir::Name) +
               QDir(target()).entryList(all, QDir::Name);
    }
    QTemporaryDir dir;
};

TEST_F(Extraction, Cp932NameWithTrailByte5CIsOneNameNotAFolder) {
    // "表" is 0x95 0x5C in code page 932: its trail byte is a backslash.
    const QByteArray name = text::encodeCp932(u"表示データ.CSV"_s);
    ASSERT_EQ(name.at(1), '\\');
    const ExtractResult r = extract(false, {fileEntry(name, "data\r\n")});
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.placed, QStringList{u"表示データ.CSV"_s});
    EXPECT_EQ(readAll(target() + u"表示データ.CSV"_s), QByteArray("data\r\n"));
}

TEST_F(Extraction, FoldersAndNamesLeadingOutsideLandFlatInTheTarget) {
    const std::pair<bool, const char*> cases[] = {
        {true, "../evil.CSV"},    {true, "../../../../../../tmp/evil.CSV"},
        {true, "/tmp/evil.CSV"},  {true, "zipcode/lzh/evil.CSV"},
        {false, "..\\evil.CSV"},  {false, "../../tmp/evil.CSV"},
        {false, "/tmp/evil.CSV"}, {false, "C:\\TEMP\\evil.CSV"}};
    for (const auto& [zip, name] : cases) {
        SCOPED_TRACE(name);
        QDir(target()).removeRecursively();
        QDir().mkpath(target());
        const ExtractResult r =
            extract(zip, {fileEntry("zipcode/", {}, Kind::Directory), fileEntry(name, "x\r\n")});
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(r.placed, QStringList{u"evil.CSV"_s});
        EXPECT_EQ(r.skipped, 1);
        EXPECT_EQ(everything(), (QStringList{u"TOFUKEN"_s, u"a"_s, u"evil.CSV"_s}));
        EXPECT_FALSE(QFileInfo::exists(u"/tmp/evil.CSV"_s));
    }
}

TEST_F(Extraction, SymlinksAreNeitherCreatedNorFollowed) {
    const QString outside = dir.path() + u"/outside.CSV"_s;
    const ExtractResult r =
        extract(true, {fileEntry("KEN_ALL.CSV", QFile::encodeName(outside), Kind::Symlink),
                       fileEntry("KEN_ALL.CSV", "through the link\r\n")});
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.skipped, 1);
    EXPECT_FALSE(QFileInfo(target() + u"KEN_ALL.CSV"_s).isSymLink());
    EXPECT_EQ(readAll(target() + u"KEN_ALL.CSV"_s), QByteArray("through the link\r\n"));
    EXPECT_FALSE(QFileInfo::exists(outside));
}

TEST_F(Extraction, EntryOrArchiveAboveTheLimitIsRefusedAndNotWritten) {
    for (bool zip : {false, true}) {
        QDir(target()).removeRecursively();
        QDir().mkpath(target());
        ExtractResult r = extract(
            zip, {fileEntry("small.CSV", "ok"), fileEntry("KEN_ALL.CSV", QByteArray(4096, 'a'))},
            4000);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, u"書庫の中のファイルが大きすぎます。 (KEN_ALL.CSV)"_s);
        EXPECT_EQ(QDir(target()).entryList(QDir::Files), QStringList{u"small.CSV"_s});
        // Many entries each below the limit would fill the disk as surely.
        QFile::remove(target() + u"small.CSV"_s);
        r = extract(
            zip,
            {fileEntry("a.CSV", QByteArray(3000, 'a')), fileEntry("b.CSV", QByteArray(3000, 'b'))},
            4000);
        EXPECT_EQ(r.error, u"書庫の中のファイルが大きすぎます。 (b.CSV)"_s);
        EXPECT_EQ(QDir(target()).entryList(QDir::Files), QStringList{u"a.CSV"_s});
    }
}

TEST_F(Extraction, SetFileWriteTimeStampsTheModificationTimeOfAValidDateOnly) {
    const QString path = target() + u"13tokyo.CSV"_s;
    QFile file(path);
    EXPECT_EQ(SetFileWriteTime(file, {"2005", "09", "30", "0", "0", "0"}), 99); // not open
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("data");
    const QDateTime before = QFileInfo(path).lastModified();
    EXPECT_EQ(SetFileWriteTime(file, {"2005", "02", "30", "00", "00", "00"}), 0);
    EXPECT_EQ(SetFileWriteTime(file, {"2005", "09", "30", "24", "00", "00"}), 0);
    EXPECT_EQ(QFileInfo(path).lastModified(), before);
    EXPECT_EQ(SetFileWriteTime(file, {"2005", "09", "30", "10", "20", "30"}), 0);
    file.close();
    EXPECT_EQ(QFileInfo(path).lastModified(), QDateTime(QDate(2005, 9, 30), QTime(10, 20, 30)));
    EXPECT_EQ(readAll(path), QByteArray("data"));
}

// ---- the nationwide split ------------------------------------------------

const QStringList Names = makePrefectureNames();

TEST(Routing, FirstPrefectureInCodeOrderWhoseFirstOccurrenceIsBeyondTheTenthCharacter) {
    const std::pair<const char*, int> lines[] = {
        {R"(13101,"100  ","1000001","ﾄｳｷｮｳﾄ","ﾁﾖﾀﾞｸ","ﾁﾖﾀﾞ","東京都","千代田区","千代田",0)", 13},
        // A town named after another prefecture: the first in code order wins.
        {R"(13101,"100  ","1000001","ﾄｳｷｮｳﾄ","ｼ","ﾁ","東京都","市","北海道開拓村",0)", 1},
        {R"(01101,"060  ","0600000","ﾎｯｶｲﾄﾞｳ","ｼ","ﾁ","北海道","市","東京都通り",0)", 1},
        // 京都府 inside 東京都府中 does not occur: only whole names count.
        {R"(13206,"183  ","1830000","ﾄｳｷｮｳﾄ","ﾌﾁｭｳｼ","ﾁ","東京都","府中市","宮町",0)", 13},
        // Exactly at the eleventh character counts; at the tenth it does not.
        {"0123456789北海道", 1},
        {"012345678北海道", 0},
        // Only the first occurrence decides, as a plain search would.
        {"01北海道34567890北海道", 0},
        {"01北海道34567890北海道沖縄県", 47}};
    const PrefectureRouter router(Names);
    for (const auto& [line, expected] : lines)
        EXPECT_EQ(router.route(QString::fromUtf8(line)), expected) << line;
}

TEST(TrimBytes, RemovesHalfAndFullWidthBlanksFromBothEndsOnly) {
    const std::pair<QByteArray, QByteArray> lines[] = {
        {"\x81\x40 abc\x81\x40 ", "abc"},
        {"a \x81\x40 b", "a \x81\x40 b"},
        {"x\x88\x81\x40", "x\x88\x81\x40"}, // 0x88 0x81 is one character; 0x40 is "@"
        {"   ", ""}};
    for (const auto& [line, kept] : lines)
        EXPECT_EQ(trimBlankBytes(line, text::decodeCp932(line)).toByteArray(), kept)
            << line.toHex(' ').constData();
}

// The clock moves `msPerRead` at every reading.
SplitResult split(const QByteArray& bytes, test::RecordingHost& host, qint64 msPerRead = 0) {
    test::ManualClock clock;
    clock.stepPerRead = msPerRead;
    return splitNationwide(bytes, Names, host, clock);
}

TEST(Split, LinesGoToTheirPrefectureInFileOrderAsTheirOwnBytesTrimmedWithCrLf) {
    // 0xEE 0xE0 (NEC-selected IBM extension) and 0xFB 0xFC (IBM extension)
    // both decode to U+9AD9; re-encoding would turn one into the other.
    ASSERT_EQ(text::decodeCp932("\xEE\xE0"), text::decodeCp932("\xFB\xFC"));
    const QByteArray twice = text::encodeCp932(prefectureRecords(13, 1)[0])
                                 .replace(text::encodeCp932(u"本町"_s), "\xEE\xE0\xFB\xFC");
    QStringList records = prefectureRecords(1, 3);
    records << prefectureRecords(47, 2) << prefectureRecords(1, 2, 3);
    // An end-of-file mark and a line of ten characters are no records; a
    // record without a prefecture is skipped and counted.
    records << u"\u001A"_s << u"0123456789"_s << u"99999,\"no prefecture\""_s;
    for (const QByteArray lineEnd : {"  \r\n", "\n", "\r"}) {
        test::RecordingHost host;
        const SplitResult r = split(sjisLines(records, lineEnd) + twice + lineEnd, host);
        EXPECT_FALSE(r.aborted);
        EXPECT_EQ(r.bytes[1], sjisLines(prefectureRecords(1, 5)));
        EXPECT_EQ(r.bytes[47], sjisLines(prefectureRecords(47, 2)));
        EXPECT_EQ(r.bytes[13], twice + "\r\n");
        EXPECT_EQ(r.lines[1] + r.lines[13] + r.lines[47], 8);
        EXPECT_EQ(r.linesRead, 11);
        EXPECT_EQ(r.unrouted, 1);
        // The caption changes only when the prefecture does.
        EXPECT_EQ(host.captions, (QStringList{Names[1], Names[47], Names[1], Names[13]}));
        EXPECT_EQ(host.lineCounts, (std::vector<qint64>{1, 4, 6, 11}));
    }
}

TEST(Split, APrefectureMayHoldAnyNumberOfLines) {
    const QStringList records = prefectureRecords(23, 12000); // beyond a 9,002-line table
    test::RecordingHost host;
    const SplitResult r = split(sjisLines(records), host);
    EXPECT_EQ(r.lines[23], 12000);
    EXPECT_EQ(r.bytes[23], sjisLines(records));
}

TEST(Split, YieldsAtLeastEveryFifteenMillisecondsAndStopsWithinTheSlice) {
    // Each reading of this clock moves it 1 ms, one reading a line: 150
    // lines take 150 ms, ten slices of 15 ms, and a yield follows the last
    // line.
    test::RecordingHost all, stopping, last;
    EXPECT_FALSE(split(sjisLines(prefectureRecords(5, 150)), all, 1).aborted);
    EXPECT_GE(all.yields, 11);

    stopping.stopAtYield = 3;
    const SplitResult stopped = split(sjisLines(prefectureRecords(5, 1000)), stopping, 1);
    EXPECT_TRUE(stopped.aborted);
    EXPECT_EQ(stopping.yields, 3);
    EXPECT_LE(stopped.linesRead, 45);

    // A clock that never moves leaves only the yield after the last line,
    // where a stop still counts.
    last.stopAtYield = 1;
    EXPECT_TRUE(split(sjisLines(prefectureRecords(5, 20)), last).aborted);
    EXPECT_EQ(last.yields, 1);
}

} // namespace
} // namespace yubin
