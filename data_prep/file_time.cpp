#include "data_prep/file_time.h"

#include <QFile>

namespace yubin {

QStringList dataDateParts(const QDateTime& modified) {
    if (!modified.isValid())
        return {};
    const QString text = modified.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    return {text.mid(0, 4),  text.mid(5, 2),  text.mid(8, 2),
            text.mid(11, 2), text.mid(14, 2), text.mid(17, 2)};
}

QDateTime dateFromParts(const QStringList& parts) {
    if (parts.size() < 6)
        return {};
    const QString text = QStringLiteral("%1/%2/%3 %4:%5:%6")
                             .arg(parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
    return QDateTime::fromString(text, QStringLiteral("yyyy/M/d H:m:s"));
}

qint16 SetFileWriteTime(QFileDevice& file, const QStringList& DataDateParts) {
    const QDateTime when = dateFromParts(DataDateParts);
    if (!when.isValid())
        return 0;
    if (!file.isOpen() || !file.flush())
        return 99;
    return file.setFileTime(when, QFileDevice::FileModificationTime) ? 0 : 99;
}

} // namespace yubin
