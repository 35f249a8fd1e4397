#include "foundation/single_instance.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace yubin {
namespace {

TEST(SingleInstance, SecondHolderIsRefusedWhileTheFirstRuns) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/yubin.lock");
    SingleInstance first(path);
    ASSERT_TRUE(first.acquire());

    // Another process asking for the same lock is refused.
    const pid_t child = fork();
    if (child == 0) {
        SingleInstance second(path);
        _exit(second.acquire() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

TEST(SingleInstance, LockLeftByAKilledProgramDoesNotBlockTheNextStart) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/yubin.lock");
    const pid_t child = fork();
    if (child == 0) {
        SingleInstance holder(path);
        if (holder.acquire())
            _exit(0); // dies holding the lock: no unlock runs
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(path)) << "the dead program's lock is still there";

    SingleInstance next(path);
    EXPECT_TRUE(next.acquire());
}

} // namespace
} // namespace yubin
