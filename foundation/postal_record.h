#pragma once

// A record of the postal data with its columns by name: what yubin-cli
// prints for --format tsv and json. The list lines of the windows are made
// from the same records, so a line and its fields cannot disagree.

#include <QString>
#include <QStringList>

namespace yubin {

enum class RecordKind { Municipality, Town, Office };

struct PostalRecord {
    RecordKind kind = RecordKind::Town;
    QString postalCode; // 7 digits; empty for a municipality
    QString prefecture;
    QString municipality;
    QString town;
    // Readings as the data holds them, in half-width katakana.
    QString prefectureReading;
    QString municipalityReading;
    QString townReading;
    QString officeName;
    QString officeReading; // without the legal-entity word it begins with
    QString address;       // an office's address after its prefecture
};

// The field names, in column order.
inline const QStringList PostalRecordFields = {
    QStringLiteral("kind"),
    QStringLiteral("postal_code"),
    QStringLiteral("prefecture"),
    QStringLiteral("municipality"),
    QStringLiteral("municipality_reading"),
    QStringLiteral("town"),
    QStringLiteral("town_reading"),
    QStringLiteral("office_name"),
    QStringLiteral("office_reading"),
    QStringLiteral("address"),
};

// The values of PostalRecordFields; readings in full-width katakana.
QStringList fieldValues(const PostalRecord& record);

} // namespace yubin
