#include "foundation/postal_code.h"

#include <QStringBuilder>

namespace yubin {

QString postalCodeText(const QString& code) {
    return code.size() == 7 ? QStringView(code).left(3) % u'-' % QStringView(code).right(4) : code;
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

} // namespace yubin
