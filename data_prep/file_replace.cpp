#include "data_prep/file_replace.h"

#include "foundation/utilities.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

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
        return fileWriteError(file.fileName(), file.errorString());
    if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush())
        return fileWriteError(file.fileName(), file.errorString());
    if (finish)
        finish(file);
    if (::fsync(file.handle()) != 0)
        return fileWriteError(file.fileName(), QString::fromLocal8Bit(strerror(errno)));
    return QString();
}

} // namespace

QString fileWriteError(const QString& path, const QString& reason) {
    return QStringLiteral("ファイルに書き込めません。 (%1: %2)")
        .arg(QDir::toNativeSeparators(path), reason);
}

QString fileMissingError(const QString& name) {
    return QStringLiteral("ファイルが見つかりません。 (%1)").arg(name);
}

QString placementName(const QString& folder, const QString& name) {
    for (const QString& entry : regularFileNames(folder))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return name;
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
    QStringList folders;
    for (auto& file : files) {
        if (!file->commit())
            return fileWriteError(file->fileName(), file->errorString());
        const QString folder = QFileInfo(file->fileName()).absolutePath();
        if (!folders.contains(folder))
            folders << folder;
    }
    files.clear();
    for (const QString& folder : folders)
        syncFolder(folder);
    return QString();
}

QString copyFileReplacing(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fileMissingError(QFileInfo(source).fileName());
    // Postal files are a few megabytes; the extraction already bounded them.
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return fileWriteError(source, in.errorString());
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
        return fileMissingError(QFileInfo(source).fileName());
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fileWriteError(target, out.errorString());
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0)
            return fileWriteError(source, in.errorString());
        if (got == 0)
            break;
        if (out.write(buffer, got) != got) {
            out.remove();
            return fileWriteError(target, out.errorString());
        }
    }
    if (!out.flush()) {
        out.remove();
        return fileWriteError(target, out.errorString());
    }
    return QString();
}

} // namespace yubin
