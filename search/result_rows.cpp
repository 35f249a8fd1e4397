#include "search/result_rows.h"

#include "data_prep/change_log.h"
#include "foundation/data_file.h"
#include "foundation/postal_code.h"
#include "foundation/text.h"

#include <QStringBuilder>

namespace yubin {

bool townInParentheses(const PostalRecord& r) {
    return r.town == CatchAllTown || r.town.endsWith(WholeAreaEnding);
}

QString resultRow(const PostalRecord& r) {
    const QString code = postalCodeText(r.postalCode);
    if (r.kind == RecordKind::Office)
        return u"[*] " % code % u' ' % r.officeName % u' ' % r.prefecture % r.address;
    if (townInParentheses(r))
        return u"[A] " % code % u' ' % r.prefecture % r.municipality % u'(' % r.town % u')';
    return u"[A] " % code % u' ' % r.prefecture % r.municipality % r.town % u" (" %
           r.prefectureReading % r.municipalityReading % r.townReading % u')';
}

QString postalCodeColumn(QStringView line, bool businessOffice, Access_CSV& csv) {
    return text::trimmed(csv.Col(
        businessOffice ? OfficeColumn::PostalCode : AddressColumn::PostalCode, line.toString()));
}

QString resultRow(QStringView line, bool businessOffice, Access_CSV& csv) {
    return resultRow(readRecord(line.toString(), businessOffice, csv));
}

QString abolishedRow(const AbolishedCode& abolished, Access_CSV& csv) {
    QString row = resultRow(readRecord(abolished.entry.record, abolished.entry.office, csv));
    row.replace(0, 4, AbolishedRowMarker);
    return row + u' ' + abolishedCodeNote(abolished);
}

} // namespace yubin
