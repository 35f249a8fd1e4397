#include "foundation/data_file.h"

#include "foundation/text.h"

#include <QFileInfo>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace yubin {

int openRegularFileDescriptor(const QString& path, struct stat& status) {
    // Devices are not even opened; a FIFO is opened without waiting, and
    // the type is checked again on the opened file, so a file swapped for a
    // FIFO after the first check cannot hang the reader either.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return -1;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool openRegularFile(const QString& path, QFile& file) {
    struct stat status {};
    const int fd = openRegularFileDescriptor(path, status);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

std::optional<QByteArray> readFileBytes(const QString& path) {
    QByteArray bytes;
    if (!readFileBytes(path, bytes))
        return std::nullopt;
    return bytes;
}

bool readFileBytes(const QString& path, QByteArray& bytes) {
    QFile file;
    if (!openRegularFile(path, file))
        return false;
    readFileBytes(file, bytes);
    return true;
}

std::optional<QByteArray> readWholeFile(const QString& path) {
    QFile file;
    if (!openRegularFile(path, file))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

QByteArray readFileBytes(QIODevice& device) {
    QByteArray bytes;
    readFileBytes(device, bytes);
    return bytes;
}

void readFileBytes(QIODevice& device, QByteArray& bytes) {
    constexpr qint64 Chunk = 1 << 20;
    const qint64 expected = device.isSequential() ? 0 : device.size() - device.pos();
    // One byte beyond the expected size, so that the end is seen without
    // growing the buffer.
    bytes.resize(qsizetype(std::max<qint64>(expected + 1, Chunk)));
    qsizetype have = 0;
    while (true) {
        if (have == bytes.size())
            bytes.resize(bytes.size() + qsizetype(std::max<qint64>(Chunk, bytes.size() / 2)));
        const qint64 n = device.read(bytes.data() + have, bytes.size() - have);
        if (n == 0)
            break;
        if (n < 0) {
            // A line cut by the error is no record; the lines before it are.
            qsizetype end = have;
            while (end > 0 && bytes[end - 1] != '\n' && bytes[end - 1] != '\r')
                --end;
            have = end;
            break;
        }
        have += qsizetype(n);
    }
    bytes.resize(have);
}

// Published code page 932 data never is: its readings are half-width
// katakana, single bytes 0xA1-0xDF that mostly cannot start a UTF-8
// character, so the test fails within the first few of them.
bool isUtf8Text(QByteArrayView bytes) {
    bool nonAscii = false;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const auto c = quint8(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        nonAscii = true;
        const int tail = c >= 0xC2 && c <= 0xDF   ? 1
                         : c >= 0xE0 && c <= 0xEF ? 2
                         : c >= 0xF0 && c <= 0xF4 ? 3
                                                  : -1;
        if (tail < 0 || size - i <= tail)
            return false;
        for (int k = 1; k <= tail; ++k)
            if ((quint8(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        i += tail + 1;
    }
    return nonAscii;
}

std::optional<QString> readDecodedFile(const QString& path) {
    const std::optional<QByteArray> bytes = readFileBytes(path);
    if (!bytes)
        return std::nullopt;
    // A file saved as UTF-8 by an editor reads as what it says, not as
    // code page 932 garbage.
    if (isUtf8Text(*bytes))
        return QString::fromUtf8(*bytes);
    return text::decodeCp932(*bytes);
}

} // namespace yubin
