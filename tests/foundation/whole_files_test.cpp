#include "foundation/whole_files.h"

#include "support/data_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin {
namespace {

using namespace Qt::StringLiterals;
using test::readAll;

// The second rename of a group fails (its folder went away after the files
// were written): the first target, already replaced, gets its old bytes and
// time back, and a target that did not exist before is gone again.
TEST(StagedFiles, AFailedRenamePutsBackEveryFileAlreadyReplaced) {
    QTemporaryDir dir;
    const QString data = dir.path() + u"/DATA/"_s, gone = dir.path() + u"/gone/"_s;
    QDir().mkpath(data);
    QDir().mkpath(gone);
    const QDateTime published(QDate(2025, 9, 30), QTime(0, 0));
    test::writeFile(data + u"13tokyo.CSV"_s, "old tokyo\r\n");
    QFile old(data + u"13tokyo.CSV"_s);
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(published, QFileDevice::FileModificationTime));
    old.close();

    StagedFiles staged;
    ASSERT_EQ(staged.add(data + u"13tokyo.CSV"_s, "new tokyo\r\n"), QString());
    ASSERT_EQ(staged.add(data + u"14kanaga.CSV"_s, "new kanagawa\r\n"), QString());
    ASSERT_EQ(staged.add(gone + u"27osaka.CSV"_s, "new osaka\r\n"), QString());
    QDir(gone).removeRecursively();
    EXPECT_TRUE(staged.commit().startsWith(u"ファイルに書き込めません。 ("_s));
    EXPECT_EQ(readAll(data + u"13tokyo.CSV"_s), QByteArray("old tokyo\r\n"));
    EXPECT_EQ(QFileInfo(data + u"13tokyo.CSV"_s).lastModified(), published);
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden), QStringList{u"13tokyo.CSV"_s});
}

TEST(WorkFiles, AFullDiskIsNamedAsSuch) {
    QTemporaryDir dir;
    test::writeFile(dir.path() + u"/ken_all.zip"_s, QByteArray(100000, 'x'));
    const QString error = copyWorkFile(dir.path() + u"/ken_all.zip"_s, u"/dev/full"_s);
    EXPECT_TRUE(error.startsWith(u"ディスクの空きが足りません。 (/dev/full: "_s))
        << error.toStdString();
    EXPECT_TRUE(QFileInfo::exists(u"/dev/full"_s)); // a device is never removed
}

} // namespace
} // namespace yubin
