#pragma once

// The result rows of the full search: the record of a matching line and the
// row the window lists for it.

#include "foundation/access_csv.h"
#include "foundation/postal_record.h"

#include <QString>
#include <QStringView>

namespace yubin {

// The postal-code column of a line, trimmed, as a postal-code search
// compares it with its key.
QString postalCodeColumn(QStringView line, bool businessOffice, Access_CSV& csv);
// The result row of a record: "[A] " or "[*] ", the postal code as
// NNN-NNNN, a blank, then the address.
QString resultRow(const PostalRecord& record);
QString resultRow(QStringView line, bool businessOffice, Access_CSV& csv);

// Whether a town area stands in parentheses in its row, without the
// readings: the catch-all town area and one that covers a whole place.
bool townInParentheses(const PostalRecord& record);

struct AbolishedCode;

// The row of a postal code the change log says was abolished: its old
// record as a result row, marked "[廃] " instead of "[A] " or "[*] " (so no
// row action takes it for a current one), then "廃止（2026年3月）" and, for
// each code the same month added for the same town, "→ 新しい郵便番号
// 123-4567".
inline const QString AbolishedRowMarker = QStringLiteral("[廃] ");
QString abolishedRow(const AbolishedCode& abolished, Access_CSV& csv);

} // namespace yubin
