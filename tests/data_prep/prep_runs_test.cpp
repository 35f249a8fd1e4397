#include "archive_builders.h"
#include "data_prep/prep_runs.h"
#include "foundation/data_folder.h"
#include "foundation/prefectures.h"
#include "prep_support.h"
#include "support/data_files.h"
#include "support/fakes.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace yubin {
namespace {

using Status = RunOutcome::Status;
using test::fileEntry;
using test::makeLzh;
using test::makeZip;

const QStringList Names = makePrefectureNames();

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray officeBytes() {
    return test::sjisLines({test::officeRecord(
        QStringLiteral("13101"), QStringLiteral("ﾆﾂﾎﾟﾝﾕｳﾋﾞﾝ"), QStringLiteral("日本郵便　株式会社"),
        QStringLiteral("東京都"), QStringLiteral("千代田区"), QStringLiteral("大手町"),
        QStringLiteral("２丁目３－１"), QStringLiteral("1008798"))});
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

class Runs : public testing::Test {
protected:
    RunOutcome prefectures() { return runPrefectures(dirs.folders(), Names, host, messages); }
    RunOutcome nationwide() { return runNationwide(dirs.folders(), Names, host, messages, clock); }
    // The question a run asks, and no other message.
    void expectOnlyQuestion(const QString& title, const QString& text) const {
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
        EXPECT_EQ(messages.shown[0].title, title);
        EXPECT_EQ(messages.shown[0].text, text);
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::OkCancel);
    }
    void expectWorkFoldersEmpty() const {
        EXPECT_TRUE(filesIn(dirs.work().tofuken).isEmpty())
            << filesIn(dirs.work().tofuken).join(u' ').toStdString();
        EXPECT_TRUE(filesIn(dirs.work().tofukenLzh).isEmpty())
            << filesIn(dirs.work().tofukenLzh).join(u' ').toStdString();
    }

    test::PrepDirs dirs;
    test::RecordingHost host;
    test::RecordingMessageBoxes messages;
    test::ManualClock clock;
};

// ---- messages ----------------------------------------------------------

struct CountCase {
    int placed;
    int offices;
    const char* text;
};
void PrintTo(const CountCase& c, std::ostream* os) {
    *os << c.placed << '+' << c.offices;
}
class CompletionCount : public testing::TestWithParam<CountCase> {};

TEST_P(CompletionCount, NamesWhatWasPlaced) {
    EXPECT_EQ(completionCountText(GetParam().placed, GetParam().offices),
              QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Counts, CompletionCount,
                         testing::Values(CountCase{2, 0, "2 件"}, CountCase{0, 1, "1 件"},
                                         CountCase{47, 1, "47＋1 件"}, CountCase{1, 1, "1＋1 件"}));

RunOutcome outcomeOf(Status status, int placed = 0, int offices = 0, const QString& error = {}) {
    RunOutcome outcome;
    outcome.status = status;
    outcome.placed = placed;
    outcome.offices = offices;
    outcome.error = error;
    return outcome;
}

TEST(FinalMessage, CompletionErrorAndNothingPlacedReadAsTheWindowShowsThem) {
    const RunOutcome done = outcomeOf(Status::Completed, 2, 1);
    const FinalMessage completed = finalMessage(RunKind::Prefectures, done);
    EXPECT_TRUE(completed.shown);
    EXPECT_FALSE(completed.failure);
    EXPECT_EQ(completed.title, QStringLiteral("LZHﾌｧｲﾙ解凍 (都道府県＋事業所)  "));
    EXPECT_EQ(completed.text, QStringLiteral("郵便番号ﾃﾞｰﾀ解凍完了数 ： 2＋1 件    \n\n"
                                             "郵便番号ﾃﾞｰﾀの解凍が完了しました。     "));
    EXPECT_EQ(finalMessage(RunKind::Nationwide, done).title,
              QStringLiteral("LZHﾌｧｲﾙ解凍 (全国一括＋事業所)  "));

    const FinalMessage nothing = finalMessage(RunKind::Nationwide, outcomeOf(Status::Completed));
    EXPECT_EQ(nothing.title, QStringLiteral("LZHﾌｧｲﾙ解凍"));
    EXPECT_EQ(nothing.text, QStringLiteral("解凍された郵便番号ﾃﾞｰﾀはありません。    "));

    const FinalMessage error = finalMessage(
        RunKind::Nationwide, outcomeOf(Status::Failed, 0, 0, QStringLiteral("Truncated")));
    EXPECT_TRUE(error.failure);
    EXPECT_EQ(error.title, QStringLiteral("LZHﾌｧｲﾙ解凍"));
    EXPECT_EQ(error.text, QStringLiteral("ｴﾗｰ ： Truncated"));

    for (Status quiet : {Status::NoFolder, Status::Cancelled, Status::Aborted, Status::CsvMissing})
        EXPECT_FALSE(finalMessage(RunKind::Nationwide, outcomeOf(quiet)).shown);
}

struct FolderCase {
    const char* caption;
    bool usable;
};
void PrintTo(const FolderCase& c, std::ostream* os) {
    *os << '"' << c.caption << '"';
}
class DownloadFolderCaption : public testing::TestWithParam<FolderCase> {};

TEST_P(DownloadFolderCaption, NeedsMoreThanTwoCharactersOnceTrimmed) {
    EXPECT_EQ(usableDownloadFolder(QString::fromUtf8(GetParam().caption)), GetParam().usable);
}

INSTANTIATE_TEST_SUITE_P(Captions, DownloadFolderCaption,
                         testing::Values(FolderCase{"", false}, FolderCase{"C:", false},
                                         FolderCase{"  C:  ", false}, FolderCase{"　/　", false},
                                         FolderCase{"C:\\", true}, FolderCase{"/tmp/", true}));

// ---- finding archives --------------------------------------------------

struct FindCase {
    std::vector<const char*> files;
    const char* code;
    const char* found;
};
void PrintTo(const FindCase& c, std::ostream* os) {
    for (const char* f : c.files)
        *os << f << ' ';
    *os << "code " << c.code;
}
class FindArchive : public testing::TestWithParam<FindCase> {};

TEST_P(FindArchive, TakesLzhFirstThenZipByTheFirstTwoCharacters) {
    test::PrepDirs dirs;
    for (const char* name : GetParam().files)
        dirs.download(QString::fromUtf8(name), "x");
    EXPECT_EQ(FindArchiveByCode(dirs.download(), QString::fromUtf8(GetParam().code)),
              QString::fromUtf8(GetParam().found));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, FindArchive,
    testing::Values(FindCase{{"13tokyo.lzh"}, "13", "13tokyo.lzh"},
                    FindCase{{"13TOKYO.LZH"}, "13", "13TOKYO.LZH"},
                    FindCase{{"13tokyo.zip"}, "13", "13tokyo.zip"},
                    FindCase{{"13tokyo.ZIP", "27osaka.lzh"}, "13", "13tokyo.ZIP"},
                    FindCase{{"13tokyo.zip", "13tokyo.lzh"}, "13", "13tokyo.lzh"},
                    FindCase{{"1hokkai.lzh"}, "01", ""}, FindCase{{"x13tokyo.lzh"}, "13", ""},
                    FindCase{{"13tokyo.csv", "13tokyo.lzh.txt"}, "13", ""},
                    FindCase{{}, "13", ""}));

TEST(FindNamedArchive, MatchesInAnyCaseAndFallsBackToZip) {
    test::PrepDirs dirs;
    EXPECT_EQ(findNamedArchive(dirs.download(), QStringLiteral("ken_all")), QString());
    dirs.download(QStringLiteral("KEN_ALL.ZIP"), "x");
    EXPECT_EQ(findNamedArchive(dirs.download(), QStringLiteral("ken_all")),
              dirs.download() + QStringLiteral("KEN_ALL.ZIP"));
    dirs.download(QStringLiteral("Ken_All.Lzh"), "x");
    EXPECT_EQ(findNamedArchive(dirs.download(), QStringLiteral("ken_all")),
              dirs.download() + QStringLiteral("Ken_All.Lzh"));
}

// ---- the per-prefecture run --------------------------------------------

TEST_F(Runs, PrefectureArchivesArePlacedWithTheirTimeAndCounted) {
    const QByteArray tokyo = test::nationwideBytes(test::prefectureRecords(13, 5));
    const QByteArray osaka = test::nationwideBytes(test::prefectureRecords(27, 3));
    auto tokyoEntry = fileEntry("13tokyo.CSV", tokyo);
    tokyoEntry.modified = QDateTime(QDate(2005, 9, 30), QTime(12, 0));
    dirs.download(QStringLiteral("13tokyo.lzh"), makeLzh({tokyoEntry}));
    dirs.download(QStringLiteral("27osaka.zip"), makeZip({fileEntry("27osaka.CSV", osaka)}));

    const RunOutcome r = prefectures();
    expectOnlyQuestion(QStringLiteral("LZHﾌｧｲﾙ解凍 (都道府県＋事業所)  "),
                       QStringLiteral("郵便番号(都道府県別)LZHﾌｧｲﾙを解凍しますか？     "));
    EXPECT_EQ(r.status, Status::Completed);
    EXPECT_EQ(r.placed, 2);
    EXPECT_EQ(r.offices, 0);
    EXPECT_EQ(finalMessage(RunKind::Prefectures, r).text,
              QStringLiteral("郵便番号ﾃﾞｰﾀ解凍完了数 ： 2 件    \n\n"
                             "郵便番号ﾃﾞｰﾀの解凍が完了しました。     "));
    EXPECT_EQ(dirs.dataNames(),
              (QStringList{QStringLiteral("13tokyo.CSV"), QStringLiteral("27osaka.CSV")}));
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("13tokyo.CSV")), tokyo);
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("27osaka.CSV")), osaka);
    EXPECT_EQ(dataDateText(QFileInfo(dirs.data() + QStringLiteral("13tokyo.CSV")).lastModified()),
              QStringLiteral("ﾃﾞｰﾀ日付：2005/09/30"));
    EXPECT_EQ(host.startedKinds, std::vector<RunKind>{RunKind::Prefectures});
    EXPECT_EQ(host.captions,
              (QStringList{QString(), QStringLiteral("東京都"), QStringLiteral("大阪府")}));
    EXPECT_EQ(host.pauses, (std::vector<double>{0.09, 0.09}));
    expectWorkFoldersEmpty();
}

