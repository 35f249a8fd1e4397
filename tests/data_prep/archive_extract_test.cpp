#include "archive_builders.h"
#include "data_prep/archive_extract.h"
#include "foundation/text.h"
#include "support/data_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin {
namespace {

using test::fileEntry;
using test::makeLzh;
using test::makeZip;
using test::TestEntry;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A temporary folder holding an archive and the folder it is extracted into.
class Extraction : public testing::Test {
protected:
    void SetUp() override { QDir().mkpath(target()); }
    QString target() const { return dir.path() + QStringLiteral("/TOFUKEN/"); }
    QString archive(const QString& name, const QByteArray& bytes) const {
        const QString path = dir.path() + u'/' + name;
        test::writeFile(path, bytes);
        return path;
    }
    QStringList targetNames() const {
        return QDir(target()).entryList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    }
    // Everything under the temporary folder except the target's own files.
    QStringList strayFiles() const {
        QStringList found;
        const QStringList all = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        for (const QString& name : all)
            if (name != QLatin1String("TOFUKEN") && !name.endsWith(QLatin1String(".lzh")) &&
                !name.endsWith(QLatin1String(".zip")))
                found << name;
        return found;
    }
    QTemporaryDir dir;
};

// ---- entry names -------------------------------------------------------

struct NameCase {
    const char* stored;
    const char* placed;
};
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << '"' << c.stored << '"';
}
class FlatEntryName : public testing::TestWithParam<NameCase> {};

TEST_P(FlatEntryName, KeepsOnlyTheLastComponent) {
    EXPECT_EQ(flatEntryName(QString::fromUtf8(GetParam().stored)),
              QString::fromUtf8(GetParam().placed));
}

INSTANTIATE_TEST_SUITE_P(
    Names, FlatEntryName,
    testing::Values(NameCase{"KEN_ALL.CSV", "KEN_ALL.CSV"},
                    NameCase{"data/13tokyo.CSV", "13tokyo.CSV"},
                    NameCase{"..\\..\\evil.CSV", "evil.CSV"},
                    NameCase{"../../../etc/passwd", "passwd"}, NameCase{"/etc/cron.d/job", "job"},
                    NameCase{"C:\\Windows\\x.CSV", "x.CSV"}, NameCase{"folder/", ""},
                    NameCase{"..", ""}, NameCase{"a/..", ""}, NameCase{".", ""}, NameCase{"", ""}));

TEST(FindNameNoCase, ReturnsTheFirstNameEqualInAnyCase) {
    const QStringList names = {QStringLiteral("readme.txt"), QStringLiteral("13Tokyo.csv"),
                               QStringLiteral("13TOKYO.CSV")};
    EXPECT_EQ(findNameNoCase(names, QStringLiteral("13tokyo.CSV")), QStringLiteral("13Tokyo.csv"));
    EXPECT_EQ(findNameNoCase(names, QStringLiteral("13tokyo2.CSV")), QString());
}

// ---- well-formed archives ----------------------------------------------

TEST_F(Extraction, StoredLzhPlacesItsFilesWithTheirBytesAndStoredTime) {
    TestEntry a = fileEntry("13tokyo.CSV", test::sjisLines({QStringLiteral("東京都,ﾄｳｷｮｳ")}));
    TestEntry b = fileEntry("readme.txt", "postal data\r\n");
    b.modified = QDateTime(QDate(2004, 1, 31), QTime(8, 30, 10));
    const ExtractResult r = extractArchiveFlat(archive("13tokyo.lzh", makeLzh({a, b})), target());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.placed, (QStringList{QStringLiteral("13tokyo.CSV"), QStringLiteral("readme.txt")}));
    EXPECT_EQ(readAll(target() + QStringLiteral("13tokyo.CSV")), a.data);
    EXPECT_EQ(readAll(target() + QStringLiteral("readme.txt")), b.data);
    EXPECT_EQ(QFileInfo(target() + QStringLiteral("13tokyo.CSV")).lastModified(), a.modified);
    EXPECT_EQ(QFileInfo(target() + QStringLiteral("readme.txt")).lastModified(), b.modified);
}

