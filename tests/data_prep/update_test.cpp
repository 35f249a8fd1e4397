#include "data_prep/change_log.h"
#include "data_prep/monthly_update.h"
#include "foundation/data_folder.h"
#include "foundation/prefectures.h"
#include "prep_support.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace yubin {
namespace {

using namespace Qt::StringLiterals;
using Status = UpdateOutcome::Status;
using test::addressRecord;
using test::sjisLines;

const QStringList Names = makePrefectureNames();

// ---- the UTF-8 nationwide file and split records ------------------------

const QString LongTown =
    u"桜台町（一番地、二番地、三番地、四番地、五番地、六番地、七番地、八番地、九番地、十番地、"
    u"十一番地、十二番地、十三番地、二十番地）"_s;
QString sakuradai(const QString& town) {
    return addressRecord(u"13101"_s, u"1000005"_s, u"ﾄｳｷｮｳﾄ"_s, u"ﾁﾖﾀﾞｸ"_s, u"ｻｸﾗﾀﾞｲﾁｮｳ"_s,
                         u"東京都"_s, u"千代田区"_s, town);
}
const QStringList SplitSakuradai = {
    sakuradai(u"桜台町（一番地、二番地、三番地、四番地、五番地、"_s),
    sakuradai(u"六番地、七番地、八番地、九番地、十番地、"_s),
    sakuradai(u"十一番地、十二番地、十三番地、二十番地）"_s)};

// Tokyo's records as the UTF-8 file writes them.
QByteArray utf8Tokyo(int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text +=
            addressRecord(u"13101"_s, u"13%1"_s.arg(i, 5, 10, QLatin1Char('0')), u"ケン"_s, u"シ"_s,
                          u"チョウ%1"_s.arg(i), u"東京都"_s, u"中央市"_s, u"本町%1丁目"_s.arg(i)) +
            u"\r\n"_s;
    text += addressRecord(u"13101"_s, u"1000005"_s, u"トウキョウト"_s, u"チヨダク"_s,
                          u"サクラダイチョウ"_s, u"東京都"_s, u"千代田区"_s, LongTown) +
            u"\r\n"_s;
    return text.toUtf8();
}

TEST(NationwideForms, TheNewerOfTheTwoFilesIsSplitOneRecordALine) {
    const QDateTime older(QDate(2025, 9, 30), QTime(0, 0));
    const QDateTime newer(QDate(2025, 10, 31), QTime(0, 0));
    for (const bool utf8Newer : {true, false}) {
        test::PrepDirs dirs;
        // The classic file holds 101 numbered towns, the UTF-8 one 102.
        dirs.archive(u"ken_all.zip"_s, "KEN_ALL.CSV",
                     sjisLines(test::prefectureRecords(13, 101) + SplitSakuradai),
                     utf8Newer ? older : newer);
        dirs.archive(u"utf_ken_all.zip"_s, "utf_ken_all.csv", utf8Tokyo(102),
                     utf8Newer ? newer : older);
        test::RecordingHost host;
        test::RecordingMessageBoxes messages;
        test::ManualClock clock;
        const RunOutcome outcome = runNationwide(dirs.folders(), Names, host, messages, clock);
        ASSERT_EQ(outcome.status, RunOutcome::Status::Completed) << outcome.error.toStdString();
        EXPECT_EQ(dirs.dataBytes(u"13tokyo.CSV"_s),
                  sjisLines(test::prefectureRecords(13, utf8Newer ? 102 : 101) +
                            QStringList{sakuradai(LongTown)}));
        const QString note =
            utf8Newer
                ? u"全国一括のﾌｧｲﾙが2つあるため、新しい utf_ken_all.zip（2025/10/31）を使いました"
                  u"（ken_all.zip（2025/09/30）は使っていません）。"_s
                : u"全国一括のﾌｧｲﾙが2つあるため、新しい ken_all.zip（2025/10/31）を使いました"
                  u"（utf_ken_all.zip（2025/09/30）は使っていません）。\n"
                  u"複数行に分割された町域 2 行を、1件の行にまとめました。"_s;
        EXPECT_EQ(finalMessages(RunKind::Nationwide, outcome).value(0).text,
                  completionText(1, 0) + u"\n\n"_s + note);
        EXPECT_EQ(readDataMonth(DataFolder::atPath(dirs.data())), 202510);
    }
}

TEST(PrefectureArchive, IsPlacedWithItsSplitRecordsJoined) {
    test::PrepDirs dirs;
    dirs.archive(u"13tokyo.zip"_s, "13TOKYO.CSV", sjisLines(SplitSakuradai));
    test::RecordingHost host;
    test::RecordingMessageBoxes messages;
    EXPECT_EQ(runPrefectures(dirs.folders(), Names, host, messages).placed, 1);
    EXPECT_EQ(dirs.dataBytes(u"13tokyo.CSV"_s), sjisLines({sakuradai(LongTown)}));
    EXPECT_EQ(QFileInfo(dirs.data() + u"13tokyo.CSV"_s).lastModified(), test::ArchiveTime);
}

// ---- the monthly differences ---------------------------------------------

TEST(DifferenceArchives, AreFoundByMonthUtf8PairFirst) {
    test::PrepDirs dirs;
    for (const char* name : {"add_2603.zip", "DEL_2603.ZIP", "utf_add_2604.zip", "utf_del_2604.zip",
                             "add_2604.zip", "del_2604.zip", "jadd2604.lzh", "jdel2604.zip",
                             "utf_add_2605.zip", "add_2613.zip", "add_26033.zip", "ken_all.zip"})
        dirs.download(QString::fromLatin1(name), "x");
    const std::vector<MonthArchives> found = findDifferenceArchives(dirs.download());
    ASSERT_EQ(found.size(), 3u);
    const auto name = [](const QString& path) { return QFileInfo(path).fileName(); };
    EXPECT_EQ(found[0].month, 202603);
    EXPECT_FALSE(found[0].utf8);
    EXPECT_EQ(name(found[0].addressAdd) + u' ' + name(found[0].addressDel),
              u"add_2603.zip DEL_2603.ZIP"_s);
    EXPECT_TRUE(found[0].officeAdd.isEmpty() && found[0].officeDel.isEmpty());
    EXPECT_EQ(found[1].month, 202604);
    EXPECT_TRUE(found[1].utf8);
    EXPECT_EQ(name(found[1].addressAdd) + u' ' + name(found[1].addressDel) + u' ' +
                  name(found[1].officeAdd) + u' ' + name(found[1].officeDel),
              u"utf_add_2604.zip utf_del_2604.zip jadd2604.lzh jdel2604.zip"_s);
    EXPECT_EQ(found[2].month, 202605);
    EXPECT_TRUE(found[2].addressDel.isEmpty());
}

TEST(Months, AreReadAndWrittenAsTheFilesNameThem) {
    EXPECT_EQ(monthFromYymm(u"2603"), 202603);
    for (const char16_t* bad : {u"2613", u"2600", u"263", u"26a3"})
        EXPECT_EQ(monthFromYymm(bad), 0);
    EXPECT_EQ(yymmText(202603), u"2603"_s);
    EXPECT_EQ(monthText(202603), u"2026年3月"_s);
    EXPECT_EQ(nextMonth(202512), 202601);
    EXPECT_EQ(abolishedText(202603), u"廃止（2026年3月）"_s);
    EXPECT_EQ(newCodeText(u"1234567"_s), u"→ 新しい郵便番号 123-4567"_s);
}

QString tokyo(const QString& local, const QString& code, const QString& muniReading,
              const QString& townReading, const QString& muni, const QString& town,
              const char* flags = ",0,0,0,0,0,0") {
    QString r =
        addressRecord(local, code, u"ﾄｳｷｮｳﾄ"_s, muniReading, townReading, u"東京都"_s, muni, town);
    r.chop(12);
    return r + QString::fromLatin1(flags);
}

ChangeEntry entry(int month, ChangeKind kind, const QString& code, const QString& town) {
    return {month, kind, false, code,
            tokyo(u"13101"_s, code, u"ﾁﾖﾀﾞｸ"_s, u"ﾁﾖﾀﾞ"_s, u"千代田区"_s, town)};
}

TEST(ChangeLog, LinesAreReadBackAsWritten) {
    const ChangeEntry e = entry(202603, ChangeKind::Abolished, u"1000001"_s, u"千代田"_s);
    const QString line = changeLogLine(e);
    EXPECT_EQ(line, u"2603,廃止,住所,1000001,"_s + e.record);
    const std::optional<ChangeEntry> back = parseChangeLogLine(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->month, 202603);
    EXPECT_EQ(back->kind, ChangeKind::Abolished);
    EXPECT_FALSE(back->office);
    EXPECT_EQ(back->record, e.record);
    for (const QString& bad : {u"2603,消去,住所,1000001,x"_s, u"2603,廃止,住所,100001,x"_s,
                               u"26,廃止,住所,1000001,x"_s, u"2603,廃止,住所"_s})
        EXPECT_FALSE(parseChangeLogLine(bad)) << bad.toStdString();
    EXPECT_EQ(changeLine(e), u"2026年3月 廃止 100-0001 東京都千代田区千代田"_s);
}

TEST(ChangeLog, AnswersAnAbolishedCodeWithTheNewCodeOfItsTown) {
    const std::vector<ChangeEntry> log = {
        entry(202603, ChangeKind::Abolished, u"1000001"_s, u"千代田"_s),
        entry(202603, ChangeKind::Added, u"1000009"_s, u"千代田"_s),
        // a changed town: abolished and added under the same code
        entry(202603, ChangeKind::Abolished, u"1000002"_s, u"霞が関"_s),
        entry(202603, ChangeKind::Added, u"1000002"_s, u"霞が関（次のビルを除く）"_s),
        // abolished, then given again a month later
        entry(202603, ChangeKind::Abolished, u"1000003"_s, u"永田町"_s),
        entry(202604, ChangeKind::Added, u"1000003"_s, u"永田町"_s),
        // abolished with no code for its town
        entry(202604, ChangeKind::Abolished, u"1000004"_s, u"隼町"_s),
    };
    const std::vector<AbolishedCode> first = findAbolished(log, u"1000001"_s);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].entry.month, 202603);
    EXPECT_EQ(first[0].newCodes, QStringList{u"1000009"_s});
    for (const QString& living : {u"1000002"_s, u"1000003"_s, u"1000009"_s, u"9999999"_s})
        EXPECT_TRUE(findAbolished(log, living).empty()) << living.toStdString();
    const std::vector<AbolishedCode> alone = findAbolished(log, u"1000004"_s);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_TRUE(alone[0].newCodes.isEmpty());
    EXPECT_EQ(abolishedCodeNote(log, u"1000001"_s),
              u"廃止（2026年3月） → 新しい郵便番号 100-0009"_s);
    EXPECT_EQ(abolishedCodeNote(log, u"1000004"_s), u"廃止（2026年4月）"_s);
    EXPECT_EQ(abolishedCodeNote(log, u"1000002"_s), QString());
}

