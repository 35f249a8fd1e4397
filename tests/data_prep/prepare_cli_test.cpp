#include "archive_builders.h"
#include "foundation/prefectures.h"
#include "prep_support.h"
#include "support/data_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <sys/resource.h>

namespace yubin {
namespace {

using test::fileEntry;
using test::makeLzh;
using test::makeZip;

struct CliRun {
    int exitCode = -1;
    bool crashed = false;
    QString out;
    QString err;
};

// yubin-cli with a hook that runs in the child before it starts.
CliRun runCli(const QStringList& args, const std::function<void()>& inChild = {}) {
    QProcess process;
    if (inChild)
        process.setChildProcessModifier(inChild);
    process.start(QStringLiteral(YUBIN_CLI_PATH), args);
    CliRun run;
    if (!process.waitForFinished(120000)) {
        ADD_FAILURE() << "yubin-cli did not finish";
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = run.crashed ? -1 : process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

class PrepareCli : public testing::Test {
protected:
    CliRun prepare(const char* which, const std::function<void()>& inChild = {}) {
        return runCli({QStringLiteral("--data"), dirs.data(), QStringLiteral("prepare"),
                       QString::fromLatin1(which), dirs.download()},
                      inChild);
    }
    QByteArray office() const {
        return test::sjisLines({test::officeRecord(
            QStringLiteral("13101"), QStringLiteral("ﾕｳﾋﾞﾝ"), QStringLiteral("郵便"),
            QStringLiteral("東京都"), QStringLiteral("千代田区"), QStringLiteral("大手町"),
            QStringLiteral("１"), QStringLiteral("1008798"))});
    }
    test::PrepDirs dirs;
};

TEST_F(PrepareCli, NationwideRunPrintsProgressAndTheCompletionMessage) {
    QStringList records = test::prefectureRecords(13, 150);
    records << test::prefectureRecords(14, 120);
    dirs.download(QStringLiteral("ken_all.zip"),
                  makeZip({fileEntry("KEN_ALL.CSV", test::nationwideBytes(records))}));
    dirs.download(QStringLiteral("jigyosyo.lzh"), makeLzh({fileEntry("JIGYOSYO.CSV", office())}));
    const CliRun run = prepare("nationwide");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("郵便番号ﾃﾞｰﾀ解凍完了数 ： 2＋1 件    \n\n"
                                      "郵便番号ﾃﾞｰﾀの解凍が完了しました。     \n"));
    EXPECT_EQ(run.err,
              QStringLiteral("解凍中\n東京都 1 行\n神奈川県 151 行\nデータコピー中 270 行\n"));
    EXPECT_EQ(dirs.dataNames(),
              (QStringList{QStringLiteral("13tokyo.CSV"), QStringLiteral("14kanaga.CSV"),
                           QStringLiteral("JIGYOSYO.CSV")}));
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("14kanaga.CSV")),
              test::nationwideBytes(test::prefectureRecords(14, 120)));
}

TEST_F(PrepareCli, PrefectureRunPrintsEachPrefecture) {
    dirs.download(QStringLiteral("13tokyo.lzh"), makeLzh({fileEntry("13tokyo.CSV", "tokyo\r\n")}));
    dirs.download(QStringLiteral("27osaka.zip"), makeZip({fileEntry("27osaka.CSV", "osaka\r\n")}));
    const CliRun run = prepare("prefectures");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("郵便番号ﾃﾞｰﾀ解凍完了数 ： 2 件    \n\n"
                                      "郵便番号ﾃﾞｰﾀの解凍が完了しました。     \n"));
    EXPECT_EQ(run.err, QStringLiteral("東京都\n大阪府\n"));
    EXPECT_EQ(dirs.dataBytes(QStringLiteral("27osaka.CSV")), QByteArray("osaka\r\n"));
}

TEST_F(PrepareCli, FailureGoesToStderrWithExitOne) {
    dirs.download(QStringLiteral("13tokyo.lzh"), "not an archive");
    const CliRun run = prepare("prefectures");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("ｴﾗｰ ： "))) << run.err.toStdString();
    EXPECT_GT(run.err.size(), 7);
    EXPECT_TRUE(run.err.endsWith(u'\n'));
    EXPECT_EQ(run.err.count(u'\n'), 1);
}

