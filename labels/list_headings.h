#pragma once

// The one table of the headings address lists carry: what spreadsheets,
// address books and mail programs call their columns, in Japanese and in
// English, whole or split over several columns.

#include <QString>
#include <QStringView>

#include <optional>

namespace yubin::labels {

// What one column of a list holds.
enum class Part {
    PostalCode,
    Prefecture, // the address split: 都道府県, 市区町村, 町域, 番地
    City,
    Town,
    Street,
    Address, // the address in one column
    AddressLine1,
    AddressLine2,
    AddressLine3,
    Building,
    Name,
    LastName,
    FirstName,
    Title,
    Company,
    Department,
    Honorific,
    Joint1,
    Joint2,
    Joint3,
};
inline constexpr int PartKinds = 20;

// Whether a part belongs to the address (the building included): these come
// in sets, such as a home and a work address.
bool isAddressPart(Part part);

// The heading folded for matching: blanks of either width dropped, full-width
// letters, digits and signs as ASCII, letters in lower case.
QString foldHeading(QStringView heading);

struct HeadingMatch {
    Part part;
    // The address set the column belongs to: 0 for a plain heading, 1 for a
    // home address (自宅…, Home …, Address 1 - …), 2 for a work address
    // (勤務先…, Business …, Work …, Address 2 - …), 3 for Address 3 - ….
    int set = 0;
};

// The part a heading names; nullopt for a heading no rule uses.
std::optional<HeadingMatch> partOfHeading(QStringView heading);

} // namespace yubin::labels
