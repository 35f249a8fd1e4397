#include "foundation/utilities.h"

#include "foundation/gui/widgets.h"
#include "support/data_files.h"
#include "support/fakes.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin {
namespace {

TEST(FileExists, ReadableFileIsTrueAndEverythingElseFalse) {
    QTemporaryDir dir;
    QString file = dir.path() + QStringLiteral("/13tokyo.CSV");
    test::writeFile(file, "data");
    EXPECT_TRUE(FileExists(file));

    QString missing = dir.path() + QStringLiteral("/none.csv");
    EXPECT_FALSE(FileExists(missing));
    QString empty;
    EXPECT_FALSE(FileExists(empty));
    QString folder = dir.path();
    EXPECT_FALSE(FileExists(folder));
}

TEST(FileExists, FolderWithTrailingSeparatorIsFalseAndLosesTheSeparator) {
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/DATA/");
    QDir().mkpath(path);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(path, dir.path() + QStringLiteral("/DATA"));
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

TEST(ListExtent, WidestEntryInTheListsFontPlusTenPixels) {
    ExtentListWidget list;
    list.resize(120, 200);
    list.setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 10));
    list.show();
    SetListHorizontalExtent(list);
    EXPECT_EQ(list.horizontalExtent(), 10) << "an empty list";

    const QString wide =
        QStringLiteral("060-0000  札幌市中央区以下に掲載がない場合 (ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ)");
    list.addItems({QStringLiteral("短い"), wide, QStringLiteral("ｱｲｳ")});
    SetListHorizontalExtent(list);
    const int widest = QFontMetrics(list.font()).horizontalAdvance(wide);
    EXPECT_EQ(list.horizontalExtent(), widest + 10);
    // The scroll range lets the widest entry be read to its end.
    EXPECT_EQ(list.horizontalScrollBar()->maximum(),
              std::max(0, widest + 10 - list.viewport()->width()));
    EXPECT_GT(list.horizontalScrollBar()->maximum(), 0);
}

} // namespace
} // namespace yubin
