#pragma once

// The one reader of a data line: which column holds what in the address
// files and the business-office file, which lines are records, and a line
// as a record with its columns by name. Browsing, the full search, address
// resolution and the data preparation all read lines here, and yubin-cli
// prints the same records for --format tsv and json.

#include "foundation/access_csv.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace yubin {

// The columns of an address file (the prefectures' and the nationwide
// one), 1-based as Access_CSV counts them.
namespace AddressColumn {
inline constexpr int LocalCode = 1; // 全国地方公共団体コード
inline constexpr int PostalCode = 3;
inline constexpr int PrefectureReading = 4;
inline constexpr int MunicipalityReading = 5;
inline constexpr int TownReading = 6;
inline constexpr int Prefecture = 7;
inline constexpr int Municipality = 8;
inline constexpr int Town = 9;
} // namespace AddressColumn

// The columns of the business-office file.
namespace OfficeColumn {
inline constexpr int LocalCode = 1;
inline constexpr int Reading = 2;
inline constexpr int Name = 3;
inline constexpr int Prefecture = 4;
inline constexpr int Municipality = 5;
inline constexpr int Town = 6;
inline constexpr int Block = 7; // 小字・丁目・番地
inline constexpr int PostalCode = 8;
} // namespace OfficeColumn

// The columns that name a record's place, first to last: prefecture,
// municipality and town of an address; name, prefecture, municipality,
// town and block of an office. Two records of one place agree in these.
struct ColumnSpan {
    int first;
    int last;
};
inline constexpr ColumnSpan placeColumns(bool office) {
    return office ? ColumnSpan{OfficeColumn::Name, OfficeColumn::Block}
                  : ColumnSpan{AddressColumn::Prefecture, AddressColumn::Town};
}
inline constexpr int postalCodeColumn(bool office) {
    return office ? OfficeColumn::PostalCode : AddressColumn::PostalCode;
}

// A line of this many characters or fewer, blanks trimmed, is no record:
// the end mark of a file, or a stray line.
inline constexpr qsizetype LongestNonRecordLine = 10;
inline bool isRecordLine(QStringView trimmedLine) {
    return trimmedLine.size() > LongestNonRecordLine;
}

// The postal code of a record from its postal-code column: the column's
// leading digits read as a number (0 when there are none), written with
// "0000000" before it and cut to its rightmost seven characters, as a
// reader that took the column for a number gets the code back.
QString sevenDigitCode(QStringView column);

// An office reading without the legal-entity word it begins with
// ((ｶﾌﾞ), ｶﾌﾞｼｷｶｲｼﾔ ...), trimmed.
QString stripCorporateForm(QStringView reading);

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

// A line of an address file, or of the business-office file, as a record:
// every column trimmed, the postal code by sevenDigitCode, an office's
// reading by stripCorporateForm and its address as municipality, town and
// block. A missing column reads as empty.
PostalRecord readAddressRecord(const QString& line, Access_CSV& csv);
PostalRecord readOfficeRecord(const QString& line, Access_CSV& csv);
inline PostalRecord readRecord(const QString& line, bool office, Access_CSV& csv) {
    return office ? readOfficeRecord(line, csv) : readAddressRecord(line, csv);
}

} // namespace yubin
