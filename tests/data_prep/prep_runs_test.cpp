#include "data_prep/prep_runs.h"
#include "foundation/data_folder.h"
#include "foundation/prefectures.h"
#include "prep_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/types.h>

namespace yubin {
namespace {

using namespace Qt::StringLiterals;
using Status = RunOutcome::Status;
using test::readAll;
using test::recordBytes;
using test::runCli;

const QStringList Names = makePrefectureNames();
const QDateTime Published(QDate(2025, 9, 30), QTime(0, 0));

QString dataDateOf(const QString& path) {
    return dataDateText(QFileInfo(path).lastModified());
}
QString splitName(int prefecture) {
    return QString::fromLatin1(prefectureTable()[size_t(prefecture - 1)].splitFile);
}
// A nationwide file: `lines` records of every prefecture in code order.
QByteArray nationwideBytes(int lines) {
    QByteArray all;
    for (int i = 1; i <= PrefectureCount; ++i)
        all += recordBytes(i, lines);
    return all;
}

using CliRun = test::CliResult;

// Both runs on fresh folders, with stand-ins that record what they show.
struct RunSetup {
    RunOutcome prefectures() { return runPrefectures(dirs.folders(), Names, host, messages); }
    RunOutcome nationwide() { return runNationwide(dirs.folders(), Names, host, messages, clock); }
    CliRun prepare(const QString& which, const std::function<void()>& inChild = {}) {
        return runCli({u"--data"_s, dirs.data(), u"prepare"_s, which, dirs.download()}, inChild);
    }
    void expectWorkFoldersEmpty() const {
        for (const QString& folder : {dirs.work().tofuken, dirs.work().tofukenLzh})
            EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList())
                << folder.toStdString();
    }

