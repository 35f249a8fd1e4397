// Two real desktop programs started at the same moment: one keeps running,
// the other ends silently. A program killed on the spot leaves its lock
// file behind, and the next start takes it over.

#include "support/data_files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace yubin {
namespace {

constexpr int StartTimeoutMs = 60000; // a start under the sanitizers on a busy machine

TEST(SingleInstance, OneOfTwoStartsRunsAndAKilledOneDoesNotBlockTheNext) {
    // A program folder of its own, so that the data folder beside the
    // program is not in the build tree, and a home of its own for the
    // per-user lock.
    QTemporaryDir program, home;
    const QString yubin = program.path() + QStringLiteral("/yubin");
    ASSERT_TRUE(QFile::copy(QStringLiteral(YUBIN_PATH), yubin));
    QFile::setPermissions(yubin, QFile::permissions(QStringLiteral(YUBIN_PATH)));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        env.insert(QString::fromLatin1(name), home.path() + u'/' + QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path()); // private: mode 0700
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString lockFile =
        home.path() + QStringLiteral("/XDG_CACHE_HOME/Zunelka/yubin/yubin.lock");
    auto launch = [&] {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->start(yubin, {});
        EXPECT_TRUE(p->waitForStarted(StartTimeoutMs));
        return p;
    };
    // Each round starts on the lock the round before left by being killed.
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        std::unique_ptr<QProcess> pair[2] = {launch(), launch()};
        int ended = -1; // the one that ended first
        for (int waited = 0; ended < 0 && waited < StartTimeoutMs; waited += 50)
            for (int i = 0; i < 2 && ended < 0; ++i)
                if (pair[i]->waitForFinished(25) || pair[i]->state() == QProcess::NotRunning)
                    ended = i;
        ASSERT_GE(ended, 0) << "both kept running";
        QProcess& loser = *pair[ended];
        QProcess& survivor = *pair[1 - ended];
        EXPECT_EQ(loser.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(loser.exitCode(), 0);
        EXPECT_EQ(loser.readAllStandardError(), QByteArray());
        EXPECT_EQ(loser.readAllStandardOutput(), QByteArray());
        // The survivor holds the lock: a third start ends as the loser did.
        const test::CliResult third = test::runProgram(yubin, {}, env);
        EXPECT_EQ(third.exitCode, 0);
        EXPECT_EQ(third.err, QString());
        EXPECT_EQ(survivor.state(), QProcess::Running);
        survivor.kill();
        ASSERT_TRUE(survivor.waitForFinished(StartTimeoutMs));
        EXPECT_TRUE(QFile::exists(lockFile)) << "a killed program leaves its lock";
    }
}

} // namespace
} // namespace yubin
