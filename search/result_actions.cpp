#include "search/result_actions.h"

#include "foundation/data_file.h"
#include "foundation/postal_code.h"
#include "foundation/text.h"
#include "search/result_rows.h"

#include <QStringBuilder>

namespace yubin {

namespace {

// An address for the map stops before its first note: one in full-width
// parentheses, else one in half-width ones.
QString cutBeforeNote(const QString& address) {
    qsizetype cut = address.indexOf(u'（');
    if (cut < 0)
        cut = address.indexOf(u'(');
    return text::trimmed(cut < 0 ? QStringView(address) : QStringView(address).left(cut));
}

} // namespace

QString resultBarZipCode(const PostalRecord& record) {
    return record.postalCode;
}

std::optional<QString> resultMapAddress(const PostalRecord& r) {
    if (r.kind == RecordKind::Office)
        return cutBeforeNote(r.prefecture % r.address);
    if (r.town.contains(CatchAllTown))
        return std::nullopt;
    if (townInParentheses(r))
        return cutBeforeNote(r.prefecture % r.municipality);
    return cutBeforeNote(r.prefecture % r.municipality % r.town);
}

QString resultCopyText(const PostalRecord& r) {
    const QString code = postalCodeText(r.postalCode);
    if (r.kind == RecordKind::Office)
        return text::trimmed(code % u' ' % r.officeName % u' ' % r.prefecture % r.address);
    if (townInParentheses(r))
        return code;
    return text::trimmed(code % u' ' % r.prefecture % r.municipality % r.town);
}

} // namespace yubin