    test::PrepDirs dirs;
    test::RecordingHost host;
    test::RecordingMessageBoxes messages;
    test::ManualClock clock;
};
class Runs : public testing::Test, public RunSetup {};

TEST(FindArchive, TakesLzhFirstThenZipByTheFirstTwoCharacters) {
    const struct {
        QStringList files;
        QString found;
    } cases[] = {
        {{u"13TOKYO.LZH"_s}, u"13TOKYO.LZH"_s},
        {{u"13tokyo.ZIP"_s, u"27osaka.lzh"_s}, u"13tokyo.ZIP"_s},
        {{u"13tokyo.zip"_s, u"13tokyo.lzh"_s}, u"13tokyo.lzh"_s},
        {{u"1tokyo.lzh"_s, u"x13tokyo.lzh"_s, u"13tokyo.csv"_s, u"13tokyo.lzh.txt"_s}, {}}};
    for (const auto& c : cases) {
        test::PrepDirs dirs;
        for (const QString& name : c.files)
            dirs.download(name, "x");
        EXPECT_EQ(FindArchiveByCode(dirs.download(), u"13"_s), c.found)
            << c.files.join(u' ').toStdString();
    }
}

// ---- the per-prefecture run --------------------------------------------

TEST_F(Runs, PrefectureAndBusinessOfficeArchivesInAnyCaseArePlacedWithTheirTime) {
    dirs.dataFile(u"13tokyo.CSV"_s, "old tokyo\r\n");
    // 13TOKYO.LZH holds 13TOKYO.CSV in whatever case, and replaces 13tokyo.CSV.
    dirs.archive(u"13TOKYO.LZH"_s, "13tokyo.csv", recordBytes(13, 5));
    dirs.archive(u"27osaka.zip"_s, "27osaka.CSV", recordBytes(27, 3));
    dirs.archive(u"JIGYOSYO.ZIP"_s, "jigyosyo.csv", "offices\r\n");
    const RunOutcome r = prefectures();
    ASSERT_EQ(messages.shown.size(), 1u);
    test::expectShown(messages, 0, MessageIcon::Question, u"LZHﾌｧｲﾙ解凍 (都道府県＋事業所)  "_s,
                      u"郵便番号(都道府県別)LZH・ZIPﾌｧｲﾙを解凍しますか？     "_s,
                      MessageButtons::OkCancel);
    ASSERT_EQ(r.status, Status::Completed) << r.error.toStdString();
    EXPECT_EQ(completionCountText(r.placed, r.offices), u"2＋1 件"_s);
    EXPECT_EQ(dirs.dataNames(),
              (QStringList{u"13tokyo.CSV"_s, u"27osaka.CSV"_s, u"jigyosyo.CSV"_s}));
    EXPECT_EQ(dirs.dataBytes(u"13tokyo.CSV"_s), recordBytes(13, 5));
    EXPECT_EQ(dirs.dataBytes(u"27osaka.CSV"_s), recordBytes(27, 3));
    EXPECT_EQ(dirs.dataBytes(u"jigyosyo.CSV"_s), QByteArray("offices\r\n"));
    EXPECT_EQ(dataDateOf(dirs.data() + u"13tokyo.CSV"_s), u"ﾃﾞｰﾀ日付：2005/09/30"_s);
    EXPECT_EQ(host.captions, (QStringList{{}, u"東京都"_s, u"大阪府"_s, u"解凍中 終了"_s}));
    expectWorkFoldersEmpty();
}

// lh5, lh6 and lh7 archives made by jLHA, an archiver independent of
// libarchive, hold the same 150-line file.
TEST(IndependentLzh, IsPlacedByteForByteWithItsTime) {
    const QByteArray expected = test::readAll(test::fixturePath(u"13tokyo.CSV"_s));
    ASSERT_FALSE(expected.isEmpty());
    for (const QString& method : {u"lh5"_s, u"lh6"_s, u"lh7"_s}) {
        RunSetup run;
        run.dirs.download(u"13tokyo.lzh"_s,
                          test::readAll(test::fixturePath(method + u"/13tokyo.lzh"_s)));
        const RunOutcome r = run.prefectures();
        ASSERT_EQ(r.status, Status::Completed) << r.error.toStdString();
        EXPECT_EQ(run.dirs.dataBytes(u"13tokyo.CSV"_s), expected) << method.toStdString();
        EXPECT_EQ(dataDateOf(run.dirs.data() + u"13tokyo.CSV"_s), u"ﾃﾞｰﾀ日付：2005/09/30"_s);
    }
}

TEST_F(Runs, TwoArchivesForOneCodeUseOnlyOne) {
    // Which one is the file system's listing order, which the test cannot
    // choose: either, alone and whole.
    dirs.archive(u"13tokyo.lzh"_s, "13tokyo.CSV", "first\r\n");
    dirs.archive(u"13tokyo2.lzh"_s, "13tokyo2.CSV", "second\r\n");
    EXPECT_EQ(prefectures().placed, 1);
    const QStringList names = dirs.dataNames();
    EXPECT_TRUE((names == QStringList{u"13tokyo.CSV"_s} &&
                 dirs.dataBytes(names[0]) == QByteArray("first\r\n")) ||
                (names == QStringList{u"13tokyo2.CSV"_s} &&
                 dirs.dataBytes(names[0]) == QByteArray("second\r\n")))
        << names.join(u' ').toStdString();
}

TEST_F(Runs, ArchiveWithoutItsCsvFailsAndReportsWhatWasPlacedBefore) {
    dirs.archive(u"01hokkai.zip"_s, "01hokkai.CSV", "hokkaido\r\n");
    dirs.archive(u"13tokyo.zip"_s, "readme.txt", "no data\r\n");
    dirs.dataFile(u"27osaka.CSV"_s, "osaka\r\n");
    const RunOutcome r = prefectures();
    EXPECT_EQ(r.status, Status::Failed);
    const QList<FinalMessage> shown = finalMessages(RunKind::Prefectures, r);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].text, u"郵便番号ﾃﾞｰﾀ解凍完了数 ： 1 件    \n\n"
                             "郵便番号ﾃﾞｰﾀの解凍が完了しました。     "_s);
    EXPECT_EQ(shown[1].text, u"ｴﾗｰ ： ファイルが見つかりません。 (13tokyo.CSV)"_s);
    EXPECT_EQ(dirs.dataBytes(u"01hokkai.CSV"_s), QByteArray("hokkaido\r\n"));
    EXPECT_EQ(dirs.dataBytes(u"27osaka.CSV"_s), QByteArray("osaka\r\n"));
    expectWorkFoldersEmpty();
}