TEST_F(Extraction, ZipPlacesItsFilesWithTheirBytesAndStoredTime) {
    TestEntry a = fileEntry("KEN_ALL.CSV", QByteArray(200000, 'x') + "\r\n");
    a.modified = QDateTime(QDate(2025, 9, 30), QTime(0, 0));
    const ExtractResult r = extractArchiveFlat(archive("ken_all.zip", makeZip({a})), target());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.placed, QStringList{QStringLiteral("KEN_ALL.CSV")});
    EXPECT_EQ(readAll(target() + QStringLiteral("KEN_ALL.CSV")), a.data);
    EXPECT_EQ(QFileInfo(target() + QStringLiteral("KEN_ALL.CSV")).lastModified(), a.modified);
}

// lh5, lh6 and lh7 archives made by jLHA, an archiver independent of
// libarchive, hold the same 150-line file.
class IndependentLzh : public Extraction, public testing::WithParamInterface<const char*> {};

TEST_P(IndependentLzh, ExtractsExactlyTheArchivedFile) {
    const QString source = test::fixturePath(QString::fromLatin1(GetParam()) + "/13tokyo.lzh");
    const ExtractResult r = extractArchiveFlat(source, target());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.placed, QStringList{QStringLiteral("13tokyo.CSV")});
    const QByteArray expected = readAll(test::fixturePath(QStringLiteral("13tokyo.CSV")));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(readAll(target() + QStringLiteral("13tokyo.CSV")), expected);
    EXPECT_EQ(QFileInfo(target() + QStringLiteral("13tokyo.CSV")).lastModified().date(),
              QDate(2005, 9, 30));
}

INSTANTIATE_TEST_SUITE_P(Methods, IndependentLzh, testing::Values("lh5", "lh6", "lh7"));

TEST_F(Extraction, Cp932NameWithTrailByte5CIsOneNameNotAFolder) {
    // "表" is 0x95 0x5C in code page 932: its trail byte is a backslash.
    const QByteArray name = text::encodeCp932(QStringLiteral("表示データ.CSV"));
    ASSERT_EQ(name.at(1), '\\');
    const ExtractResult r =
        extractArchiveFlat(archive("x.lzh", makeLzh({fileEntry(name, "data\r\n")})), target());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.placed, QStringList{QStringLiteral("表示データ.CSV")});
    EXPECT_EQ(readAll(target() + QStringLiteral("表示データ.CSV")), QByteArray("data\r\n"));
}

TEST_F(Extraction, ReplacesAFileOfTheSameNameAndWritesNoOtherPlace) {
    test::writeFile(target() + QStringLiteral("13tokyo.CSV"), "old contents that are longer");
    const ExtractResult r = extractArchiveFlat(
        archive("13tokyo.zip", makeZip({fileEntry("13tokyo.CSV", "new")})), target());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(readAll(target() + QStringLiteral("13tokyo.CSV")), QByteArray("new"));
    EXPECT_EQ(targetNames(), QStringList{QStringLiteral("13tokyo.CSV")});
}

TEST_F(Extraction, FoldersInTheArchiveAreFlattened) {
    TestEntry folder;
    folder.name = "zipcode/";
    folder.kind = TestEntry::Kind::Directory;
    const ExtractResult r = extractArchiveFlat(
        archive("a.zip", makeZip({folder, fileEntry("zipcode/lzh/KEN_ALL.CSV", "line\r\n")})),
        target());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.placed, QStringList{QStringLiteral("KEN_ALL.CSV")});
    EXPECT_EQ(r.skipped, 1);
    EXPECT_EQ(targetNames(), QStringList{QStringLiteral("KEN_ALL.CSV")});
}

// ---- hostile archives --------------------------------------------------

