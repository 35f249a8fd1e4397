#pragma once

#include <QDateTime>
#include <QFileDevice>
#include <QString>
#include <QStringList>

namespace yubin {

// The six parts of a local time as the nationwide run keeps them: year (4
// digits), month, day, hour, minute, second (2 digits each).
QStringList dataDateParts(const QDateTime& modified);

// The local time the parts name; invalid unless they form a real date and
// time.
QDateTime dateFromParts(const QStringList& DataDateParts);

// Sets the last-modified time of a file open for writing (creation and access
// times stay) to the time the parts name. Returns 0 when it was set or the
// parts are not a valid date and time (nothing is done then), 99 when the
// file is not open or its time could not be set.
qint16 SetFileWriteTime(QFileDevice& file, const QStringList& DataDateParts);

} // namespace yubin