// ---- damaged archives, in either run -----------------------------------

enum class Damage { Truncated, Checksum, HeaderSum, NotAnArchive, OldMethod };

QByteArray damagedArchive(bool zip, Damage damage, const char* method, const QByteArray& name) {
    const QByteArray data = QByteArray("0123456789").repeated(300);
    test::TestEntry entry = test::fileEntry(name, data);
    if (damage == Damage::OldMethod)
        entry.method = method;
    QByteArray bytes = zip ? test::makeZip({entry}, true) : test::makeLzh({entry});
    if (damage == Damage::Truncated)
        bytes.truncate(bytes.size() / 2);
    else if (damage == Damage::Checksum)
        bytes[bytes.indexOf(data) + 500] = 'X';
    else if (damage == Damage::HeaderSum)
        bytes[1] = char(bytes[1] + 1);
    else if (damage == Damage::NotAnArchive)
        bytes = "MZ not an archive at all";
    return bytes;
}

TEST(DamagedArchive, EndsEitherRunWithLibarchivesDescriptionAndTouchesNoDataFile) {
    const char* damaged = "書庫ファイルが壊れています。";
    const char* unreadable = "書庫ファイルの形式を読み取れません。";
    const struct {
        bool zip;
        Damage damage;
        const char* described; // the program's words before libarchive's
        const char* mentions;  // in libarchive's description (the method for OldMethod)
    } cases[] = {{false, Damage::Truncated, damaged, "runcated"},
                 {true, Damage::Checksum, damaged, "CRC"},
                 {false, Damage::HeaderSum, damaged, ""},
                 {false, Damage::NotAnArchive, unreadable, "Unrecognized archive format"},
                 // libarchive decodes -lh0- and -lh5- to -lh7-, the methods of
                 // postal archives; an older one is named in its refusal.
                 {false, Damage::OldMethod, unreadable, "-lh1-"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.zip ? "zip " : "lzh ") + c.mentions);
        RunSetup run;
        run.dirs.dataFile(u"13tokyo.CSV"_s, "old tokyo data\r\n");
        const QString suffix = c.zip ? u".zip"_s : u".lzh"_s;
        run.dirs.download(u"13tokyo"_s + suffix,
                          damagedArchive(c.zip, c.damage, c.mentions, "13tokyo.CSV"));
        run.dirs.download(u"ken_all"_s + suffix,
                          damagedArchive(c.zip, c.damage, c.mentions, "KEN_ALL.CSV"));
        for (const RunOutcome& r : {run.prefectures(), run.nationwide()}) {
            EXPECT_EQ(r.status, Status::Failed);
            EXPECT_TRUE(r.error.startsWith(QString::fromUtf8(c.described) + u" ("_s) &&
                        r.error.endsWith(u')') && r.error.contains(QLatin1String(c.mentions)))
                << r.error.toStdString();
            const QList<FinalMessage> shown = finalMessages(RunKind::Nationwide, r);
            ASSERT_EQ(shown.size(), 1);
            EXPECT_EQ(shown[0].title, u"LZHﾌｧｲﾙ解凍"_s);
            EXPECT_EQ(shown[0].text, u"ｴﾗｰ ： "_s + r.error);
        }
        EXPECT_EQ(run.dirs.dataNames(), QStringList{u"13tokyo.CSV"_s});
        EXPECT_EQ(run.dirs.dataBytes(u"13tokyo.CSV"_s), QByteArray("old tokyo data\r\n"));
        run.expectWorkFoldersEmpty();
    }
}

// ---- the nationwide run ------------------------------------------------