TEST_F(Runs, ArchiveMadeByAnIndependentArchiverIsPlacedByteForByte) {
    dirs.download(QStringLiteral("13tokyo.lzh"),
                  readAll(test::fixturePath(QStringLiteral("lh5/13tokyo.lzh"))));
    const RunOutcome r = prefectures();
    ASSERT_EQ(r.status, Status::Completed) << r.error.toStdString();
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("13tokyo.CSV")),
              readAll(test::fixturePath(QStringLiteral("13tokyo.CSV"))));
    EXPECT_EQ(dataDateText(QFileInfo(dirs.data() + QStringLiteral("13tokyo.CSV")).lastModified()),
              QStringLiteral("ﾃﾞｰﾀ日付：2005/09/30"));
}

TEST_F(Runs, OnlyTheBusinessOfficeArchiveCountsOne) {
    dirs.download(QStringLiteral("jigyosyo.lzh"),
                  makeLzh({fileEntry("JIGYOSYO.CSV", officeBytes())}));
    const RunOutcome r = prefectures();
    EXPECT_EQ(r.status, Status::Completed);
    EXPECT_EQ(r.placed, 0);
    EXPECT_EQ(r.offices, 1);
    EXPECT_EQ(completionCountText(r.placed, r.offices), QStringLiteral("1 件"));
    EXPECT_EQ(dirs.dataNames(), QStringList{QStringLiteral("jigyosyo.CSV")});
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("jigyosyo.CSV")), officeBytes());
    EXPECT_EQ(host.captions, (QStringList{QString(), QStringLiteral("解凍中 終了")}));
    EXPECT_EQ(host.pauses, std::vector<double>{0.08});
    expectWorkFoldersEmpty();
}

