#include "foundation/utilities.h"

#include "support/data_files.h"
#include "support/fakes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin {
namespace {

TEST(FileExists, ReadableFileIsTrueAndEverythingElseFalse) {
    QTemporaryDir dir;
    QString file = dir.path() + QStringLiteral("/13tokyo.CSV");
    test::writeFile(file, "data");
    EXPECT_TRUE(FileExists(file));
    for (QString other : {dir.path() + QStringLiteral("/none.csv"), QString(), dir.path()})
        EXPECT_FALSE(FileExists(other)) << other.toStdString();
    // A folder's trailing separator goes too.
    QString folder = dir.path() + u'/';
    EXPECT_FALSE(FileExists(folder));
    EXPECT_EQ(folder, dir.path());
}

TEST(FileExists, FileLockedAgainstReadingIsFalse) {
    QTemporaryDir dir;
    test::openToEveryone(dir.path());
    const QString file = dir.path() + QStringLiteral("/locked.csv");
    test::writeFile(file, "data");
    QFile::setPermissions(file, QFile::WriteOwner);
    EXPECT_TRUE(test::runUnprivileged([file] {
        QString path = file;
        return !FileExists(path);
    }));
}

TEST(WaitSeconds, EndsAfterTheElapsedTimeWhateverTheClockReads) {
    test::ManualClock clock;
    clock.now = 86'399'900; // just before midnight: an elapsed wait still ends
    clock.stepPerRead = 10;
    WaitSeconds(0.09f, clock);
    EXPECT_GE(clock.now - 86'399'900, 90);
    EXPECT_LE(clock.now - 86'399'900, 110);

    const qint64 before = clock.now;
    WaitSeconds(0.0f, clock);
    WaitSeconds(-1.0f, clock);
    EXPECT_EQ(clock.now, before) << "no wait reads no clock";
}

} // namespace
} // namespace yubin