// ---- the run -----------------------------------------------------------

const QDateTime March(QDate(2026, 3, 31), QTime(0, 0));
const QDateTime April(QDate(2026, 4, 30), QTime(0, 0));

const QString Chiyoda =
    tokyo(u"13101"_s, u"1000001"_s, u"ﾁﾖﾀﾞｸ"_s, u"ﾁﾖﾀﾞ"_s, u"千代田区"_s, u"千代田"_s);
const QString Kasumi =
    tokyo(u"13101"_s, u"1000002"_s, u"ﾁﾖﾀﾞｸ"_s, u"ｶｽﾐｶﾞｾｷ"_s, u"千代田区"_s, u"霞が関"_s);
const QString Nihonbashi =
    tokyo(u"13102"_s, u"1030001"_s, u"ﾁｭｳｵｳｸ"_s, u"ﾆﾎﾝﾊﾞｼ"_s, u"中央区"_s, u"日本橋"_s);
// As the difference files write them: other update columns.
const QString ChiyodaDeleted = tokyo(u"13101"_s, u"1000001"_s, u"ﾁﾖﾀﾞｸ"_s, u"ﾁﾖﾀﾞ"_s, u"千代田区"_s,
                                     u"千代田"_s, ",0,0,0,0,2,5");
const QString KasumiDeleted = tokyo(u"13101"_s, u"1000002"_s, u"ﾁﾖﾀﾞｸ"_s, u"ｶｽﾐｶﾞｾｷ"_s,
                                    u"千代田区"_s, u"霞が関"_s, ",0,0,0,0,2,3");
