#include "prep_support.h"

#include <QDir>
#include <QFile>

#include <archive.h>
#include <archive_entry.h>

#include <gtest/gtest.h>

namespace yubin::test {

using namespace Qt::StringLiterals;

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
        using Kind = TestEntry::Kind;
        archive_entry_set_filetype(entry, e.kind == Kind::File        ? AE_IFREG
                                          : e.kind == Kind::Directory ? AE_IFDIR
                                                                      : AE_IFLNK);
        archive_entry_set_perm(entry, 0755);
        const bool file = e.kind == Kind::File;
        archive_entry_set_size(entry, file ? e.data.size() : 0);
        if (e.kind == Kind::Symlink)
            archive_entry_copy_symlink(entry, e.data.constData());
        EXPECT_EQ(archive_write_header(a, entry), ARCHIVE_OK) << archive_error_string(a);
        if (file && !e.data.isEmpty()) {
            EXPECT_EQ(archive_write_data(a, e.data.constData(), size_t(e.data.size())),
                      e.data.size());
        }
        archive_entry_free(entry);
    }
    EXPECT_EQ(archive_write_close(a), ARCHIVE_OK) << archive_error_string(a);
    archive_write_free(a);
    return QByteArray(buffer.data(), qsizetype(used));
}

namespace {

void put32(QByteArray& out, quint32 v) {
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

// CRC-16 as LZH headers carry it.
quint16 lzhCrc16(const QByteArray& data) {
    quint16 crc = 0;
    for (char c : data) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

} // namespace

QByteArray makeLzh(const std::vector<TestEntry>& entries) {
    QByteArray out;
    for (const TestEntry& e : entries) {
        const QDate d = e.modified.date();
        const QTime t = e.modified.time();
        const bool folder = e.kind == TestEntry::Kind::Directory;
        QByteArray header = folder ? QByteArray("-lhd-") : e.method.left(5);
        put32(header, quint32(e.data.size())); // packed size
        put32(header, quint32(e.data.size())); // original size
        put32(header, quint32(d.year() - 1980) << 25 |
                          quint32(d.month() << 21 | d.day() << 16 | t.hour() << 11 |
                                  t.minute() << 5 | t.second() / 2));
        header.append(char(folder ? 0x10 : 0x20)); // attribute
        header.append(char(0));                    // level 0
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

void expectShown(const RecordingMessageBoxes& messages, size_t index, MessageIcon icon,
                 const QString& title, const QString& text, MessageButtons buttons) {
    ASSERT_GT(messages.shown.size(), index);
    EXPECT_EQ(messages.shown[index].icon, icon);
    EXPECT_EQ(messages.shown[index].title, title);
    EXPECT_EQ(messages.shown[index].text, text);
    EXPECT_EQ(messages.shown[index].buttons, buttons);
}

QString fixturePath(const QString& name) {
    return QStringLiteral(YUBIN_FIXTURES_DIR) + u'/' + name;
}

PrepDirs::PrepDirs() {
    QDir().mkpath(download());
    QDir().mkpath(data());
    work().create();
}

void PrepDirs::archive(const QString& name, const QByteArray& entryName, const QByteArray& data,
                       const QDateTime& modified) const {
    TestEntry entry = fileEntry(entryName, data);
    entry.modified = modified;
    download(name,
             name.endsWith(u".zip"_s, Qt::CaseInsensitive) ? makeZip({entry}) : makeLzh({entry}));
}

QStringList PrepDirs::dataNames() const {
    return QDir(data()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace yubin::test
