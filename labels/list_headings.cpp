#include "labels/list_headings.h"

#include "foundation/text.h"

namespace yubin::labels {

namespace {

struct Heading {
    QStringView folded; // as foldHeading gives it
    Part part;
};

// Folded forms: no blanks, ASCII in lower case.
constexpr Heading Headings[] = {
    {u"郵便番号", Part::PostalCode},
    {u"〒", Part::PostalCode},
    {u"郵便", Part::PostalCode},
    {u"郵便番号1", Part::PostalCode},
    {u"postalcode", Part::PostalCode},
    {u"postal_code", Part::PostalCode},
    {u"postcode", Part::PostalCode},
    {u"zip", Part::PostalCode},
    {u"zipcode", Part::PostalCode},

    {u"都道府県", Part::Prefecture},
    {u"都道府県名", Part::Prefecture},
    {u"prefecture", Part::Prefecture},
    {u"region", Part::Prefecture},
    {u"state", Part::Prefecture},
    {u"province", Part::Prefecture},
    {u"市区町村", Part::City},
    {u"市区町村名", Part::City},
    {u"市町村", Part::City},
    {u"市区郡", Part::City},
    {u"city", Part::City},
    {u"町域", Part::Town},
    {u"町域名", Part::Town},
    {u"町名", Part::Town},
    {u"番地", Part::Street},
    {u"丁目番地", Part::Street},
    {u"丁目・番地", Part::Street},
    {u"番地等", Part::Street},
    {u"street", Part::Street},
    {u"streetaddress", Part::Street},

    {u"住所", Part::Address},
    {u"所在地", Part::Address},
    {u"address", Part::Address},
    {u"住所1", Part::AddressLine1},
    {u"address1", Part::AddressLine1},
    {u"addressline1", Part::AddressLine1},
    {u"住所2", Part::AddressLine2},
    {u"address2", Part::AddressLine2},
    {u"addressline2", Part::AddressLine2},
    {u"street2", Part::AddressLine2},
    {u"住所3", Part::AddressLine3},
    {u"address3", Part::AddressLine3},
    {u"addressline3", Part::AddressLine3},
    {u"street3", Part::AddressLine3},
    {u"建物", Part::Building},
    {u"建物名", Part::Building},
    {u"マンション名", Part::Building},
    {u"ビル名", Part::Building},
    {u"建物名・部屋番号", Part::Building},
    {u"building", Part::Building},
    {u"extendedaddress", Part::Building},

    {u"氏名", Part::Name},
    {u"名前", Part::Name},
    {u"宛名", Part::Name},
    {u"name", Part::Name},
    {u"fullname", Part::Name},
    {u"姓", Part::LastName},
    {u"氏名(姓)", Part::LastName},
    {u"lastname", Part::LastName},
    {u"familyname", Part::LastName},
    {u"名", Part::FirstName},
    {u"氏名(名)", Part::FirstName},
    {u"firstname", Part::FirstName},
    {u"givenname", Part::FirstName},
    {u"役職", Part::Title},
    {u"役職名", Part::Title},
    {u"肩書", Part::Title},
    {u"肩書き", Part::Title},
    {u"title", Part::Title},
    {u"jobtitle", Part::Title},
    {u"organization1-title", Part::Title},

    {u"会社", Part::Company},
    {u"会社名", Part::Company},
    {u"勤務先", Part::Company},
    {u"勤務先名", Part::Company},
    {u"法人名", Part::Company},
    {u"企業名", Part::Company},
    {u"団体名", Part::Company},
    {u"company", Part::Company},
    {u"companyname", Part::Company},
    {u"organization", Part::Company},
    {u"organization1-name", Part::Company},
    {u"部署", Part::Department},
    {u"部署名", Part::Department},
    {u"所属", Part::Department},
    {u"department", Part::Department},
    {u"organization1-department", Part::Department},
    {u"敬称", Part::Honorific},
    {u"honorific", Part::Honorific},
    {u"連名", Part::Joint1},
    {u"連名1", Part::Joint1},
    {u"連名2", Part::Joint2},
    {u"連名3", Part::Joint3},
};

// The words that put an address column into a set: 自宅住所1, Home Street,
// Address 1 - City.
struct SetPrefix {
    QStringView folded;
    int set;
};
constexpr SetPrefix SetPrefixes[] = {
    {u"自宅", 1},     {u"home", 1}, {u"address1-", 1}, {u"勤務先", 2},    {u"会社", 2},
    {u"business", 2}, {u"work", 2}, {u"address2-", 2}, {u"address3-", 3},
};

std::optional<Part> partOfFolded(QStringView folded) {
    for (const Heading& h : Headings)
        if (folded == h.folded)
            return h.part;
    return std::nullopt;
}

} // namespace

bool isAddressPart(Part part) {
    switch (part) {
    case Part::Prefecture:
    case Part::City:
    case Part::Town:
    case Part::Street:
    case Part::Address:
    case Part::AddressLine1:
    case Part::AddressLine2:
    case Part::AddressLine3:
    case Part::Building:
        return true;
    default:
        return false;
    }
}

QString foldHeading(QStringView heading) {
    QString folded;
    for (QChar c : text::toHalfWidthAscii(heading))
        if (!text::isBlank(c) && c != u'\t')
            folded += c.toLower();
    return folded;
}

std::optional<HeadingMatch> partOfHeading(QStringView heading) {
    // Headings are short; a long first field is data, not a heading.
    if (heading.size() > 60)
        return std::nullopt;
    const QString folded = foldHeading(heading);
    if (folded.isEmpty())
        return std::nullopt;
    if (const std::optional<Part> p = partOfFolded(folded))
        return HeadingMatch{*p, 0};
    for (const SetPrefix& prefix : SetPrefixes) {
        if (!folded.startsWith(prefix.folded))
            continue;
        const std::optional<Part> p =
            partOfFolded(QStringView(folded).sliced(prefix.folded.size()));
        // Only an address or its postal code comes in sets; 会社名 is no
        // member of a work address.
        if (p && (isAddressPart(*p) || *p == Part::PostalCode))
            return HeadingMatch{*p, prefix.set};
    }
    return std::nullopt;
}

} // namespace yubin::labels
