#pragma once

// Replacing the user's data files. A new file is written beside its target,
// flushed to the disk and only then renamed over it, so a failure, a full
// disk or a killed process leaves either the old file or the new one.

#include <QByteArrayView>
#include <QDateTime>
#include <QSaveFile>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace yubin {

// The name a file is to be placed under in `folder`: an existing entry whose
// name equals `name` without regard to case (so 13TOKYO.CSV replaces
// 13tokyo.CSV instead of standing beside it, as on the original file
// system), else `name` itself.
QString placementName(const QString& folder, const QString& name);

// Files written as a group: every file is written and flushed first, and
// only when all of them are whole are they renamed into place. Until then
// nothing in the target folder has changed.
class StagedFiles {
public:
    StagedFiles();
    ~StagedFiles(); // discards what was not committed
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Writes the bytes beside `target` and hands the written file to `finish`
    // (which may set its time) before making it durable. "" on success, else
    // the failure's description.
    using Finish = std::function<void(QFileDevice&)>;
    QString add(const QString& target, QByteArrayView bytes, const Finish& finish = {});
    // Renames every written file over its target. "" on success.
    QString commit();
    qsizetype size() const { return files.size(); }

private:
    std::vector<std::unique_ptr<QSaveFile>> files;
};

// Replaces `target` by a copy of `source`, keeping the source's modification
// time. "" on success, else the failure's description.
QString copyFileReplacing(const QString& source, const QString& target);

// Copies a file into a work folder (no durability needed there). "" on
// success, else the failure's description.
QString copyWorkFile(const QString& source, const QString& target);

// The descriptions of the failures above, in the program's words.
QString fileWriteError(const QString& path, const QString& reason);
QString fileMissingError(const QString& name);

} // namespace yubin