TEST_F(Runs, NationwideFileGivesFortySevenFilesStampedWithItsTime) {
    dirs.archive(u"ken_all.zip"_s, "KEN_ALL.CSV", nationwideBytes(101), Published);
    dirs.archive(u"jigyosyo.zip"_s, "JIGYOSYO.CSV", "offices\r\n");
    const RunOutcome r = nationwide();
    ASSERT_EQ(messages.shown.size(), 1u);
    test::expectShown(messages, 0, MessageIcon::Question, u"LZHﾌｧｲﾙ解凍 (全国一括＋事業所)  "_s,
                      u"郵便番号(全国一括)ZIPﾌｧｲﾙを解凍しますか？     "_s,
                      MessageButtons::OkCancel);
    ASSERT_EQ(r.status, Status::Completed) << r.error.toStdString();
    EXPECT_EQ(completionCountText(r.placed, r.offices), u"47＋1 件"_s);
    QStringList names;
    for (int j = 1; j <= PrefectureCount; ++j) {
        names << splitName(j);
        EXPECT_EQ(dirs.dataBytes(names.back()), recordBytes(j, 101)) << j;
        EXPECT_EQ(dataDateOf(dirs.data() + names.back()), u"ﾃﾞｰﾀ日付：2025/09/30"_s);
    }
    EXPECT_EQ(dirs.dataNames(), names << u"JIGYOSYO.CSV"_s);
    QStringList captions{u"解凍中    "_s};
    EXPECT_EQ(host.captions, captions << Names.mid(1, PrefectureCount) << u"データコピー中"_s);
    expectWorkFoldersEmpty();
}

TEST_F(Runs, PrefectureWithExactlyOneHundredLinesIsNotPlacedWithOneHundredAndOneItIs) {
    dirs.dataFile(u"13tokyo.CSV"_s, "previous tokyo\r\n");
    dirs.archive(u"KEN_ALL.LZH"_s, "ken_all.csv", recordBytes(13, 100) + recordBytes(14, 101));
    dirs.download(u"ken_all.zip"_s, "not taken: the LZH comes first");
    dirs.archive(u"jigyosyo.zip"_s, "other.txt", "no business offices\r\n");
    const RunOutcome r = nationwide();
    ASSERT_EQ(r.status, Status::Completed) << r.error.toStdString();
    EXPECT_EQ(r.placed, 1);
    EXPECT_EQ(r.offices, 0);
    EXPECT_EQ(dirs.dataNames(), (QStringList{u"13tokyo.CSV"_s, u"14kanaga.CSV"_s}));
    EXPECT_EQ(dirs.dataBytes(u"13tokyo.CSV"_s), QByteArray("previous tokyo\r\n"));
    EXPECT_EQ(dirs.dataBytes(u"14kanaga.CSV"_s), recordBytes(14, 101));
    expectWorkFoldersEmpty();
}

TEST_F(Runs, MissingNationwideArchiveOrCsvIsToldAndPlacesNoPrefecture) {
    dirs.archive(u"jigyosyo.lzh"_s, "JIGYOSYO.CSV", "offices\r\n");
    RunOutcome r = nationwide(); // the business offices all the same
    ASSERT_EQ(messages.shown.size(), 1u);
    test::expectShown(messages, 0, MessageIcon::Exclamation, u"LZHﾌｧｲﾙ解凍"_s,
                      u"郵便番号(全国一括)LZHﾌｧｲﾙがありません。     "_s, MessageButtons::Ok);
    EXPECT_EQ(r.status, Status::Completed);
    EXPECT_EQ(completionCountText(r.placed, r.offices), u"1 件"_s);
    EXPECT_EQ(dirs.dataNames(), QStringList{u"JIGYOSYO.CSV"_s});

    dirs.archive(u"ken_all.zip"_s, "readme.txt", "none\r\n");
    r = nationwide();
    EXPECT_EQ(r.status, Status::CsvMissing);
    ASSERT_EQ(messages.shown.size(), 3u);
    test::expectShown(messages, 2, MessageIcon::Question, u"LZHﾌｧｲﾙ解凍"_s,
                      u"郵便番号(全国一括)CSVﾌｧｲﾙがありません。     "_s, MessageButtons::OkCancel);
    EXPECT_EQ(dirs.dataNames(), QStringList{u"JIGYOSYO.CSV"_s});
    expectWorkFoldersEmpty();
}

