// Two real desktop programs started at the same moment: one keeps running,
// the other ends silently. A program killed on the spot leaves its lock
// file behind, and the next start takes it over.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace yubin {
namespace {

constexpr int StartTimeoutMs = 60000; // a start under the sanitizers on a busy machine

class SingleInstanceRace : public testing::Test {
protected:
    void SetUp() override {
        // A program folder of its own, so that the data folder beside the
        // program is not in the build tree, and a home of its own for the
        // per-user lock.
        ASSERT_TRUE(program.isValid() && home.isValid());
        const QString copy = program.path() + QStringLiteral("/yubin");
        ASSERT_TRUE(QFile::copy(QStringLiteral(YUBIN_PATH), copy));
        QFile::setPermissions(copy, QFile::permissions(QStringLiteral(YUBIN_PATH)));
        env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
            env.insert(QString::fromLatin1(name), home.path() + u'/' + QString::fromLatin1(name));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path() + QStringLiteral("/runtime"));
        QDir().mkpath(home.path() + QStringLiteral("/runtime"));
        QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }

    std::unique_ptr<QProcess> launch() {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setProgram(program.path() + QStringLiteral("/yubin"));
        p->start();
        return p;
    }
    QString lockFile() const {
        return home.path() + QStringLiteral("/XDG_CACHE_HOME/Zunelka/yubin/yubin.lock");
    }

    QTemporaryDir program;
    QTemporaryDir home;
    QProcessEnvironment env;
};

// Waits until one of the two has ended; the index of that one, or -1.
int firstToEnd(std::array<std::unique_ptr<QProcess>, 2>& pair) {
    for (int waited = 0; waited < StartTimeoutMs; waited += 50) {
        for (int i = 0; i < 2; ++i)
            if (pair[size_t(i)]->waitForFinished(25) ||
                pair[size_t(i)]->state() == QProcess::NotRunning)
                return i;
    }
    return -1;
}

TEST_F(SingleInstanceRace, OneOfTwoStartsRunsAndAKilledOneDoesNotBlockTheNext) {
    // Each round starts on the lock the round before left by being killed.
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        std::array<std::unique_ptr<QProcess>, 2> pair{launch(), launch()};
        for (auto& p : pair)
            ASSERT_TRUE(p->waitForStarted(StartTimeoutMs));
        const int ended = firstToEnd(pair);
        ASSERT_GE(ended, 0) << "both kept running";
        QProcess& loser = *pair[size_t(ended)];
        QProcess& survivor = *pair[size_t(1 - ended)];
        EXPECT_EQ(loser.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(loser.exitCode(), 0);
        EXPECT_EQ(loser.readAllStandardError(), QByteArray());
        EXPECT_EQ(loser.readAllStandardOutput(), QByteArray());
        // The survivor holds the lock: it has not ended, and a third start
        // ends as the loser did.
        auto third = launch();
        ASSERT_TRUE(third->waitForFinished(StartTimeoutMs));
        EXPECT_EQ(third->exitCode(), 0);
        EXPECT_EQ(survivor.state(), QProcess::Running);
        survivor.kill();
        ASSERT_TRUE(survivor.waitForFinished(StartTimeoutMs));
        EXPECT_TRUE(QFile::exists(lockFile())) << "a killed program leaves its lock";
    }
}

} // namespace
} // namespace yubin
