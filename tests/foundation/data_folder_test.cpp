#include "foundation/data_folder.h"
#include "foundation/prefectures.h"
#include "foundation/utilities.h"

#include "support/data_files.h"
#include "support/fakes.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace yubin {
namespace {

class DataFolderTest : public testing::Test {
protected:
    QTemporaryDir program;
    QString data() const { return program.path() + QStringLiteral("/DATA/"); }
    void touch(const QString& name) { test::writeFile(data() + name, "x"); }
};

TEST_F(DataFolderTest, IsDataUnderAWritableProgramFolderAndIsCreatedWhenMissing) {
    DataFolder folder(program.path());
    EXPECT_EQ(folder.path(), data());
    EXPECT_FALSE(QDir(data()).exists());
    folder.ensureExists();
    EXPECT_TRUE(QDir(data()).exists());
}

TEST_F(DataFolderTest, ReadOnlyProgramFolderUsesThePerUserDataLocation) {
    test::openToEveryone(program.path());
    QFile::setPermissions(program.path(),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const QString path = program.path();
    EXPECT_TRUE(test::runUnprivileged([path] {
        const DataFolder folder(path);
        const QString perUser =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        return folder.path().startsWith(perUser) && folder.path().endsWith(u"/DATA/");
    }));
}

TEST_F(DataFolderTest, FindDataFileTakesAFileOfTheCodeAndIgnoresOtherNamesAndFolders) {
    for (const char* name : {"13tokyo.CSV", "13tokyo_old.csv", "14kanaga.csv", "1hokkai.csv",
                             "01hokkai.txt", "x01hokkai.csv"})
        touch(QString::fromLatin1(name));
    QDir().mkpath(data() + QStringLiteral("01folder.csv"));
    const DataFolder folder(program.path());
    // Of two, the first the file system lists, an order the test cannot set.
    EXPECT_TRUE(QStringList({"13tokyo.CSV", "13tokyo_old.csv"})
                    .contains(folder.FindDataFile(QStringLiteral("13"))));
    for (const auto& [code, name] :
         {std::pair{"14", "14kanaga.csv"}, {"01", ""}, {"1h", "1hokkai.csv"}})
        EXPECT_EQ(folder.FindDataFile(QString::fromLatin1(code)), QString::fromLatin1(name))
            << code;
    EXPECT_EQ(folder.prefectureFilePath(14), data() + QStringLiteral("14kanaga.csv"));
    // No file: the path is the folder itself, which the readers reject.
    EXPECT_EQ(folder.prefectureFilePath(1), data());
    // One listing for every prefecture gives the same answers.
    const QStringList all = folder.prefectureFileNames();
    for (int i = 1; i <= PrefectureCount; ++i)
        EXPECT_EQ(all[i], folder.FindDataFile(prefectureCode(i))) << i;
}

TEST_F(DataFolderTest, OnlyRegularFilesAndLinksToThemCount) {
    touch(QStringLiteral("real.txt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(data() + QStringLiteral("13tokyo.csv")).constData(), 0600),
              0);
    QFile::link(data() + QStringLiteral("real.txt"), data() + QStringLiteral("14kanaga.csv"));
    QFile::link(data() + QStringLiteral("13tokyo.csv"), data() + QStringLiteral("15niigat.csv"));
    const DataFolder folder(program.path());
    EXPECT_EQ(folder.FindDataFile(QStringLiteral("13")), QString());
    EXPECT_EQ(folder.FindDataFile(QStringLiteral("14")), QStringLiteral("14kanaga.csv"));
    EXPECT_EQ(folder.FindDataFile(QStringLiteral("15")), QString());
    // A writer keeps an open that would wait for one from waiting: a FIFO
    // taken for a file then shows as true instead of hanging the test.
    const int writer = open(QFile::encodeName(data() + QStringLiteral("13tokyo.csv")), O_RDWR);
    for (const char* name : {"13tokyo.csv", "15niigat.csv"}) {
        QString path = data() + QLatin1String(name); // FileExists takes it by reference
        EXPECT_FALSE(FileExists(path)) << name;
    }
    close(writer);
}

TEST_F(DataFolderTest, BusinessOfficeFileIsFoundInAnyCase) {
    const DataFolder folder(program.path());
    EXPECT_EQ(folder.businessOfficeFilePath(), data() + QStringLiteral("JIGYOSYO.CSV"));
    touch(QStringLiteral("jigyosyo.CSV"));
    EXPECT_EQ(folder.businessOfficeFilePath(), data() + QStringLiteral("jigyosyo.CSV"));
}

TEST(DataDate, IsTheDateYearFirst) {
    EXPECT_EQ(dataDateText(QDateTime(QDate(2025, 1, 2), QTime(23, 59, 58))),
              QStringLiteral("ﾃﾞｰﾀ日付：2025/01/02"));
}

} // namespace
} // namespace yubin
