#include "foundation/whole_files.h"

#include "foundation/utilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace yubin {

namespace {

// The rename itself must reach the disk too before the run reports success.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Opens the replacement, writes it and makes it durable, but leaves the
// target untouched.
QString writeBeside(QSaveFile& file, QByteArrayView bytes, const StagedFiles::Finish& finish) {
    if (!file.open(QIODevice::WriteOnly))
        return fileWriteError(file.fileName(), file.errorString(), errno);
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
        return fileWriteError(file.fileName(), file.errorString(), errno);
    if (finish)
        finish(file);
    if (::fsync(file.handle()) != 0) {
        const int error = errno;
        return fileWriteError(file.fileName(), QString::fromLocal8Bit(strerror(error)), error);
    }
    return QString();
}

// A target as it stood before a group replaced it, kept in memory (postal
// files are a few megabytes) so that a failed group can put it back.
struct PreviousVersion {
    QString path;
    bool existed = false;
    QByteArray bytes;
    QDateTime modified;

    static std::optional<PreviousVersion> of(const QString& path, QString& error) {
        PreviousVersion previous;
        previous.path = path;
        QFile file(path);
        if (!file.exists())
            return previous;
        if (!file.open(QIODevice::ReadOnly)) {
            error = fileReadError(path, file.errorString());
            return std::nullopt;
        }
        previous.existed = true;
        previous.bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            error = fileReadError(path, file.errorString());
            return std::nullopt;
        }
        previous.modified = QFileInfo(file).lastModified();
        return previous;
    }

    bool restore() const {
        if (!existed)
            return QFile::remove(path) || !QFile::exists(path);
        QSaveFile file(path);
        const QString error = writeBeside(file, bytes, [this](QFileDevice& f) {
            f.setFileTime(modified, QFileDevice::FileModificationTime);
        });
        return error.isEmpty() && file.commit();
    }
};

void syncFolders(const std::vector<std::unique_ptr<QSaveFile>>& files) {
    QStringList folders;
    for (const auto& file : files) {
        const QString folder = QFileInfo(file->fileName()).absolutePath();
        if (!folders.contains(folder)) {
            folders << folder;
            syncFolder(folder);
        }
    }
}

} // namespace

QString fileWriteError(const QString& path, const QString& reason, int error) {
    const bool full = error == ENOSPC || error == EDQUOT;
    return (full ? QStringLiteral("ディスクの空きが足りません。 (%1: %2)")
                 : QStringLiteral("ファイルに書き込めません。 (%1: %2)"))
        .arg(QDir::toNativeSeparators(path), reason);
}

QString fileReadError(const QString& path, const QString& reason) {
    return QStringLiteral("ファイルを読めません。 (%1: %2)")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString placementName(const QString& folder, const QString& name) {
    const QString entry = findNameNoCase(regularFileNames(folder), name);
    return entry.isEmpty() ? name : entry;
}

StagedFiles::StagedFiles() = default;
StagedFiles::~StagedFiles() {
    for (auto& file : files)
        file->cancelWriting();
}

QString StagedFiles::add(const QString& target, QByteArrayView bytes, const Finish& finish) {
    files.push_back(std::make_unique<QSaveFile>(target));
    return writeBeside(*files.back(), bytes, finish);
}

QString StagedFiles::commit() {
    std::vector<PreviousVersion> previous;
    for (const auto& file : files) {
        QString error;
        std::optional<PreviousVersion> version = PreviousVersion::of(file->fileName(), error);
        if (!version)
            return error; // nothing replaced yet; the destructor discards the new files
        previous.push_back(std::move(*version));
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (files[i]->commit())
            continue;
        QString error = fileWriteError(files[i]->fileName(), files[i]->errorString(), errno);
        bool restored = true;
        for (size_t j = 0; j < i; ++j)
            restored = previous[j].restore() && restored;
        if (!restored)
            error += QStringLiteral(" 置き換えたファイルの一部を元に戻せませんでした。");
        syncFolders(files);
        return error;
    }
    syncFolders(files);
    files.clear();
    return QString();
}

QString copyFileReplacing(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fileReadError(source, in.errorString());
    // Postal files are a few megabytes; the extraction already bounded them.
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return fileReadError(source, in.errorString());
    const QDateTime modified = QFileInfo(source).lastModified();
    StagedFiles staged;
    QString error = staged.add(target, bytes, [&modified](QFileDevice& file) {
        if (modified.isValid())
            file.setFileTime(modified, QFileDevice::FileModificationTime);
    });
    if (error.isEmpty())
        error = staged.commit();
    return error;
}

QString copyWorkFile(const QString& source, const QString& target) {
    if (QFileInfo(target).isSymLink() || QFileInfo(target).isFile())
        QFile::remove(target);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fileReadError(source, in.errorString());
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fileWriteError(target, out.errorString(), errno);
    const auto failWrite = [&out, &target] {
        const int error = errno;
        const QString description = fileWriteError(target, out.errorString(), error);
        out.close();
        if (QFileInfo(target).isFile()) // what this wrote, never a device
            QFile::remove(target);
        return description;
    };
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0)
            return fileReadError(source, in.errorString());
        if (got == 0)
            break;
        if (out.write(buffer, got) != got)
            return failWrite();
    }
    if (!out.flush())
        return failWrite();
    return QString();
}

} // namespace yubin
