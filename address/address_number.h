#pragma once

// The address number (住所表示番号) of the customer barcode: what remains of
// the part of an address after its town, by the postal service's rules.

#include <QString>
#include <QStringView>

namespace yubin::address {

struct AddressNumber {
    QString number;              // digits, letters and single inner hyphens
    bool lettersDropped = false; // letters side by side were left out
};

// The address number of address B (the address after its town).
AddressNumber addressNumber(QStringView addressB);

// The barcode keeps 13 places for the address number after the 7 of the
// postal code; a letter takes two (its control code and a digit).
inline constexpr int AddressNumberPlaces = 13;
int barcodePlaces(QStringView number);

} // namespace yubin::address
