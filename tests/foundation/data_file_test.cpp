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

TEST(DataFileRead, DecodesCodePage932AndRefusesWhatCannotBeRead) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/13tokyo.CSV");
    test::writeFile(path, test::sjisLines({QStringLiteral("\"東京都\",\"ﾄｳｷﾖｳﾄ\"")}));
    EXPECT_EQ(readDecodedFile(path),
              std::optional<QString>(QStringLiteral("\"東京都\",\"ﾄｳｷﾖｳﾄ\"\r\n")));
    EXPECT_EQ(readDecodedFile(dir.path()), std::nullopt);
    EXPECT_EQ(readDecodedFile(dir.path() + QStringLiteral("/missing.csv")), std::nullopt);
}

// Reads like a file whose disk fails after its first bytes.
class FailingDevice final : public QIODevice {
public:
    explicit FailingDevice(QByteArray readable) : readable(std::move(readable)) {
        open(ReadOnly | Unbuffered);
    }

protected:
    qint64 readData(char* data, qint64 max) override {
        const qint64 n = std::min<qint64>(max, readable.size() - done);
        if (n <= 0)
            return -1;
        memcpy(data, readable.constData() + done, size_t(n));
        done += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray readable;
    qint64 done = 0;
};

TEST(DataFileRead, ReadErrorKeepsTheLinesBeforeItAndDropsTheCutOne) {
    FailingDevice device("a,1\r\nb,2\r\nc,");
    EXPECT_EQ(readFileBytes(device), QByteArray("a,1\r\nb,2\r\n"));
}

} // namespace
} // namespace yubin