TEST_F(Runs, BothKindsCountPrefecturesPlusOne) {
    dirs.download(
        QStringLiteral("01hokkai.zip"),
        makeZip({fileEntry("01hokkai.CSV", test::nationwideBytes(test::prefectureRecords(1, 2)))}));
    dirs.download(QStringLiteral("JIGYOSYO.ZIP"),
                  makeZip({fileEntry("jigyosyo.csv", officeBytes())}));
    const RunOutcome r = prefectures();
    EXPECT_EQ(r.status, Status::Completed);
    EXPECT_EQ(completionCountText(r.placed, r.offices), QStringLiteral("1＋1 件"));
    EXPECT_EQ(dirs.dataNames(),
              (QStringList{QStringLiteral("01hokkai.CSV"), QStringLiteral("jigyosyo.CSV")}));
}

TEST_F(Runs, UpperCaseArchiveNameFindsItsCsvInAnyCaseAndReplacesTheOldFile) {
    dirs.dataFile(QStringLiteral("13tokyo.CSV"), "old tokyo\r\n");
    const QByteArray tokyo = test::nationwideBytes(test::prefectureRecords(13, 4));
    dirs.download(QStringLiteral("13TOKYO.LZH"), makeLzh({fileEntry("13tokyo.csv", tokyo)}));
    const RunOutcome r = prefectures();
    ASSERT_EQ(r.status, Status::Completed) << r.error.toStdString();
    EXPECT_EQ(r.placed, 1);
    // One file for Tokyo, not a second one beside the old.
    EXPECT_EQ(dirs.dataNames(), QStringList{QStringLiteral("13tokyo.CSV")});
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("13tokyo.CSV")), tokyo);
}