struct TraversalCase {
    const char* format;
    const char* name;
};
void PrintTo(const TraversalCase& c, std::ostream* os) {
    *os << c.format << " \"" << c.name << '"';
}
class Traversal : public Extraction, public testing::WithParamInterface<TraversalCase> {};

TEST_P(Traversal, NameLeadingOutsideLandsFlatInTheTarget) {
    const bool zip = QByteArray(GetParam().format) == "zip";
    const std::vector<TestEntry> entries = {fileEntry(GetParam().name, "planted\r\n")};
    const QString path = archive(zip ? QStringLiteral("t.zip") : QStringLiteral("t.lzh"),
                                 zip ? makeZip(entries) : makeLzh(entries));
    const ExtractResult r = extractArchiveFlat(path, target());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.placed, QStringList{QStringLiteral("evil.CSV")});
    EXPECT_EQ(targetNames(), QStringList{QStringLiteral("evil.CSV")});
    EXPECT_TRUE(strayFiles().isEmpty()) << strayFiles().join(u' ').toStdString();
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/evil.CSV")));
}

INSTANTIATE_TEST_SUITE_P(Names, Traversal,
                         testing::Values(TraversalCase{"zip", "../evil.CSV"},
                                         TraversalCase{"zip", "../../../../../../tmp/evil.CSV"},
                                         TraversalCase{"zip", "/tmp/evil.CSV"},
                                         TraversalCase{"lzh", "..\\evil.CSV"},
                                         TraversalCase{"lzh", "../../tmp/evil.CSV"},
                                         TraversalCase{"lzh", "/tmp/evil.CSV"}));

TEST_F(Extraction, SymlinkEntryIsSkippedAndNothingIsWrittenThroughIt) {
    TestEntry link;
    link.name = "KEN_ALL.CSV";
    link.kind = TestEntry::Kind::Symlink;
    link.linkTarget = QFile::encodeName(dir.path() + QStringLiteral("/outside.CSV"));
    const ExtractResult r = extractArchiveFlat(
        archive("l.zip", makeZip({link, fileEntry("KEN_ALL.CSV", "through the link\r\n")})),
        target());
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.skipped, 1);
    const QFileInfo placed(target() + QStringLiteral("KEN_ALL.CSV"));
    EXPECT_FALSE(placed.isSymLink());
    EXPECT_EQ(readAll(placed.filePath()), QByteArray("through the link\r\n"));
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/outside.CSV")));
}

TEST_F(Extraction, SymlinkAlreadyInTheTargetIsReplacedNotFollowed) {
    const QString outside = dir.path() + QStringLiteral("/outside.CSV");
    test::writeFile(outside, "must stay");
    ASSERT_TRUE(QFile::link(outside, target() + QStringLiteral("13tokyo.CSV")));
    const ExtractResult r = extractArchiveFlat(
        archive("13tokyo.zip", makeZip({fileEntry("13tokyo.CSV", "new")})), target());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(readAll(outside), QByteArray("must stay"));
    EXPECT_FALSE(QFileInfo(target() + QStringLiteral("13tokyo.CSV")).isSymLink());
}

TEST_F(Extraction, TruncatedArchiveFailsWithLibarchivesDescriptionAndLeavesNoPartialFile) {
    const QByteArray whole = makeLzh({fileEntry("KEN_ALL.CSV", QByteArray(5000, 'a'))});
    const ExtractResult r =
        extractArchiveFlat(archive("ken_all.lzh", whole.left(whole.size() / 2)), target());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("runcated"))) << r.error.toStdString();
    EXPECT_TRUE(targetNames().isEmpty());
}

TEST_F(Extraction, TruncatedZipFails) {
    const QByteArray whole = makeZip({fileEntry("KEN_ALL.CSV", QByteArray(50000, 'a'))}, true);
    const ExtractResult r =
        extractArchiveFlat(archive("ken_all.zip", whole.left(whole.size() / 2)), target());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(targetNames().isEmpty());
}

class WrongChecksum : public Extraction, public testing::WithParamInterface<const char*> {};

