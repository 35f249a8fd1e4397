#include "foundation/postal_code.h"

#include "foundation/text.h"

#include <algorithm>

namespace yubin {

QString sevenDigitCode(const QString& column) {
    return (QStringLiteral("0000000") + column).right(7);
}

PostalCodeText judgePostalCode(QStringView text, HyphenRule hyphen) {
    qsizetype digits = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (!(c == u'-' && i == 3 && hyphen == HyphenRule::AfterThirdDigit))
            return PostalCodeText::NotACode;
    }
    if (digits < 7)
        return PostalCodeText::Short;
    return digits == 7 ? PostalCodeText::Complete : PostalCodeText::Long;
}

QValidator::State PostalCodeValidator::validate(QString& input, int& pos) const {
    const QStringView inner = text::trimBlanks(input);
    if (inner.size() != input.size()) {
        // Only a text with blanks at its ends is rewritten, so the caret
        // and the selection of an ordinary edit stay where they are.
        const int leading = int(inner.data() - input.constData());
        pos = std::clamp(pos - leading, 0, int(inner.size()));
        input = inner.toString();
    }
    switch (judgePostalCode(input, rule)) {
    case PostalCodeText::Complete:
        return Acceptable;
    case PostalCodeText::Short:
        return Intermediate;
    case PostalCodeText::NotACode:
    case PostalCodeText::Long:
        break;
    }
    return Invalid;
}

} // namespace yubin
