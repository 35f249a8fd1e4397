#include "archive_builders.h"

#include <archive.h>
#include <archive_entry.h>

#include <gtest/gtest.h>

#include <vector>

namespace yubin::test {

QByteArray makeZip(const std::vector<TestEntry>& entries, bool stored) {
    qsizetype total = 1 << 20;
    for (const TestEntry& e : entries)
        total += 2 * e.data.size() + e.name.size() + 1024;
    std::vector<char> buffer(static_cast<size_t>(total));
    size_t used = 0;
    struct archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    if (stored)
        archive_write_set_options(a, "zip:compression=store");
    EXPECT_EQ(archive_write_open_memory(a, buffer.data(), buffer.size(), &used), ARCHIVE_OK);
    for (const TestEntry& e : entries) {
        struct archive_entry* entry = archive_entry_new();
        archive_entry_copy_pathname(entry, e.name.constData());
        archive_entry_set_mtime(entry, e.modified.toSecsSinceEpoch(), 0);
        switch (e.kind) {
        case TestEntry::Kind::File:
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_perm(entry, 0644);
            archive_entry_set_size(entry, e.data.size());
            break;
        case TestEntry::Kind::Directory:
            archive_entry_set_filetype(entry, AE_IFDIR);
            archive_entry_set_perm(entry, 0755);
            archive_entry_set_size(entry, 0);
            break;
        case TestEntry::Kind::Symlink:
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_perm(entry, 0777);
            archive_entry_copy_symlink(entry, e.linkTarget.constData());
            archive_entry_set_size(entry, 0);
            break;
        }
        EXPECT_EQ(archive_write_header(a, entry), ARCHIVE_OK) << archive_error_string(a);
        if (e.kind == TestEntry::Kind::File && !e.data.isEmpty()) {
            EXPECT_EQ(archive_write_data(a, e.data.constData(), size_t(e.data.size())),
                      e.data.size());
        }
        archive_entry_free(entry);
    }
    EXPECT_EQ(archive_write_close(a), ARCHIVE_OK) << archive_error_string(a);
    archive_write_free(a);
    return QByteArray(buffer.data(), qsizetype(used));
}

quint16 lzhCrc16(const QByteArray& data) {
    quint16 crc = 0;
    for (char c : data) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

namespace {

void put32(QByteArray& out, quint32 v) {
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

quint32 dosTime(const QDateTime& t) {
    const QDate d = t.date();
    const QTime h = t.time();
    const quint32 date = quint32((d.year() - 1980) << 9 | d.month() << 5 | d.day());
    const quint32 time = quint32(h.hour() << 11 | h.minute() << 5 | h.second() / 2);
    return date << 16 | time;
}

} // namespace

QByteArray makeLzh(const std::vector<TestEntry>& entries) {
    QByteArray out;
    for (const TestEntry& e : entries) {
        const bool directory = e.kind == TestEntry::Kind::Directory;
        QByteArray header;
        header.append(directory ? QByteArray("-lhd-") : e.method.left(5));
        put32(header, quint32(e.data.size())); // packed size
        put32(header, quint32(e.data.size())); // original size
        put32(header, dosTime(e.modified));
        header.append(char(directory ? 0x10 : 0x20)); // attribute
        header.append(char(0));                       // level 0
        header.append(char(e.name.size()));
        header.append(e.name);
        const quint16 crc = lzhCrc16(e.data);
        header.append(char(crc & 0xFF));
        header.append(char(crc >> 8));
        quint8 sum = 0;
        for (char c : header)
            sum = quint8(sum + quint8(c));
        out.append(char(header.size()));
        out.append(char(sum));
        out.append(header);
        out.append(e.data);
    }
    out.append(char(0)); // end of the archive
    return out;
}

QString fixturePath(const QString& name) {
    return QStringLiteral(YUBIN_FIXTURES_DIR) + u'/' + name;
}

} // namespace yubin::test