TEST_P(WrongChecksum, DamagedDataFailsAndLeavesNoPartialFile) {
    const bool zip = QByteArray(GetParam()) == "zip";
    const QByteArray data = QByteArray("0123456789").repeated(100);
    const std::vector<TestEntry> entries = {fileEntry("KEN_ALL.CSV", data)};
    QByteArray bytes = zip ? makeZip(entries, true) : makeLzh(entries);
    const qsizetype at = bytes.indexOf(data);
    ASSERT_GE(at, 0);
    bytes[at + 500] = 'X';
    const ExtractResult r = extractArchiveFlat(
        archive(zip ? QStringLiteral("k.zip") : QStringLiteral("k.lzh"), bytes), target());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("CRC"))) << r.error.toStdString();
    EXPECT_TRUE(targetNames().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Formats, WrongChecksum, testing::Values("zip", "lzh"));

TEST_F(Extraction, DamagedLzhHeaderFails) {
    QByteArray bytes = makeLzh({fileEntry("KEN_ALL.CSV", "data")});
    bytes[1] = char(bytes[1] + 1); // header checksum
    const ExtractResult r = extractArchiveFlat(archive("k.lzh", bytes), target());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST_F(Extraction, FileThatIsNoArchiveFails) {
    const ExtractResult r = extractArchiveFlat(
        archive("ken_all.lzh", "this is a text file, not an archive\n"), target());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_TRUE(targetNames().isEmpty());
}

TEST_F(Extraction, MissingArchiveFails) {
    const ExtractResult r = extractArchiveFlat(dir.path() + QStringLiteral("/none.lzh"), target());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.isEmpty());
}

// libarchive decodes -lh0- and -lh5- to -lh7-, the methods postal archives
// use; older ones end the run with its description, naming the method.
class OldLzhMethod : public Extraction, public testing::WithParamInterface<const char*> {};

TEST_P(OldLzhMethod, FailsWithLibarchivesDescriptionNamingTheMethod) {
    TestEntry e = fileEntry("KEN_ALL.CSV", "data");
    e.method = GetParam();
    const ExtractResult r = extractArchiveFlat(archive("k.lzh", makeLzh({e})), target());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QString::fromLatin1(GetParam()))) << r.error.toStdString();
    EXPECT_TRUE(targetNames().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Methods, OldLzhMethod, testing::Values("-lh1-", "-lh4-", "-lzs-"));

class Oversized : public Extraction, public testing::WithParamInterface<const char*> {};

TEST_P(Oversized, EntryAboveTheLimitIsRefusedAndNotWritten) {
    const bool zip = QByteArray(GetParam()) == "zip";
    const std::vector<TestEntry> entries = {fileEntry("small.CSV", "ok"),
                                            fileEntry("KEN_ALL.CSV", QByteArray(4096, 'a'))};
    const ExtractResult r =
        extractArchiveFlat(archive(zip ? QStringLiteral("k.zip") : QStringLiteral("k.lzh"),
                                   zip ? makeZip(entries) : makeLzh(entries)),
                           target(), 4000);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, QStringLiteral("書庫の中のファイルが大きすぎます。 (KEN_ALL.CSV)"));
    EXPECT_EQ(targetNames(), QStringList{QStringLiteral("small.CSV")});
}

INSTANTIATE_TEST_SUITE_P(Formats, Oversized, testing::Values("zip", "lzh"));

TEST_F(Extraction, ArchiveAboveTheLimitInAllIsRefusedThoughEachEntryIsBelow) {
    const std::vector<TestEntry> entries = {fileEntry("a.CSV", QByteArray(3000, 'a')),
                                            fileEntry("b.CSV", QByteArray(3000, 'b'))};
    const ExtractResult r = extractArchiveFlat(archive("k.lzh", makeLzh(entries)), target(), 4000);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, QStringLiteral("書庫の中のファイルが大きすぎます。 (b.CSV)"));
    EXPECT_EQ(targetNames(), QStringList{QStringLiteral("a.CSV")});
}

} // namespace
} // namespace yubin
