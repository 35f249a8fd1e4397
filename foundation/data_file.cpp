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

std::optional<QString> readDecodedFile(const QString& path) {
    const std::optional<QByteArray> bytes = readFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return text::decodeCp932(*bytes);
}

} // namespace yubin
