#pragma once

// The one postal-code rule of the program: what the full search's postal-code
// box, the barcode window's postal-code box and `yubin-cli code` accept.

#include <QString>
#include <QStringView>

namespace yubin {

// Whether a hyphen may stand between the third and the fourth digit.
enum class HyphenRule { Refused, AfterThirdDigit };

enum class PostalCodeText {
    NotACode, // a character other than 0-9, or a hyphen out of place
    Short,    // fewer than seven digits so far, the empty text included
    Complete, // seven digits
    Long,     // more than seven digits
};

// A seven-digit code as people write it, 123-4567; any other text as it is.
QString postalCodeText(const QString& code);

// Judges a text that holds nothing but the code: blanks count as foreign
// characters. Only "0"-"9" are digits; full-width digits are not.
PostalCodeText judgePostalCode(QStringView text, HyphenRule hyphen);

} // namespace yubin
