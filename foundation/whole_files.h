#pragma once

// Writing files whole: the data preparation's data files, yubin-cli's
// pictures, PDFs and SVGs, the label and postcard PDFs. A new file is
// written beside its target, flushed to the disk and only then renamed over
// it, so a file is always whole: its old version or its new one, whatever
// fails, fills the disk or kills the process.

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

// Files replaced as a group: every file is written and flushed first, and
// only when all of them are whole are they renamed into place. The previous
// versions are kept until the last rename has succeeded; a failed rename puts
// back every file already replaced, so a failure leaves the targets as they
// were. A kill or a power loss during the renames can leave some targets new
// and some old, each of them whole.
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
    // Renames every written file over its target, all or none. "" on success.
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

// The descriptions of a failed write or read, in Japanese, with the
// system's own words in parentheses. `error` is the errno of the failed
// call where known, so that a full disk is named as such.
QString fileWriteError(const QString& path, const QString& reason, int error = 0);
QString fileReadError(const QString& path, const QString& reason);

} // namespace yubin
