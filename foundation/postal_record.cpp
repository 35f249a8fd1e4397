#include "foundation/postal_record.h"

#include "foundation/text.h"

#include <QStringBuilder>

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

// Legal-entity words an office reading may begin with, in the order they
// are tried, and how many characters each removes.
struct CorporateForm {
    const char16_t* prefix;
    int removed;
};
constexpr CorporateForm CorporateFormPrefixes[] = {
    {u"(ｶﾌﾞ)", 5},
    {u"ｶﾌﾞ ", 4},
    {u"(ｲ)", 3},
    {u"ﾄﾞｸﾘﾂｷﾞﾖｳｾｲﾎｳｼﾞﾝ ", 17},
    {u"ｲﾘﾖｳﾎｳｼﾞﾝ ", 10},
    {u"ｲﾘﾖｳﾎｳｼﾞﾝｼﾔﾀﾞﾝ", 14},
    {u"(ｶ)", 3},
    {u"(ｻﾞｲ)", 5},
    {u"(ｼﾔ)", 4},
    {u"(ｼﾞﾔﾌ)", 6},
    {u"(ｼﾕｳ)", 5},
    {u"(ﾕｳ)", 4},
    {u"ｶﾌﾞ) ", 5},
    {u"ｶ) ", 3},
    {u"ｶ)", 2},
    {u"（", 1},
    {u"ｶﾌﾞｼｷｶｲｼﾔ ", 10},
    {u"ｶﾌﾞｼｷｶﾞｲｼﾔ)", 11},
    {u"ｶﾌﾞｼｷｶﾞｲｼﾔ ", 11},
    {u"ｻﾞｲﾀﾞﾝﾎｳｼﾞﾝ ", 12},
    {u"(ｻﾞｲﾀﾞﾝﾎｳｼﾞﾝ)", 13},
    {u"ｶﾞﾂｺｳﾎｳｼﾞﾝ ", 11},
};

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

QString sevenDigitCode(QStringView column) {
    QStringView digits = text::trimBlanks(column);
    qsizetype n = 0;
    while (n < digits.size() && digits[n] >= u'0' && digits[n] <= u'9')
        ++n;
    digits = digits.left(n);
    // The number's own digits: a code of any length keeps its last seven.
    while (!digits.isEmpty() && digits.front() == u'0')
        digits = digits.mid(1);
    digits = digits.right(7);
    return QString(7 - digits.size(), u'0') % digits;
}

QString stripCorporateForm(QStringView reading) {
    const QStringView trimmedReading = text::trimBlanks(reading);
    for (const CorporateForm& form : CorporateFormPrefixes) {
        if (trimmedReading.startsWith(QStringView(form.prefix)))
            return text::trimmed(trimmedReading.mid(form.removed));
    }
    return trimmedReading.toString();
}

PostalRecord readAddressRecord(const QString& line, Access_CSV& csv) {
    auto col = [&](int n) { return text::trimmed(csv.Col(n, line)); };
    PostalRecord r;
    r.postalCode = sevenDigitCode(csv.Col(AddressColumn::PostalCode, line));
    r.prefectureReading = col(AddressColumn::PrefectureReading);
    r.municipalityReading = col(AddressColumn::MunicipalityReading);
    r.townReading = col(AddressColumn::TownReading);
    r.prefecture = col(AddressColumn::Prefecture);
    r.municipality = col(AddressColumn::Municipality);
    r.town = col(AddressColumn::Town);
    return r;
}

PostalRecord readOfficeRecord(const QString& line, Access_CSV& csv) {
    auto col = [&](int n) { return text::trimmed(csv.Col(n, line)); };
    PostalRecord r;
    r.kind = RecordKind::Office;
    r.postalCode = sevenDigitCode(csv.Col(OfficeColumn::PostalCode, line));
    r.officeName = col(OfficeColumn::Name);
    r.officeReading = stripCorporateForm(csv.Col(OfficeColumn::Reading, line));
    r.prefecture = col(OfficeColumn::Prefecture);
    r.address =
        col(OfficeColumn::Municipality) % col(OfficeColumn::Town) % col(OfficeColumn::Block);
    return r;
}

} // namespace yubin
