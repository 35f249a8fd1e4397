#include "data_prep/archive_extract.h"

#include "data_prep/prep_errors.h"
#include "foundation/text.h"
#include "foundation/whole_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>

#include <langinfo.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace yubin {

namespace {

struct ArchiveCloser {
    void operator()(struct archive* a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<struct archive, ArchiveCloser>;

// libarchive's own words, kept in parentheses after the program's.
QString libarchiveText(struct archive* a) {
    const char* message = archive_error_string(a);
    return message ? QString::fromLocal8Bit(message) : QStringLiteral("libarchive");
}

// A failure inside an archive: libarchive words a compression method or
// feature it lacks as "Unsupported …"; the archive is whole then, only not
// readable here. Anything else means damage.
QString archiveReadError(struct archive* a) {
    const QString words = libarchiveText(a);
    return words.startsWith(QLatin1String("Unsupported")) ? archiveFormatError(words)
                                                          : archiveDamagedError(words);
}

bool localeIsUtf8() {
    const char* codeset = nl_langinfo(CODESET);
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

// Names in postal archives are code page 932. libarchive converts them to the
// locale's encoding when told their charset, which also lets it turn the DOS
// separators into "/" without mistaking a trail byte 0x5C for one. Where that
// conversion is not available the raw bytes are decoded here instead.
QString entryName(struct archive_entry* entry) {
    if (const char* utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    if (const char* raw = archive_entry_pathname(entry))
        return text::decodeCp932(QByteArrayView(raw, qsizetype(std::strlen(raw))));
    return QString();
}

} // namespace

QString flatEntryName(const QString& entryName) {
    QString name = entryName;
    name.replace(u'\\', u'/');
    const QString leaf = name.section(u'/', -1);
    if (leaf == QLatin1String(".") || leaf == QLatin1String(".."))
        return QString();
    return leaf;
}

ExtractResult extractArchiveFlat(const QString& archivePath, const QString& targetFolder,
                                 qint64 maxEntryBytes, const std::function<void()>& onBlock) {
    ExtractResult result;
    ArchivePtr reader(archive_read_new());
    if (!reader) {
        result.error = archiveOpenError(QString::fromLocal8Bit(strerror(ENOMEM)));
        return result;
    }
    struct archive* a = reader.get();
    archive_read_support_format_lha(a);
    archive_read_support_format_zip(a);
    if (localeIsUtf8()) {
        // A failure leaves the names unconverted; entryName() copes.
        archive_read_set_format_option(a, "lha", "hdrcharset", "CP932");
        archive_read_set_format_option(a, "zip", "hdrcharset", "CP932");
    }
    if (archive_read_open_filename(a, QFile::encodeName(archivePath).constData(), 1 << 16) !=
        ARCHIVE_OK) {
        // The format is recognised while opening, so a readable file that is
        // no archive of a known kind fails here too.
        QFile file(archivePath);
        result.error = file.open(QIODevice::ReadOnly) ? archiveFormatError(libarchiveText(a))
                                                      : archiveOpenError(libarchiveText(a));
        return result;
    }

    const QDir target(targetFolder);
    std::vector<char> buffer(1 << 18);
    // The limit holds for the archive as a whole too: many entries just under
    // it would fill the disk as surely as one above it.
    qint64 total = 0;
    for (;;) {
        struct archive_entry* entry = nullptr;
        const int header = archive_read_next_header(a, &entry);
        if (header == ARCHIVE_EOF)
            break;
        if (header < ARCHIVE_WARN) {
            result.error = archiveReadError(a);
            return result;
        }
        const QString leaf = flatEntryName(entryName(entry));
        if (leaf.isEmpty() || archive_entry_filetype(entry) != AE_IFREG ||
            archive_entry_hardlink(entry) != nullptr) {
            ++result.skipped;
            continue; // its data is skipped by the next header read
        }
        if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > maxEntryBytes) {
            result.error = QStringLiteral("書庫の中のファイルが大きすぎます。 (%1)").arg(leaf);
            return result;
        }

        const QString path = target.filePath(leaf);
        // Never write through whatever already stands under that name.
        if (QFileInfo(path).isSymLink() || QFileInfo(path).isFile())
            QFile::remove(path);
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            result.error = fileWriteError(path, out.errorString(), errno);
            return result;
        }
        auto fail = [&](const QString& error) {
            out.close();
            out.remove();
            result.error = error;
            return result;
        };
        qint64 written = 0;
        for (;;) {
            const la_ssize_t got = archive_read_data(a, buffer.data(), buffer.size());
            if (got == 0)
                break;
            if (got < 0)
                return fail(archiveReadError(a));
            written += got;
            total += got;
            if (written > maxEntryBytes || total > maxEntryBytes)
                return fail(QStringLiteral("書庫の中のファイルが大きすぎます。 (%1)").arg(leaf));
            if (out.write(buffer.data(), got) != got)
                return fail(fileWriteError(path, out.errorString(), errno));
            if (onBlock)
                onBlock();
        }
        if (!out.flush())
            return fail(fileWriteError(path, out.errorString(), errno));
        if (archive_entry_mtime_is_set(entry)) {
            const qint64 ms = qint64(archive_entry_mtime(entry)) * 1000 +
                              archive_entry_mtime_nsec(entry) / 1000000;
            out.setFileTime(QDateTime::fromMSecsSinceEpoch(ms), QFileDevice::FileModificationTime);
        }
        out.close();
        if (out.error() != QFileDevice::NoError)
            return fail(fileWriteError(path, out.errorString(), errno));
        if (!result.placed.contains(leaf))
            result.placed << leaf;
    }
    result.ok = true;
    return result;
}

QDateTime newestEntryTime(const QString& archivePath) {
    QDateTime newest;
    ArchivePtr reader(archive_read_new());
    if (!reader)
        return newest;
    struct archive* a = reader.get();
    archive_read_support_format_lha(a);
    archive_read_support_format_zip(a);
    if (archive_read_open_filename(a, QFile::encodeName(archivePath).constData(), 1 << 16) !=
        ARCHIVE_OK)
        return newest;
    struct archive_entry* entry = nullptr;
    // Only the headers are read; each entry's data is skipped.
    while (archive_read_next_header(a, &entry) == ARCHIVE_OK) {
        if (archive_entry_filetype(entry) != AE_IFREG || !archive_entry_mtime_is_set(entry))
            continue;
        const QDateTime t = QDateTime::fromSecsSinceEpoch(qint64(archive_entry_mtime(entry)));
        if (!newest.isValid() || t > newest)
            newest = t;
    }
    return newest;
}

} // namespace yubin
