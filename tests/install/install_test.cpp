// What a new user meets: the first start fills an empty data folder from the
// bundled archives, the install puts everything in its place and the desktop
// entry is valid.

#include "data_prep/bundled_data.h"
#include "foundation/data_folder.h"
#include "foundation/prefectures.h"
#include "support/data_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin {
namespace {

const QString Source = QStringLiteral(YUBIN_SOURCE_DIR);
const QString Build = QStringLiteral(YUBIN_BUILD_DIR);

using test::runProgram;

TEST(FirstRun, FillsAnEmptyDataFolderFromTheBundledArchivesOnce) {
    QTemporaryDir folder;
    const DataFolder data = DataFolder::atPath(folder.path() + QStringLiteral("/DATA/"));
    QTextStream err(stderr);
    const QString bundled = Source + QStringLiteral("/resources/data");
    EXPECT_FALSE(fillFromBundledData(data, folder.path() + QStringLiteral("/none"), err));
    ASSERT_TRUE(fillFromBundledData(data, bundled, err));
    for (int i = 1; i <= PrefectureCount; ++i) {
        const QString path =
            data.path() + QString::fromLatin1(prefectureTable()[size_t(i - 1)].splitFile);
        ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        // Dated with the published data, not the day of the first start.
        EXPECT_EQ(QFileInfo(path).lastModified(), QDateTime(QDate(2025, 9, 30), QTime(0, 0)))
            << path.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(data.businessOfficeFilePath()));

    // The next start finds the data and leaves it alone.
    QFile::remove(data.path() + QStringLiteral("47okinaw.CSV"));
    EXPECT_FALSE(fillFromBundledData(data, bundled, err));
    EXPECT_FALSE(QFileInfo::exists(data.path() + QStringLiteral("47okinaw.CSV")));
}

TEST(Install, PutsProgramsDataDesktopEntryAndIconInTheirPlaces) {
    QTemporaryDir prefix;
    const test::CliResult install =
        runProgram(QStringLiteral("cmake"),
                   {QStringLiteral("--install"), Build, QStringLiteral("--prefix"), prefix.path()});
    ASSERT_EQ(install.exitCode, 0) << install.err.toStdString();
    for (const char* file :
         {"bin/yubin", "bin/yubin-cli", "libexec/yubin/yubin-cli-full",
          "share/yubin/data/ken_all.zip", "share/yubin/data/jigyosyo.zip",
          "share/applications/yubin.desktop", "share/icons/hicolor/scalable/apps/yubin.svg"})
        EXPECT_TRUE(QFileInfo::exists(prefix.path() + u'/' + QLatin1String(file))) << file;
    // An installed copy keeps its data per user.
    const DataFolder installed(prefix.path() + QStringLiteral("/bin"));
    EXPECT_TRUE(installed.path().startsWith(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
}

// Only system libraries are loaded, and only from the system's folders: a run
// path would let a library in the user's current folder be loaded instead.
// yubin-cli loads Qt Core alone; what draws or reads archives runs in
// yubin-cli-full.
TEST(Install, ProgramsLoadOnlyWhatTheyNeedFromTheSystem) {
    const struct {
        const char* program;
        bool graphics;
    } cases[] = {{"/bin/yubin", true}, {"/bin/yubin-cli", false}, {"/bin/yubin-cli-full", true}};
    for (const auto& c : cases) {
        const test::CliResult r =
            runProgram(QStringLiteral("readelf"), {QStringLiteral("-d"), Build + c.program});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(u"[libQt6Core.so.6]"_qs)) << c.program;
        EXPECT_EQ(r.out.contains(u"[libQt6Gui.so.6]"_qs), c.graphics) << c.program;
        EXPECT_FALSE(r.out.contains(u"RUNPATH"_qs) || r.out.contains(u"RPATH"_qs)) << c.program;
    }
}

// Without yubin-cli-full beside it, a drawing verb says so and fails.
TEST(Install, CommandLineWithoutItsFullProgramSaysSo) {
    QTemporaryDir folder;
    const QString alone = folder.path() + QStringLiteral("/yubin-cli");
    ASSERT_TRUE(QFile::copy(Build + QStringLiteral("/bin/yubin-cli"), alone));
    const test::CliResult r =
        runProgram(alone, {QStringLiteral("barcode"), QStringLiteral("1000013")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith(u"yubin-cli: "_qs + folder.path() +
                                 u"/yubin-cli-full を起動できません"_qs))
        << r.err.toStdString();
}

TEST(Install, DesktopEntryIsValid) {
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    ASSERT_FALSE(validator.isEmpty()) << "desktop-file-utils is in scripts/packages.txt";
    const test::CliResult r =
        runProgram(validator, {Source + QStringLiteral("/resources/yubin.desktop")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

} // namespace
} // namespace yubin