TEST_F(Runs, TwoArchivesForOneCodeUseOnlyTheFirstListed) {
    dirs.download(QStringLiteral("13tokyo.lzh"), makeLzh({fileEntry("13tokyo.CSV", "first\r\n")}));
    dirs.download(QStringLiteral("13tokyo2.lzh"),
                  makeLzh({fileEntry("13tokyo2.CSV", "second\r\n")}));
    // Whichever of the two the file system lists first.
    QDirIterator listing(dirs.download(), QDir::Files);
    listing.next();
    const QString listedFirst = listing.fileName();
    const RunOutcome r = prefectures();
    EXPECT_EQ(r.placed, 1);
    EXPECT_EQ(dirs.dataNames(), QStringList{listedFirst.chopped(3) + QStringLiteral("CSV")});
}

TEST_F(Runs, LzhIsPreferredToZipOfTheSameCode) {
    dirs.download(QStringLiteral("13tokyo.zip"),
                  makeZip({fileEntry("13tokyo.CSV", "from zip\r\n")}));
    dirs.download(QStringLiteral("13tokyo.lzh"),
                  makeLzh({fileEntry("13tokyo.CSV", "from lzh\r\n")}));
    EXPECT_EQ(prefectures().placed, 1);
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("13tokyo.CSV")), QByteArray("from lzh\r\n"));
}

TEST_F(Runs, ArchiveWithoutItsCsvFailsAndKeepsWhatWasPlacedBefore) {
    dirs.download(QStringLiteral("01hokkai.zip"),
                  makeZip({fileEntry("01hokkai.CSV", "hokkaido\r\n")}));
    dirs.download(QStringLiteral("13tokyo.zip"), makeZip({fileEntry("readme.txt", "no data\r\n")}));
    dirs.dataFile(QStringLiteral("27osaka.CSV"), "osaka\r\n");
    const RunOutcome r = prefectures();
    EXPECT_EQ(r.status, Status::Failed);
    EXPECT_EQ(finalMessage(RunKind::Prefectures, r).text,
              QStringLiteral("ｴﾗｰ ： ファイルが見つかりません。 (13tokyo.CSV)"));
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("01hokkai.CSV")), QByteArray("hokkaido\r\n"));
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("27osaka.CSV")), QByteArray("osaka\r\n"));
    expectWorkFoldersEmpty();
}

class HostileArchive : public Runs, public testing::WithParamInterface<int> {};

TEST_P(HostileArchive, EndsTheRunWithTheErrorAndTouchesNoDataFile) {
    const QByteArray old = "old tokyo data\r\n";
    dirs.dataFile(QStringLiteral("13tokyo.CSV"), old);
    const QByteArray tokyo = QByteArray("0123456789").repeated(300);
    QByteArray archive = makeLzh({fileEntry("13tokyo.CSV", tokyo)});
    if (GetParam() == 0)
        archive.truncate(archive.size() / 2); // truncated
    else if (GetParam() == 1)
        archive[archive.indexOf(tokyo) + 7] = 'X'; // wrong checksum
    else
        archive = "MZ not an archive at all";
    dirs.download(QStringLiteral("13tokyo.lzh"), archive);
    const RunOutcome r = prefectures();
    EXPECT_EQ(r.status, Status::Failed);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(finalMessage(RunKind::Prefectures, r).text.startsWith(QStringLiteral("ｴﾗｰ ： ")));
    EXPECT_EQ(dirs.dataNames(), QStringList{QStringLiteral("13tokyo.CSV")});
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("13tokyo.CSV")), old);
    expectWorkFoldersEmpty();
}