const QString ChiyodaNew = tokyo(u"13101"_s, u"1000009"_s, u"ﾁﾖﾀﾞｸ"_s, u"ﾁﾖﾀﾞ"_s, u"千代田区"_s,
                                 u"千代田"_s, ",0,0,0,0,1,5");
const QString KasumiNew = tokyo(u"13101"_s, u"1000002"_s, u"ﾁﾖﾀﾞｸ"_s, u"ｶｽﾐｶﾞｾｷ(ﾂｷﾞﾉﾋﾞﾙｦﾉｿﾞｸ)"_s,
                                u"千代田区"_s, u"霞が関（次のビルを除く）"_s, ",0,0,0,0,1,3");
const QString YaesuUtf8 =
    addressRecord(u"13102"_s, u"1030002"_s, u"トウキョウト"_s, u"チュウオウク"_s, u"ヤエス"_s,
                  u"東京都"_s, u"中央区"_s, u"八重洲"_s);
const QString Yaesu =
    tokyo(u"13102"_s, u"1030002"_s, u"ﾁｭｳｵｳｸ"_s, u"ﾔｴｽ"_s, u"中央区"_s, u"八重洲"_s);
const QString Kanagawa = addressRecord(u"14101"_s, u"2200001"_s, u"ｶﾅｶﾞﾜｹﾝ"_s, u"ﾖｺﾊﾏｼ"_s, u"ﾐﾅﾄ"_s,
                                       u"神奈川県"_s, u"横浜市"_s, u"港"_s);

