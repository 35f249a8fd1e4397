#include "data_prep/file_replace.h"
#include "data_prep/file_time.h"
#include "foundation/data_folder.h"
#include "support/data_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Replacing : public testing::Test {
protected:
    QString path(const QString& name) const { return dir.path() + u'/' + name; }
    QStringList names() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QTemporaryDir dir;
};

TEST_F(Replacing, PlacementNameReusesAnEntryOfTheSameNameInAnotherCase) {
    test::writeFile(path(QStringLiteral("13tokyo.CSV")), "old");
    EXPECT_EQ(placementName(dir.path(), QStringLiteral("13TOKYO.CSV")),
              QStringLiteral("13tokyo.CSV"));
    EXPECT_EQ(placementName(dir.path(), QStringLiteral("27osaka.CSV")),
              QStringLiteral("27osaka.CSV"));
}

TEST_F(Replacing, StagedFilesChangeNothingUntilCommitted) {
    test::writeFile(path(QStringLiteral("01hokkai.CSV")), "old hokkaido");
    StagedFiles staged;
    EXPECT_EQ(staged.add(path(QStringLiteral("01hokkai.CSV")), "new hokkaido"), QString());
    EXPECT_EQ(staged.add(path(QStringLiteral("47okinaw.CSV")), "new okinawa"), QString());
    EXPECT_EQ(readAll(path(QStringLiteral("01hokkai.CSV"))), QByteArray("old hokkaido"));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("47okinaw.CSV"))));
    EXPECT_EQ(staged.commit(), QString());
    EXPECT_EQ(readAll(path(QStringLiteral("01hokkai.CSV"))), QByteArray("new hokkaido"));
    EXPECT_EQ(readAll(path(QStringLiteral("47okinaw.CSV"))), QByteArray("new okinawa"));
    EXPECT_EQ(names(),
              (QStringList{QStringLiteral("01hokkai.CSV"), QStringLiteral("47okinaw.CSV")}));
}

TEST_F(Replacing, StagedFilesNotCommittedLeaveTheOldFilesAndNoLeftovers) {
    test::writeFile(path(QStringLiteral("01hokkai.CSV")), "old hokkaido");
    {
        StagedFiles staged;
        EXPECT_EQ(staged.add(path(QStringLiteral("01hokkai.CSV")), "new"), QString());
    }
    EXPECT_EQ(readAll(path(QStringLiteral("01hokkai.CSV"))), QByteArray("old hokkaido"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("01hokkai.CSV")});
}

TEST_F(Replacing, FinishHookSetsTheTimeOfThePlacedFile) {
    const QDateTime when(QDate(2005, 9, 30), QTime(0, 0));
    StagedFiles staged;
    staged.add(path(QStringLiteral("x.CSV")), "data", [&when](QFileDevice& file) {
        file.setFileTime(when, QFileDevice::FileModificationTime);
    });
    ASSERT_EQ(staged.commit(), QString());
    EXPECT_EQ(QFileInfo(path(QStringLiteral("x.CSV"))).lastModified(), when);
}

TEST_F(Replacing, WriteIntoAMissingFolderFailsWithADescription) {
    StagedFiles staged;
    const QString error = staged.add(path(QStringLiteral("none/x.CSV")), "data");
    EXPECT_TRUE(error.startsWith(QStringLiteral("ファイルに書き込めません。 (")))
        << error.toStdString();
}

TEST_F(Replacing, CopyKeepsTheSourceTimeAndReplacesTheTarget) {
    const QString source = path(QStringLiteral("src.CSV"));
    test::writeFile(source, "fresh data");
    const QDateTime when(QDate(2004, 4, 30), QTime(9, 15, 0));
    {
        QFile f(source);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    test::writeFile(path(QStringLiteral("dst.CSV")), "stale");
    EXPECT_EQ(copyFileReplacing(source, path(QStringLiteral("dst.CSV"))), QString());
    EXPECT_EQ(readAll(path(QStringLiteral("dst.CSV"))), QByteArray("fresh data"));
    EXPECT_EQ(QFileInfo(path(QStringLiteral("dst.CSV"))).lastModified(), when);
}

TEST_F(Replacing, CopyOfAMissingSourceIsReportedAndLeavesTheTarget) {
    test::writeFile(path(QStringLiteral("dst.CSV")), "stale");
    EXPECT_EQ(copyFileReplacing(path(QStringLiteral("none.CSV")), path(QStringLiteral("dst.CSV"))),
              QStringLiteral("ファイルが見つかりません。 (none.CSV)"));
    EXPECT_EQ(readAll(path(QStringLiteral("dst.CSV"))), QByteArray("stale"));
}

// ---- file times --------------------------------------------------------

TEST(DataDateParts, AreTheSixPartsOfTheLocalTime) {
    const QDateTime when(QDate(2025, 9, 30), QTime(7, 5, 3));
    EXPECT_EQ(dataDateParts(when),
              (QStringList{QStringLiteral("2025"), QStringLiteral("09"), QStringLiteral("30"),
                           QStringLiteral("07"), QStringLiteral("05"), QStringLiteral("03")}));
    EXPECT_EQ(dateFromParts(dataDateParts(when)), when);
}

struct PartsCase {
    QStringList parts;
    bool valid;
};
void PrintTo(const PartsCase& c, std::ostream* os) {
    *os << c.parts.join(u',').toStdString();
}
class DateFromParts : public testing::TestWithParam<PartsCase> {};

TEST_P(DateFromParts, IsValidOnlyForARealDateAndTime) {
    EXPECT_EQ(dateFromParts(GetParam().parts).isValid(), GetParam().valid)
        << GetParam().parts.join(u',').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Parts, DateFromParts,
                         testing::Values(PartsCase{{"2005", "09", "30", "00", "00", "00"}, true},
                                         PartsCase{{"2024", "02", "29", "23", "59", "59"}, true},
                                         PartsCase{{"2023", "02", "29", "00", "00", "00"}, false},
                                         PartsCase{{"2005", "13", "01", "00", "00", "00"}, false},
                                         PartsCase{{"2005", "09", "30", "24", "00", "00"}, false},
                                         PartsCase{{"", "", "", "", "", ""}, false},
                                         PartsCase{{}, false}));

TEST_F(Replacing, SetFileWriteTimeStampsTheModificationTimeOnly) {
    const QString file = path(QStringLiteral("13tokyo.CSV"));
    test::writeFile(file, "data");
    EXPECT_EQ(SetFileWriteTime(file, {"2005", "09", "30", "10", "20", "30"}), 0);
    EXPECT_EQ(QFileInfo(file).lastModified(), QDateTime(QDate(2005, 9, 30), QTime(10, 20, 30)));
    EXPECT_EQ(readAll(file), QByteArray("data"));
    EXPECT_EQ(dataDateText(QFileInfo(file).lastModified()), QStringLiteral("ﾃﾞｰﾀ日付：2005/09/30"));
}

TEST_F(Replacing, SetFileWriteTimeDoesNothingForInvalidPartsAndReports99ForAMissingFile) {
    const QString file = path(QStringLiteral("13tokyo.CSV"));
    test::writeFile(file, "data");
    const QDateTime before = QFileInfo(file).lastModified();
    EXPECT_EQ(SetFileWriteTime(file, {"2005", "02", "30", "00", "00", "00"}), 0);
    EXPECT_EQ(QFileInfo(file).lastModified(), before);
    EXPECT_EQ(
        SetFileWriteTime(path(QStringLiteral("none.CSV")), {"2005", "09", "30", "0", "0", "0"}),
        99);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("none.CSV"))));
}

} // namespace
} // namespace yubin