// ---- yubin-cli prepare ------------------------------------------------

using PrepareCli = Runs;

TEST(PrepareCliMessages, ProgressAndMessagesArePrintedAndOnlyACompletedRunExitsZero) {
    const QString askNationwide = u"郵便番号(全国一括)ZIPﾌｧｲﾙを解凍しますか？     \n"_s;
    const struct {
        const char* label;
        std::function<void(test::PrepDirs&)> download;
        int exitCode;
        QString out, err;
    } cases[] = {
        {"a nationwide run with a line of no prefecture",
         [](test::PrepDirs& d) {
             d.archive(u"ken_all.zip"_s, "KEN_ALL.CSV",
                       recordBytes(13, 150) + recordBytes(14, 120) + "99999,\"none here\"\r\n");
             d.archive(u"jigyosyo.lzh"_s, "JIGYOSYO.CSV", "office\r\n");
         },
         0, u"郵便番号ﾃﾞｰﾀ解凍完了数 ： 2＋1 件    \n\n郵便番号ﾃﾞｰﾀの解凍が完了しました。     \n"_s,
         askNationwide + u"解凍中\n東京都 1 行\n神奈川県 151 行\nデータコピー中 271 行\n"
                         "都道府県名のない行 1 行を読み飛ばしました。\n"_s},
        {"nothing to extract", [](test::PrepDirs&) {}, 1,
         u"解凍された郵便番号ﾃﾞｰﾀはありません。    \n"_s,
         u"郵便番号(全国一括)LZHﾌｧｲﾙがありません。     \n"_s},
    };
    for (const auto& c : cases) {
        test::PrepDirs dirs;
        c.download(dirs);
        const CliRun run =
            runCli({u"--data"_s, dirs.data(), u"prepare"_s, u"nationwide"_s, dirs.download()});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.label;
        EXPECT_EQ(run.out, c.out) << c.label;
        EXPECT_EQ(run.err, c.err) << c.label;
    }
}

// yubin-cli on a fresh install: a verb that reads data fills the empty data
// folder from the bundled archives, says so, and answers; without them,
// every such verb says how to make the data and exits 1.
TEST(CliFirstRun, FillsAnEmptyDataFolderFromTheBundledArchivesOrSaysHowToMakeData) {
    test::PrepDirs bundled;
    bundled.archive(u"ken_all.zip"_s, "KEN_ALL.CSV", recordBytes(13, 101));
    QTemporaryDir folder;
    const QString data = folder.path() + u'/';
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"YUBIN_BUNDLED_DATA"_s, bundled.download());
    CliRun run =
        test::runProgram(test::cliPath(), {u"--data"_s, data, u"code"_s, u"1300002"_s}, env);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(u" 130-0002 東京都中央市本町2丁目"_s)) << run.out.toStdString();
    EXPECT_EQ(run.err,
              u"データフォルダー "_s + data + u" に同梱の全国データを入れました。\n1 件\n"_s);

    env.insert(u"YUBIN_BUNDLED_DATA"_s, folder.path() + u"/none"_s);
    for (const char* verb : {"search", "resolve", "municipalities"}) {
        QTemporaryDir empty;
        run = test::runProgram(
            test::cliPath(), {u"--data"_s, empty.path(), QString::fromLatin1(verb), u"13"_s}, env);
        EXPECT_EQ(run.exitCode, 1) << verb;
        EXPECT_EQ(run.out, QString()) << verb;
        EXPECT_EQ(run.err,
                  u"データファイルがありません。（"_s + empty.path() +
                      u"/）\n郵便局からダウンロードしたアーカイブがあるフォルダーを指定して "
                      u"yubin-cli prepare nationwide フォルダー（都道府県別のアーカイブなら "
                      u"prepare prefectures）を実行すると、データができます。\n"_s)
            << verb;
    }
}

