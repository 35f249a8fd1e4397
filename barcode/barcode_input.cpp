#include "barcode/barcode_input.h"

#include "foundation/postal_code.h"
#include "foundation/text.h"

#include <limits>

namespace yubin::barcode {

namespace {

bool allDigits(QStringView s) {
    for (QChar c : s)
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    return !s.isEmpty();
}

} // namespace

std::optional<QString> postalCodeProblem(QStringView postalCode) {
    switch (judgePostalCode(postalCode, HyphenRule::Refused)) {
    case PostalCodeText::Complete:
        return std::nullopt;
    case PostalCodeText::Short:
        if (postalCode.isEmpty())
            return NotNumericMessage;
        return NotSevenDigitsMessage;
    case PostalCodeText::Long:
        return NotSevenDigitsMessage;
    case PostalCodeText::NotACode:
        break;
    }
    return NotNumericMessage;
}

std::optional<qint32> parsePosition(QStringView field) {
    const QStringView digits = text::trimBlanks(field);
    if (!allDigits(digits))
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : digits) {
        value = value * 10 + (c.unicode() - u'0');
        if (value > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    return qint32(value);
}

QString addressNumberForBarcode(QStringView addressNumber) {
    return text::toUpperCase(addressNumber);
}

QString checkValueText(int check) {
    return QStringLiteral("%1").arg(check, 2, 10, QLatin1Char('0'));
}

} // namespace yubin::barcode
