#pragma once

// Archives built by the tests themselves: ZIP through libarchive's writer,
// and stored (-lh0-) LZH through a small writer of level-0 headers, which
// can also write what no well-behaved archiver would.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <vector>

namespace yubin::test {

struct TestEntry {
    enum class Kind { File, Directory, Symlink };
    QByteArray name; // raw bytes as stored
    QByteArray data;
    QDateTime modified = QDateTime(QDate(2005, 9, 30), QTime(12, 0));
    Kind kind = Kind::File;
    QByteArray linkTarget;
    QByteArray method = "-lh0-"; // LZH only
};

inline TestEntry fileEntry(const QByteArray& name, const QByteArray& data) {
    TestEntry e;
    e.name = name;
    e.data = data;
    return e;
}

// A ZIP archive; `stored` keeps the data uncompressed so a test can find it.
QByteArray makeZip(const std::vector<TestEntry>& entries, bool stored = false);

// An LZH archive of level-0 headers with the data stored as given.
QByteArray makeLzh(const std::vector<TestEntry>& entries);

// CRC-16 as LZH headers carry it.
quint16 lzhCrc16(const QByteArray& data);

// The folder of the committed archives made by an independent archiver.
QString fixturePath(const QString& name);

} // namespace yubin::test