class Update : public testing::Test {
protected:
    void SetUp() override {
        dirs.dataFile(u"13tokyo.CSV"_s, sjisLines({Chiyoda, Kasumi, Nihonbashi}));
        dirs.dataFile(u"14kanaga.CSV"_s, sjisLines({Kanagawa}));
        dirs.dataFile(DataMonthFileName, "2602\r\n");
    }
    void march() const {
        dirs.archive(u"del_2603.zip"_s, "DEL_2603.CSV", sjisLines({ChiyodaDeleted, KasumiDeleted}),
                     March);
        dirs.archive(u"add_2603.zip"_s, "ADD_2603.CSV", sjisLines({ChiyodaNew, KasumiNew}), March);
    }
    void april() const {
        dirs.archive(u"utf_del_2604.zip"_s, "utf_del_2604.csv", "", April);
        dirs.archive(u"utf_add_2604.zip"_s, "utf_add_2604.csv", (YaesuUtf8 + u"\r\n"_s).toUtf8(),
                     April);
    }
    UpdateOutcome run() { return runUpdate(dirs.folders(), Names, host, messages); }
    // What an update must leave alone when it does not complete.
    void expectUnchanged() const {
        EXPECT_EQ(dirs.dataBytes(u"13tokyo.CSV"_s), sjisLines({Chiyoda, Kasumi, Nihonbashi}));
        EXPECT_EQ(dirs.dataBytes(DataMonthFileName), QByteArray("2602\r\n"));
        EXPECT_FALSE(QFileInfo::exists(dirs.data() + ChangeLogFileName));
    }

    test::PrepDirs dirs;
    test::RecordingHost host;
    test::RecordingMessageBoxes messages;
};