INSTANTIATE_TEST_SUITE_P(Damage, HostileArchive, testing::Values(0, 1, 2));

TEST_F(Runs, TraversalNameInAPrefectureArchiveIsPlacedFlat) {
    const QByteArray tokyo = test::nationwideBytes(test::prefectureRecords(13, 2));
    dirs.download(QStringLiteral("13tokyo.zip"),
                  makeZip({fileEntry("../../../13tokyo.CSV", tokyo)}));
    const RunOutcome r = prefectures();
    ASSERT_EQ(r.status, Status::Completed) << r.error.toStdString();
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("13tokyo.CSV")), tokyo);
    EXPECT_FALSE(QFileInfo::exists(dirs.path() + QStringLiteral("/13tokyo.CSV")));
    EXPECT_FALSE(QFileInfo::exists(dirs.work().temp + QStringLiteral("13tokyo.CSV")));
}

TEST_F(Runs, SymlinkInAPrefectureArchiveIsNotFollowed) {
    test::TestEntry link;
    link.name = "13tokyo.CSV";
    link.kind = test::TestEntry::Kind::Symlink;
    link.linkTarget = "/etc/passwd";
    dirs.download(QStringLiteral("13tokyo.zip"), makeZip({link}));
    const RunOutcome r = prefectures();
    EXPECT_EQ(r.status, Status::Failed);
    EXPECT_EQ(r.error, QStringLiteral("ファイルが見つかりません。 (13tokyo.CSV)"));
    EXPECT_TRUE(dirs.dataNames().isEmpty());
}

TEST_F(Runs, CancelledQuestionChangesNothing) {
    dirs.download(QStringLiteral("13tokyo.zip"), makeZip({fileEntry("13tokyo.CSV", "x\r\n")}));
    messages.answers = {false};
    EXPECT_EQ(prefectures().status, Status::Cancelled);
    EXPECT_TRUE(host.startedKinds.empty());
    EXPECT_TRUE(dirs.dataNames().isEmpty());
    messages.answers = {false};
    dirs.download(QStringLiteral("ken_all.zip"), makeZip({fileEntry("KEN_ALL.CSV", "x\r\n")}));
    EXPECT_EQ(nationwide().status, Status::Cancelled);
    EXPECT_TRUE(host.startedKinds.empty());
}

TEST_F(Runs, BareDriveCaptionStartsNothingAndAsksNothing) {
    PrepFolders folders = dirs.folders();
    folders.download = QStringLiteral("C:");
    EXPECT_EQ(runPrefectures(folders, Names, host, messages).status, Status::NoFolder);
    EXPECT_EQ(runNationwide(folders, Names, host, messages, clock).status, Status::NoFolder);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Runs, NoArchiveAtAllPlacesNothing) {
    const RunOutcome r = prefectures();
    EXPECT_EQ(r.status, Status::Completed);
    EXPECT_EQ(finalMessage(RunKind::Prefectures, r).text,
              QStringLiteral("解凍された郵便番号ﾃﾞｰﾀはありません。    "));
}

// ---- the nationwide run ------------------------------------------------

QStringList allPrefectures(int linesEach) {
    QStringList records;
    for (int j = 1; j <= PrefectureCount; ++j)
        records << test::prefectureRecords(j, linesEach);
    return records;
}

test::TestEntry kenAll(const QByteArray& bytes) {
    test::TestEntry e = fileEntry("KEN_ALL.CSV", bytes);
    e.modified = QDateTime(QDate(2025, 9, 30), QTime(0, 0));
    return e;
}