TEST_F(PrepareCli, NothingToPlaceTellsWhyWithExitOne) {
    const CliRun run = prepare("nationwide");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("郵便番号(全国一括)LZHﾌｧｲﾙがありません。     \n"));
    EXPECT_EQ(run.out, QStringLiteral("解凍された郵便番号ﾃﾞｰﾀはありません。    \n"));
}

TEST_F(PrepareCli, SkippedLinesAreReported) {
    QStringList records = test::prefectureRecords(47, 101);
    records << QStringLiteral("99999,\"no prefecture on this line\"");
    dirs.download(QStringLiteral("ken_all.zip"),
                  makeZip({fileEntry("KEN_ALL.CSV", test::nationwideBytes(records))}));
    const CliRun run = prepare("nationwide");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(QStringLiteral("都道府県名のない行 1 行を読み飛ばしました。\n")))
        << run.err.toStdString();
}

struct UsageCase {
    QStringList args;
};
void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.args.join(u' ').toStdString();
}
class PrepareUsage : public testing::TestWithParam<UsageCase> {};

TEST_P(PrepareUsage, MisuseIsAUsageError) {
    const CliRun run = runCli(GetParam().args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("yubin-cli: "))) << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Arguments, PrepareUsage,
                         testing::Values(UsageCase{{"prepare"}},
                                         UsageCase{{"prepare", "nationwide"}},
                                         UsageCase{{"prepare", "everything", "/tmp"}},
                                         UsageCase{{"prepare", "nationwide", "/no/such/folder"}},
                                         UsageCase{{"prepare", "prefectures", "/"}}));

// ---- a write that fails part-way ---------------------------------------

// The nationwide file with LF line ends: each placed line gains a CR, so the
// prefecture file comes out larger than the extracted file. A file-size
// limit equal to the extracted file lets the extraction pass and stops the
// write of the prefecture file part-way.
class FailingWrite : public PrepareCli {
protected:
    void SetUp() override {
        dirs.dataFile(QStringLiteral("13tokyo.CSV"), previousTokyo);
        dirs.dataFile(QStringLiteral("27osaka.CSV"), previousOsaka);
        const QByteArray kenAll = test::sjisLines(test::prefectureRecords(13, 400), "\n");
        limit = kenAll.size();
        dirs.download(QStringLiteral("ken_all.zip"), makeZip({fileEntry("KEN_ALL.CSV", kenAll)}));
    }
    void expectPreviousFilesWhole() const {
        QStringList csv;
        for (const QString& name : dirs.dataNames())
            if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
                csv << name;
        EXPECT_EQ(csv, (QStringList{QStringLiteral("13tokyo.CSV"), QStringLiteral("27osaka.CSV")}));
        EXPECT_EQ(dirs.dataBytes(QStringLiteral("13tokyo.CSV")), previousTokyo);
        EXPECT_EQ(dirs.dataBytes(QStringLiteral("27osaka.CSV")), previousOsaka);
    }
    const QByteArray previousTokyo = test::nationwideBytes(test::prefectureRecords(13, 3));
    const QByteArray previousOsaka = test::nationwideBytes(test::prefectureRecords(27, 3));
    rlim_t limit = 0;
};

TEST_F(FailingWrite, RefusedWriteEndsTheRunWithAnErrorAndTheOldFilesWhole) {
    const rlim_t max = limit;
    const CliRun run = prepare("nationwide", [max] {
        std::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG
        const rlimit l{max, max};
        setrlimit(RLIMIT_FSIZE, &l);
    });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("ｴﾗｰ ： ファイルに書き込めません。 (")))
        << run.err.toStdString();
    expectPreviousFilesWhole();
    EXPECT_EQ(dirs.dataNames().size(), 2) << dirs.dataNames().join(u' ').toStdString();
}

TEST_F(FailingWrite, ProcessKilledWhileWritingLeavesTheOldFilesWhole) {
    const rlim_t max = limit;
    const CliRun run = prepare("nationwide", [max] {
        const rlimit l{max, max}; // SIGXFSZ ends the process mid-write
        setrlimit(RLIMIT_FSIZE, &l);
    });
    EXPECT_TRUE(run.crashed);
    expectPreviousFilesWhole();
}

} // namespace
} // namespace yubin
