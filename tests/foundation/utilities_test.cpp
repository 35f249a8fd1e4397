#include "foundation/utilities.h"

#include "foundation/gui/widgets.h"
#include "support/data_files.h"
#include "support/fakes.h"

#include <QApplication>
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

TEST(ListExtent, WidestEntryReadableToItsEndAfterScrolling) {
    ExtentListWidget list;
    list.resize(120, 200);
    list.setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 10));
    list.show();
    SetListHorizontalExtent(list);
    EXPECT_EQ(list.horizontalExtent(), 10) << "an empty list";

    // More lines than are measured exactly, the widest among them.
    const QString wide = QStringLiteral("060-0000  札幌市中央区以下に掲載がない場合 ■■");
    QStringList lines;
    for (int i = 1; i <= 20; ++i)
        lines << QString(i, QChar(u'ｱ'));
    lines.insert(7, wide);
    list.addItems(lines);
    QApplication::processEvents(); // laid out before its extent is known
    SetListHorizontalExtent(list);
    QApplication::processEvents();
    const int blockWidth = QFontMetrics(list.font()).horizontalAdvance(QStringLiteral("■"));
    EXPECT_EQ(list.horizontalExtent(), QFontMetrics(list.font()).horizontalAdvance(wide) + 10);

    // Scrolled to the end, its last block is painted just left of the 10
    // spare pixels.
    list.horizontalScrollBar()->setValue(list.horizontalScrollBar()->maximum());
    const QImage shown = list.viewport()->grab().toImage();
    const QPoint lastBlock(list.viewport()->width() - 10 - blockWidth / 2,
                           list.visualItemRect(list.item(7)).center().y());
    EXPECT_LT(qGray(shown.pixel(lastBlock)), 128);
}

} // namespace
} // namespace yubin
