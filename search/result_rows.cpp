#include "search/result_rows.h"

#include "data_prep/change_log.h"
#include "foundation/data_file.h"
#include "foundation/postal_code.h"
#include "foundation/text.h"
#include "main_window/browse.h"

#include <QStringBuilder>

namespace yubin {

QString rowPostalCode(const QString& column) {
    QStringView digits = text::trimBlanks(column);
    qsizetype n = 0;
    while (n < digits.size() && digits[n] >= u'0' && digits[n] <= u'9')
        ++n;
    digits = digits.left(n);
    while (!digits.isEmpty() && digits.front() == u'0')
        digits = digits.mid(1);
    // The last seven digits, with zeros before them.
    digits = digits.right(7);
    return QString(7 - digits.size(), u'0') % digits;
}

PostalRecord scanRecord(QStringView line, bool businessOffice, Access_CSV& csv) {
    const QString l = line.toString();
    auto col = [&](int n) { return text::trimmed(csv.Col(n, l)); };
    PostalRecord r;
    if (businessOffice) {
        r.kind = RecordKind::Office;
        r.postalCode = rowPostalCode(csv.Col(8, l));
        r.officeName = col(3);
        r.officeReading = stripCorporateForm(col(2));
        r.prefecture = col(4);
        r.address = col(5) % col(6) % col(7);
        return r;
    }
    r.postalCode = rowPostalCode(csv.Col(3, l));
    r.prefectureReading = col(4);
    r.municipalityReading = col(5);
    r.townReading = col(6);
    r.prefecture = col(7);
    r.municipality = col(8);
    r.town = col(9);
    return r;
}

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
    return text::trimmed(csv.Col(businessOffice ? 8 : 3, line.toString()));
}

QString resultRow(QStringView line, bool businessOffice, Access_CSV& csv) {
    return resultRow(scanRecord(line, businessOffice, csv));
}

QString abolishedRow(const AbolishedCode& abolished, Access_CSV& csv) {
    QString row = resultRow(scanRecord(abolished.entry.record, abolished.entry.office, csv));
    row.replace(0, 4, AbolishedRowMarker);
    return row + u' ' + abolishedCodeNote(abolished);
}

} // namespace yubin