TEST_F(Runs, NationwideFileGivesFortySevenFilesStampedWithItsTime) {
    dirs.download(QStringLiteral("ken_all.zip"),
                  makeZip({kenAll(test::nationwideBytes(allPrefectures(101)))}));
    dirs.download(QStringLiteral("jigyosyo.zip"),
                  makeZip({fileEntry("JIGYOSYO.CSV", officeBytes())}));
    const RunOutcome r = nationwide();
    expectOnlyQuestion(QStringLiteral("LZHﾌｧｲﾙ解凍 (全国一括＋事業所)  "),
                       QStringLiteral("郵便番号(全国一括)LZHﾌｧｲﾙを解凍しますか？     "));
    ASSERT_EQ(r.status, Status::Completed) << r.error.toStdString();
    EXPECT_EQ(completionCountText(r.placed, r.offices), QStringLiteral("47＋1 件"));
    QStringList expectedNames;
    for (const Prefecture& p : prefectureTable())
        expectedNames << QString::fromLatin1(p.splitFile);
    expectedNames << QStringLiteral("JIGYOSYO.CSV");
    EXPECT_EQ(dirs.dataNames(), expectedNames);
    for (int j = 1; j <= PrefectureCount; ++j) {
        const QString name = QString::fromLatin1(prefectureTable()[j - 1].splitFile);
        EXPECT_EQ(dirs.dataBytes(name), test::nationwideBytes(test::prefectureRecords(j, 101)))
            << j;
        EXPECT_EQ(dataDateText(QFileInfo(dirs.data() + name).lastModified()),
                  QStringLiteral("ﾃﾞｰﾀ日付：2025/09/30"));
    }
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("JIGYOSYO.CSV")), officeBytes());
    EXPECT_EQ(r.dataDateParts,
              (QStringList{QStringLiteral("2025"), QStringLiteral("09"), QStringLiteral("30"),
                           QStringLiteral("00"), QStringLiteral("00"), QStringLiteral("00")}));
    QStringList captions = {QStringLiteral("解凍中    ")};
    for (int j = 1; j <= PrefectureCount; ++j)
        captions << Names[j];
    captions << QStringLiteral("データコピー中");
    EXPECT_EQ(host.captions, captions);
    EXPECT_EQ(host.lineCounts.back(), 47 * 101);
    EXPECT_EQ(host.writingCalls, 1);
    EXPECT_EQ(host.startedKinds, std::vector<RunKind>{RunKind::Nationwide});
    EXPECT_EQ(host.pauses, std::vector<double>{0.15});
    expectWorkFoldersEmpty();
}

TEST_F(Runs, PrefectureWithExactlyOneHundredLinesIsNotPlaced) {
    dirs.dataFile(QStringLiteral("13tokyo.CSV"), "previous tokyo\r\n");
    QStringList records = test::prefectureRecords(13, 100);
    records << test::prefectureRecords(14, 101);
    dirs.download(QStringLiteral("ken_all.lzh"), makeLzh({kenAll(test::nationwideBytes(records))}));
    const RunOutcome r = nationwide();
    ASSERT_EQ(r.status, Status::Completed) << r.error.toStdString();
    EXPECT_EQ(r.placed, 1);
    EXPECT_EQ(dirs.dataNames(),
              (QStringList{QStringLiteral("13tokyo.CSV"), QStringLiteral("14kanaga.CSV")}));
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("13tokyo.CSV")), QByteArray("previous tokyo\r\n"));
}

TEST_F(Runs, LineNamingAnotherPrefectureGoesToTheFirstInCodeOrder) {
    QStringList records = test::prefectureRecords(13, 101);
    const QString crossing = test::addressRecord(
        QStringLiteral("13101"), QStringLiteral("1000099"), QStringLiteral("ﾄｳｷｮｳﾄ"),
        QStringLiteral("ﾁﾖﾀﾞｸ"), QStringLiteral("ﾎｯｶｲﾄﾞｳ"), QStringLiteral("東京都"),
        QStringLiteral("千代田区"), QStringLiteral("北海道会館"));
    records << crossing << test::prefectureRecords(1, 100);
    dirs.download(QStringLiteral("ken_all.zip"), makeZip({kenAll(test::nationwideBytes(records))}));
    const RunOutcome r = nationwide();
    EXPECT_EQ(r.placed, 2);
    EXPECT_TRUE(
        dirs.dataBytes(QStringLiteral("01hokkai.CSV")).startsWith(test::sjisLines({crossing})));
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("13tokyo.CSV")),
              test::nationwideBytes(test::prefectureRecords(13, 101)));
}

