#pragma once

// Extraction of the downloaded LZH and ZIP archives. The archives come from
// outside, so every entry is treated as hostile: names are reduced to their
// last component and written flat into the target folder (nothing can land
// outside it), only regular files are written, and an oversized, corrupt or
// truncated archive fails with a description in Japanese that keeps
// libarchive's own words.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace yubin {

// Entries larger than this, or archives holding more than this in all, are
// refused: no postal file comes near it, and it keeps a crafted archive from
// filling the disk.
inline constexpr qint64 MaxArchiveEntryBytes = qint64(1) << 30;

struct ExtractResult {
    bool ok = false;
    QString error;      // the failure's description when !ok
    QStringList placed; // bare names written into the target folder, first placement order
    int skipped = 0;    // links, devices, folders and nameless entries left out
};

// Extracts every regular file of the archive into `targetFolder`, replacing
// files of the same name; each file keeps the time stored in the archive.
// On failure the file being written is removed; earlier ones stay.
// `onBlock`, when given, is called after each block of data written, so that
// a window can handle its events during a long extraction.
ExtractResult extractArchiveFlat(const QString& archivePath, const QString& targetFolder,
                                 qint64 maxEntryBytes = MaxArchiveEntryBytes,
                                 const std::function<void()>& onBlock = {});

// The newest modification time of the archive's files as stored in it,
// read from the headers alone; invalid when there is none or the archive
// cannot be read. The date of the published data, without extracting it.
QDateTime newestEntryTime(const QString& archivePath);

// The last component of an entry name, with "/" and "\" both separating; ""
// for a name that ends in a separator or is "." or "..".
QString flatEntryName(const QString& entryName);

} // namespace yubin