// Two nationwide runs of one user started together, into two data folders,
// ten times over: each completes, or finds the other at work, says so and
// changes nothing. Every data file is the complete run's or the previous one.
TEST(PrepareCliTogether, ARunThatFindsAnotherAtWorkChangesNothing) {
    test::PrepDirs dirs;
    dirs.archive(u"ken_all.zip"_s, "KEN_ALL.CSV", nationwideBytes(101));
    const QString busy = u"ｴﾗｰ ： 別の郵便番号ﾃﾞｰﾀ処理が実行中です。"
                         "終わってから、もう一度実行してください。\n"_s;
    int refused = 0;
    for (int round = 0; round < 10; ++round) {
        QTemporaryDir root;
        QProcess runs[2];
        for (int i = 0; i < 2; ++i) {
            const QString data = root.path() + u"/DATA%1/"_s.arg(i);
            test::writeFile(data + u"13tokyo.CSV"_s, "previous\r\n");
            runs[i].start(test::cliPath(),
                          {u"--data"_s, data, u"prepare"_s, u"nationwide"_s, dirs.download()});
        }
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(runs[i].waitForFinished(120000));
            const QString data = root.path() + u"/DATA%1/"_s.arg(i);
            const QStringList names = QDir(data).entryList(QDir::Files | QDir::Hidden);
            if (runs[i].exitCode() == 1) {
                EXPECT_TRUE(QString::fromUtf8(runs[i].readAllStandardError()).endsWith(busy));
                EXPECT_EQ(names, QStringList{u"13tokyo.CSV"_s});
                EXPECT_EQ(readAll(data + u"13tokyo.CSV"_s), QByteArray("previous\r\n"));
                ++refused;
                continue;
            }
            EXPECT_EQ(runs[i].exitCode(), 0) << runs[i].readAllStandardError().toStdString();
            EXPECT_EQ(names.size(), PrefectureCount) << round;
            for (int j = 1; j <= PrefectureCount; ++j)
                EXPECT_EQ(readAll(data + splitName(j)), recordBytes(j, 101)) << round << ' ' << j;
        }
    }
    EXPECT_GT(refused, 0); // the runs did meet
}

// The nationwide file with LF line ends: each placed line gains a CR, so the
// prefecture file comes out larger than the extracted file. A file-size
// limit equal to the extracted file lets the extraction pass and stops the
// write of the prefecture file part-way.
TEST_F(PrepareCli, FileSizeLimitReachedPartWayIsReportedAndLeavesThePreviousFilesWhole) {
    dirs.dataFile(u"13tokyo.CSV"_s, recordBytes(13, 3));
    dirs.dataFile(u"27osaka.CSV"_s, recordBytes(27, 3));
    const QByteArray kenAll = test::sjisLines(test::prefectureRecords(13, 400), "\n");
    dirs.archive(u"ken_all.zip"_s, "KEN_ALL.CSV", kenAll);
    const rlim_t max = rlim_t(kenAll.size());
    // The limit as a user's "ulimit -f" sets it: the program itself must turn
    // SIGXFSZ into a write error it can report.
    const CliRun refused = prepare(u"nationwide"_s, [max] {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit l{max, max};
        setrlimit(RLIMIT_FSIZE, &l);
    });
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(u"ｴﾗｰ ： ファイルに書き込めません。 ("_s))
        << refused.err.toStdString();
    EXPECT_EQ(dirs.dataNames(), (QStringList{u"13tokyo.CSV"_s, u"27osaka.CSV"_s}));
    EXPECT_EQ(dirs.dataBytes(u"13tokyo.CSV"_s), recordBytes(13, 3));
    EXPECT_EQ(dirs.dataBytes(u"27osaka.CSV"_s), recordBytes(27, 3));
}

