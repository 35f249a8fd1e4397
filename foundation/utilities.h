#pragma once

#include "foundation/platform.h"

#include <QString>
#include <QStringList>

namespace yubin {

// The count under a list: "312 件".
inline QString countCaption(qsizetype count) {
    return QString::number(count) + QStringLiteral(" 件");
}

// True when the path names a file that can be opened for reading. A trailing
// separator is removed first, from the caller's string too; a folder, a
// missing or unreadable file and an empty path are all false. Never throws.
bool FileExists(QString& path) noexcept;

// The names of the folder's regular files (and links to one), hidden ones
// included, in the order the file system lists them. Only these count as
// data files or archives: a FIFO named like one would hang its reader.
QStringList regularFileNames(const QString& folder);

// The first of the names that equals `name` without regard to case, as the
// data and work folders' names are matched; "" when none does.
QString findNameNoCase(const QStringList& names, const QString& name);

// Waits the given time while the user interface keeps handling its events.
// Measured as elapsed time, so a wait always ends.
void WaitSeconds(float seconds, Clock& clock);

// Makes a write beyond the user's file-size limit (ulimit -f) fail with
// EFBIG, which the writers report as an error and recover from, instead of
// SIGXFSZ ending the program in the middle of a data preparation run.
void reportFileSizeLimitAsWriteError();

// The monotonic clock of the running program.
class SteadyClock final : public Clock {
public:
    qint64 nowMs() override;
};

} // namespace yubin