TEST_F(Runs, LinesWithoutAPrefectureAreSkippedAndCounted) {
    QStringList records = test::prefectureRecords(47, 101);
    records.insert(
        50, QStringLiteral("47999,\"999  \",\"9999999\",\"ｱ\",\"ｲ\",\"ｳ\",\"どこか\",\"x\",\"y\""));
    dirs.download(QStringLiteral("ken_all.zip"), makeZip({kenAll(test::nationwideBytes(records))}));
    const RunOutcome r = nationwide();
    EXPECT_EQ(r.status, Status::Completed);
    EXPECT_EQ(r.placed, 1);
    EXPECT_EQ(r.unroutedLines, 1);
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("47okinaw.CSV")),
              test::nationwideBytes(test::prefectureRecords(47, 101)));
}

TEST_F(Runs, AbortPlacesNothingAndASecondRunCompletes) {
    dirs.dataFile(QStringLiteral("01hokkai.CSV"), "previous hokkaido\r\n");
    dirs.download(QStringLiteral("ken_all.zip"),
                  makeZip({kenAll(test::nationwideBytes(allPrefectures(101)))}));
    dirs.download(QStringLiteral("jigyosyo.zip"),
                  makeZip({fileEntry("JIGYOSYO.CSV", officeBytes())}));
    host.stopAfterCaption = QStringLiteral("北海道"); // while reading
    const RunOutcome aborted = nationwide();
    EXPECT_EQ(aborted.status, Status::Aborted);
    EXPECT_FALSE(finalMessage(RunKind::Nationwide, aborted).shown);
    EXPECT_EQ(host.writingCalls, 0);
    EXPECT_EQ(dirs.dataNames(), QStringList{QStringLiteral("01hokkai.CSV")});
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("01hokkai.CSV")), QByteArray("previous hokkaido\r\n"));
    // The extracted nationwide file stays for a look; nothing else.
    EXPECT_EQ(filesIn(dirs.work().tofuken), QStringList{QStringLiteral("KEN_ALL.CSV")});

    test::RecordingHost second;
    const RunOutcome done = runNationwide(dirs.folders(), Names, second, messages, clock);
    EXPECT_EQ(done.status, Status::Completed);
    EXPECT_EQ(done.placed, 47);
    EXPECT_EQ(done.offices, 1);
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("01hokkai.CSV")),
              test::nationwideBytes(test::prefectureRecords(1, 101)));
    expectWorkFoldersEmpty();
}

TEST_F(Runs, NoNationwideArchiveTellsSoAndStillPlacesTheBusinessOffices) {
    dirs.download(QStringLiteral("jigyosyo.lzh"),
                  makeLzh({fileEntry("JIGYOSYO.CSV", officeBytes())}));
    const RunOutcome r = nationwide();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("LZHﾌｧｲﾙ解凍"));
    EXPECT_EQ(messages.shown[0].text,
              QStringLiteral("郵便番号(全国一括)LZHﾌｧｲﾙがありません。     "));
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(r.status, Status::Completed);
    EXPECT_EQ(r.placed, 0);
    EXPECT_EQ(r.offices, 1);
    EXPECT_EQ(dirs.dataNames(), QStringList{QStringLiteral("JIGYOSYO.CSV")});
}

TEST_F(Runs, NoArchiveOfEitherKindEndsWithNothingPlaced) {
    const RunOutcome r = nationwide();
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(finalMessage(RunKind::Nationwide, r).text,
              QStringLiteral("解凍された郵便番号ﾃﾞｰﾀはありません。    "));
}

TEST_F(Runs, NationwideArchiveWithoutKenAllCsvAsksAndStops) {
    dirs.download(QStringLiteral("ken_all.zip"), makeZip({fileEntry("readme.txt", "none\r\n")}));
    dirs.download(QStringLiteral("jigyosyo.zip"),
                  makeZip({fileEntry("JIGYOSYO.CSV", officeBytes())}));
    const RunOutcome r = nationwide();
    EXPECT_EQ(r.status, Status::CsvMissing);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].icon, MessageIcon::Question);
    EXPECT_EQ(messages.shown[1].title, QStringLiteral("LZHﾌｧｲﾙ解凍"));
    EXPECT_EQ(messages.shown[1].text,
              QStringLiteral("郵便番号(全国一括)CSVﾌｧｲﾙがありません。     "));
    EXPECT_EQ(messages.shown[1].buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(dirs.dataNames().isEmpty());
    expectWorkFoldersEmpty();
}