// A nationwide run killed at five moments: before it reads anything, during
// the split, as the writing begins, and half-way and late in the writing and
// renaming (measured against the time the writing took in a whole run). Each time every data file
// must be its version from before the run or the one a whole run writes, and a following run must
// complete.
TEST_F(PrepareCli, KilledAtAnyMomentEveryDataFileIsItsPreviousOrItsNewVersion) {
    const QByteArray oldOffices =
        test::sjisLines({test::officeRecord(u"13101"_s, u"ｷｭｳ"_s, u"旧事業所"_s, u"東京都"_s,
                                            u"千代田区"_s, u"丸の内"_s, u"１"_s, u"1000001"_s)});
    dirs.archive(u"ken_all.zip"_s, "KEN_ALL.CSV", nationwideBytes(150));
    dirs.archive(u"jigyosyo.zip"_s, "JIGYOSYO.CSV", oldOffices + oldOffices);
    const auto fileName = splitName;
    // Puts the previous files back, runs yubin-cli, kills it when `killNow`
    // says so (given the progress so far and the milliseconds since
    // "データコピー中", -1 before), and counts the files it replaced; fails
    // on any file that is neither version.
    using KillNow = std::function<bool(const QString&, qint64)>;
    qint64 writingMs = -1;
    auto run = [&](const std::string& moment, const KillNow& killNow) {
        QDir(dirs.data()).removeRecursively();
        for (int i = 1; i <= PrefectureCount; ++i)
            dirs.dataFile(fileName(i), recordBytes(i, 3));
        dirs.dataFile(u"JIGYOSYO.CSV"_s, oldOffices);
        QProcess process;
        process.start(test::cliPath(),
                      {u"--data"_s, dirs.data(), u"prepare"_s, u"nationwide"_s, dirs.download()});
        EXPECT_TRUE(process.waitForStarted());
        QString err;
        QElapsedTimer writing;
        while (process.state() != QProcess::NotRunning) {
            if (killNow(err, writing.isValid() ? writing.elapsed() : -1)) {
                ::kill(pid_t(process.processId()), SIGKILL);
                break;
            }
            process.waitForReadyRead(writing.isValid() ? 0 : 2);
            err += QString::fromUtf8(process.readAllStandardError());
            if (!writing.isValid() && err.contains(CopyingCaption))
                writing.start();
        }
        if (process.state() != QProcess::NotRunning) {
            EXPECT_TRUE(process.waitForFinished(120000));
        }
        if (writing.isValid())
            writingMs = writing.elapsed();
        int replaced = 0;
        for (int i = 1; i <= PrefectureCount; ++i) {
            const QByteArray bytes = dirs.dataBytes(fileName(i));
            EXPECT_TRUE(bytes == recordBytes(i, 150) || bytes == recordBytes(i, 3))
                << moment << ": " << fileName(i).toStdString() << " is torn";
            replaced += bytes == recordBytes(i, 150);
        }
        const QByteArray offices = dirs.dataBytes(u"JIGYOSYO.CSV"_s);
        EXPECT_TRUE(offices == oldOffices || offices == oldOffices + oldOffices) << moment;
        replaced += offices != oldOffices;
        EXPECT_EQ(dirs.dataNames().size(), PrefectureCount + 1) << moment;
        return replaced;
    };
    const KillNow never = [](const QString&, qint64) { return false; };
    ASSERT_EQ(run("whole run", never), PrefectureCount + 1);
    ASSERT_GE(writingMs, 0);
    const qint64 writing = std::max<qint64>(writingMs, 1);
    auto afterLines = [](int count) -> KillNow {
        return [count](const QString& err, qint64) { return err.count(u'\n') >= count; };
    };
    auto intoWriting = [writing](int percent) -> KillNow {
        return [=](const QString&, qint64 ms) { return ms >= 0 && ms * 100 >= writing * percent; };
    };
    run("killed at start", [](const QString&, qint64) { return true; });
    run("killed in the split", afterLines(10));
    for (int percent : {0, 50, 90})
        run("killed writing " + std::to_string(percent) + "%", intoWriting(percent));
    EXPECT_EQ(run("run after the kills", never), PrefectureCount + 1);
}

} // namespace
} // namespace yubin
