#include "foundation/postal_record.h"

#include "foundation/text.h"

namespace yubin {

namespace {

QString kindName(RecordKind kind) {
    switch (kind) {
    case RecordKind::Municipality:
        return QStringLiteral("municipality");
    case RecordKind::Town:
        return QStringLiteral("town");
    case RecordKind::Office:
        return QStringLiteral("office");
    }
    return {};
}

} // namespace

QStringList fieldValues(const PostalRecord& r) {
    // Half-width katakana is the data's storage form; a reader of the
    // output expects the full-width form the windows show.
    return {kindName(r.kind),
            r.postalCode,
            r.prefecture,
            r.municipality,
            text::toFullWidth(r.municipalityReading),
            r.town,
            text::toFullWidth(r.townReading),
            r.officeName,
            text::toFullWidth(r.officeReading),
            r.address};
}

} // namespace yubin