TEST_F(Runs, UpperCaseNationwideLzhWithLowerCaseCsvIsUsed) {
    auto entry = kenAll(test::nationwideBytes(test::prefectureRecords(40, 120)));
    entry.name = "ken_all.csv";
    dirs.download(QStringLiteral("KEN_ALL.LZH"), makeLzh({entry}));
    const RunOutcome r = nationwide();
    EXPECT_EQ(r.status, Status::Completed) << r.error.toStdString();
    EXPECT_EQ(dirs.dataNames(), QStringList{QStringLiteral("40fukuok.CSV")});
    expectWorkFoldersEmpty();
}

TEST_F(Runs, CorruptNationwideArchiveFailsAndKeepsEveryDataFile) {
    dirs.dataFile(QStringLiteral("13tokyo.CSV"), "previous\r\n");
    const QByteArray whole = makeLzh({kenAll(test::nationwideBytes(allPrefectures(101)))});
    dirs.download(QStringLiteral("ken_all.lzh"), whole.left(whole.size() - 300));
    const RunOutcome r = nationwide();
    EXPECT_EQ(r.status, Status::Failed);
    EXPECT_TRUE(finalMessage(RunKind::Nationwide, r).text.startsWith(QStringLiteral("ｴﾗｰ ： ")));
    EXPECT_EQ(dirs.dataNames(), QStringList{QStringLiteral("13tokyo.CSV")});
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("13tokyo.CSV")), QByteArray("previous\r\n"));
    expectWorkFoldersEmpty();
}

TEST_F(Runs, BusinessOfficeArchiveWithoutItsCsvIsNotCounted) {
    dirs.download(QStringLiteral("jigyosyo.zip"), makeZip({fileEntry("other.txt", "x")}));
    const RunOutcome r = nationwide();
    EXPECT_EQ(r.status, Status::Completed);
    EXPECT_EQ(r.offices, 0);
    EXPECT_EQ(finalMessage(RunKind::Nationwide, r).text,
              QStringLiteral("解凍された郵便番号ﾃﾞｰﾀはありません。    "));
    expectWorkFoldersEmpty();
}

TEST_F(Runs, ReadOnlyDataFolderFailsWithADescriptionAndKeepsTheOldFiles) {
    // The check runs as an unprivileged user, for whom the data folder
    // (owned by another user, or made read-only) cannot be written.
    dirs.dataFile(QStringLiteral("13tokyo.CSV"), "previous\r\n");
    dirs.download(QStringLiteral("13tokyo.zip"), makeZip({fileEntry("13tokyo.CSV", "new\r\n")}));
    dirs.download(QStringLiteral("ken_all.zip"),
                  makeZip({kenAll(test::nationwideBytes(test::prefectureRecords(13, 101)))}));
    const QString scratch = dirs.path() + QStringLiteral("/scratch");
    QDir().mkpath(scratch);
    for (const QString& folder : {dirs.path(), dirs.download(), dirs.data()})
        test::openToEveryone(folder);
    QFile::setPermissions(scratch, QFileDevice::Permissions(0x7777));
    QFile::setPermissions(dirs.data(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                           QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                           QFileDevice::ReadOther | QFileDevice::ExeOther);
    const bool refused = test::runUnprivileged([&] {
        PrepFolders folders{dirs.download(), dirs.data(), WorkFolders::under(scratch)};
        test::RecordingHost quiet;
        test::RecordingMessageBoxes yes;
        test::ManualClock still;
        const RunOutcome a = runPrefectures(folders, Names, quiet, yes);
        const RunOutcome b = runNationwide(folders, Names, quiet, yes, still);
        return a.status == Status::Failed && b.status == Status::Failed &&
               a.error.startsWith(QStringLiteral("ファイルに書き込めません。 (")) &&
               b.error.startsWith(QStringLiteral("ファイルに書き込めません。 ("));
    });
    QFile::setPermissions(dirs.data(), QFileDevice::Permissions(0x7755));
    EXPECT_TRUE(refused);
    EXPECT_EQ(dirs.dataNames(), QStringList{QStringLiteral("13tokyo.CSV")});
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("13tokyo.CSV")), QByteArray("previous\r\n"));
}

} // namespace
} // namespace yubin