TEST_F(Update, AppliesTwoMonthsInOrderAndLogsEveryChange) {
    march();
    april();
    const UpdateOutcome outcome = run();
    ASSERT_EQ(outcome.status, Status::Completed) << outcome.error.toStdString();
    test::expectShown(messages, 0, MessageIcon::Question, u"郵便番号ﾃﾞｰﾀ更新"_s,
                      u"郵便番号ﾃﾞｰﾀを差分ﾌｧｲﾙ（2026年3月～2026年4月）で更新しますか？     "_s,
                      MessageButtons::OkCancel);
    // Deletions first; an addition after the last line of its municipality.
    EXPECT_EQ(dirs.dataBytes(u"13tokyo.CSV"_s),
              sjisLines({ChiyodaNew, KasumiNew, Nihonbashi, Yaesu}));
    EXPECT_EQ(dirs.dataBytes(u"14kanaga.CSV"_s), sjisLines({Kanagawa}));
    EXPECT_EQ(dirs.dataBytes(DataMonthFileName), QByteArray("2604\r\n"));
    // The data's date is the last month's, for every file.
    for (const QString& name : {u"13tokyo.CSV"_s, u"14kanaga.CSV"_s})
        EXPECT_EQ(QFileInfo(dirs.data() + name).lastModified(), April) << name.toStdString();
    EXPECT_EQ(QString::fromUtf8(dirs.dataBytes(ChangeLogFileName)),
              u"2603,廃止,住所,1000001,"_s + Chiyoda + u"\r\n"_s + u"2603,廃止,住所,1000002,"_s +
                  Kasumi + u"\r\n"_s + u"2603,追加,住所,1000009,"_s + ChiyodaNew + u"\r\n"_s +
                  u"2603,追加,住所,1000002,"_s + KasumiNew + u"\r\n"_s +
                  u"2604,追加,住所,1030002,"_s + Yaesu + u"\r\n"_s);
    EXPECT_EQ(outcome.report,
              u"郵便番号ﾃﾞｰﾀ更新完了 ： 2026年3月～2026年4月\n"
              u"追加 3 件、廃止 2 件\n"
              u"\n"
              u"13 東京都 ： 追加 3 件、廃止 2 件\n"
              u"\n"
              u"2026年3月の事業所の差分ﾌｧｲﾙ（jadd2603.zip、jdel2603.zip）がないため、"
              u"事業所のデータは更新していません。\n"
              u"2026年4月の事業所の差分ﾌｧｲﾙ（jadd2604.zip、jdel2604.zip）がないため、"
              u"事業所のデータは更新していません。\n"_s);

    // The same months again change nothing.
    const UpdateOutcome again = run();
    EXPECT_EQ(again.status, Status::Refused);
    EXPECT_EQ(again.message,
              u"データは2026年4月のもので、それより新しい差分ﾌｧｲﾙはありません。     "_s);
    EXPECT_EQ(dirs.dataBytes(u"13tokyo.CSV"_s),
              sjisLines({ChiyodaNew, KasumiNew, Nihonbashi, Yaesu}));
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(Update, AppliesTheBusinessOfficeFilesOfAMonth) {
    const QString office =
        test::officeRecord(u"13101"_s, u"ﾕｳﾋﾞﾝ"_s, u"郵便株式会社"_s, u"東京都"_s, u"千代田区"_s,
                           u"大手町"_s, u"２－３－１"_s, u"1008798"_s);
    const QString newOffice =
        test::officeRecord(u"13101"_s, u"ﾕｳﾋﾞﾝ"_s, u"郵便株式会社"_s, u"東京都"_s, u"千代田区"_s,
                           u"大手町"_s, u"２－３－１"_s, u"1008799"_s);
    dirs.dataFile(u"JIGYOSYO.CSV"_s, sjisLines({office}));
    march();
    dirs.archive(u"jdel2603.zip"_s, "JDEL2603.CSV", sjisLines({office}), March);
    dirs.archive(u"jadd2603.zip"_s, "JADD2603.CSV", sjisLines({newOffice}), March);
    ASSERT_EQ(run().status, Status::Completed);
    EXPECT_EQ(dirs.dataBytes(u"JIGYOSYO.CSV"_s), sjisLines({newOffice}));
    const std::vector<AbolishedCode> abolished =
        findAbolished(readChangeLog(DataFolder::atPath(dirs.data())), u"1008798"_s);
    ASSERT_EQ(abolished.size(), 1u);
    EXPECT_TRUE(abolished[0].entry.office);
    EXPECT_EQ(abolished[0].newCodes, QStringList{u"1008799"_s});
}

TEST_F(Update, RefusesAMissingMonthNamingItAndChangesNothing) {
    const struct {
        const char* what;
        std::vector<const char*> archives;
        QString message;
    } cases[] = {
        {"April without March",
         {"add_2604.zip", "del_2604.zip"},
         u"2026年3月の差分ﾌｧｲﾙ（add_2603.zip、del_2603.zip）がありません。\n"
         u"データは2026年2月のもので、月を飛ばして更新することはできません。\n"
         u"2026年3月の差分ﾌｧｲﾙを用意するか、「全国一括」で最新の全国データを用意してください。     "_s},
        {"March without its deletions",
         {"add_2603.zip"},
         u"2026年3月の差分ﾌｧｲﾙ（del_2603.zip）がありません。\n"
         u"データは2026年2月のもので、月を飛ばして更新することはできません。\n"
         u"2026年3月の差分ﾌｧｲﾙを用意するか、「全国一括」で最新の全国データを用意してください。     "_s},
        {"no difference files",
         {"ken_all.zip"},
         u"差分ﾌｧｲﾙ（add_YYMM.zip、del_YYMM.zip など）がありません。     "_s},
    };
    for (const auto& c : cases) {
        test::PrepDirs fresh;
        for (const char* name : c.archives)
            fresh.download(QString::fromLatin1(name),
                           test::makeZip({test::fileEntry("A.CSV", "")}));
        const UpdateOutcome outcome =
            runUpdate({fresh.download(), dirs.data(), fresh.work()}, Names, host, messages);
        EXPECT_EQ(outcome.status, Status::Refused) << c.what;
        EXPECT_EQ(outcome.message, c.message) << c.what;
        expectUnchanged();
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Update, RefusesWithoutDataSuggestingTheNationwideRun) {
    test::PrepDirs empty;
    march();
    const UpdateOutcome outcome =
        runUpdate({dirs.download(), empty.data(), empty.work()}, Names, host, messages);
    EXPECT_EQ(outcome.status, Status::Refused);
    EXPECT_EQ(outcome.message, u"更新するデータファイルがありません。\n"
                               u"先に「全国一括」で全国のデータを用意してください。     "_s);
}

TEST_F(Update, DamagedArchivePlacesNothing) {
    march();
    QByteArray damaged =
        test::makeZip({test::fileEntry("ADD_2604.CSV", sjisLines({Chiyoda}))}, true);
    damaged.truncate(damaged.size() / 2);
    dirs.download(u"add_2604.zip"_s, damaged);
    dirs.archive(u"del_2604.zip"_s, "DEL_2604.CSV", "", April);
    const UpdateOutcome outcome = run();
    EXPECT_EQ(outcome.status, Status::Failed);
    EXPECT_FALSE(outcome.error.isEmpty());
    expectUnchanged();
}

TEST_F(Update, CommandLineUpdatesListsTheChangesAndAnswersTheOldCode) {
    march();
    const test::CliResult update =
        test::runCli({u"--data"_s, dirs.data(), u"prepare"_s, u"update"_s, dirs.download()});
    EXPECT_EQ(update.exitCode, 0) << update.err.toStdString();
    EXPECT_TRUE(
        update.out.startsWith(u"郵便番号ﾃﾞｰﾀ更新完了 ： 2026年3月\n追加 2 件、廃止 2 件\n"_s))
        << update.out.toStdString();

    const test::CliResult changes =
        test::runCli({u"--data"_s, dirs.data(), u"changes"_s, u"--since"_s, u"2603"_s});
    EXPECT_EQ(changes.out, u"2026年3月 廃止 100-0001 東京都千代田区千代田\n"
                           u"2026年3月 廃止 100-0002 東京都千代田区霞が関\n"
                           u"2026年3月 追加 100-0009 東京都千代田区千代田\n"
                           u"2026年3月 追加 100-0002 東京都千代田区霞が関（次のビルを除く）\n"_s);
    const test::CliResult later =
        test::runCli({u"--data"_s, dirs.data(), u"changes"_s, u"--since"_s, u"2604"_s});
    EXPECT_EQ(later.exitCode, 1);
    EXPECT_EQ(later.out, QString());

    const test::CliResult code = test::runCli({u"--data"_s, dirs.data(), u"code"_s, u"100-0001"_s});
    EXPECT_EQ(code.exitCode, 0);
    EXPECT_EQ(code.out, u"[廃] 100-0001 東京都千代田区千代田 (ﾄｳｷｮｳﾄﾁﾖﾀﾞｸﾁﾖﾀﾞ) 廃止（2026年3月） "
                        u"→ 新しい郵便番号 100-0009\n"_s);
}

} // namespace
} // namespace yubin
