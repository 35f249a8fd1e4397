#include "foundation/data_file.h"

#include "support/data_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace yubin {
namespace {

QStringList linesOf(const QString& text) {
    QStringList lines;
    forEachLine(QStringView(text), [&](QStringView line) { lines << line.toString(); });
    return lines;
}

TEST(DataFileLines, EveryKindOfLineEndEndsALine) {
    EXPECT_EQ(linesOf(QStringLiteral("a\r\nb\nc\rd")), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(linesOf(QStringLiteral("a\r\n\r\nb\r\n")), (QStringList{"a", "", "b"}));
    EXPECT_EQ(linesOf(QStringLiteral("\n")), QStringList{""});
    EXPECT_EQ(linesOf(QString()), QStringList{});
    EXPECT_EQ(linesOf(QStringLiteral("only")), QStringList{"only"});
}

TEST(DataFileLines, BytesSplitTheSameWay) {
    QList<QByteArray> lines;
    forEachLine(QByteArrayView("x\r\ny\rz"), [&](QByteArrayView l) { lines << l.toByteArray(); });
    EXPECT_EQ(lines, (QList<QByteArray>{"x", "y", "z"}));
}

TEST(DataFileRead, DecodesCodePage932AndRefusesWhatCannotBeRead) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/13tokyo.CSV");
    test::writeFile(path, test::sjisLines({QStringLiteral("\"東京都\",\"ﾄｳｷﾖｳﾄ\"")}));
    EXPECT_EQ(readDecodedFile(path),
              std::optional<QString>(QStringLiteral("\"東京都\",\"ﾄｳｷﾖｳﾄ\"\r\n")));
    EXPECT_EQ(readDecodedFile(dir.path()), std::nullopt);
    EXPECT_EQ(readDecodedFile(dir.path() + QStringLiteral("/missing.csv")), std::nullopt);
}

} // namespace
} // namespace yubin
