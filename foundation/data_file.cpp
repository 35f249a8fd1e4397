#include "foundation/data_file.h"

#include "foundation/text.h"

#include <QFile>
#include <QFileInfo>

namespace yubin {

std::optional<QByteArray> readFileBytes(const QString& path) {
    if (QFileInfo(path).isDir())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

namespace {

// Whether the bytes hold non-ASCII text and are valid UTF-8 throughout.
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

} // namespace

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
