#include "search/search_input.h"

#include "foundation/postal_code.h"
#include "foundation/text.h"

namespace yubin {

TextSearchCheck checkSearchText(const QString& trimmedText) {
    if (trimmedText.isEmpty())
        return TextSearchCheck::Empty;
    qsizetype blanks = 0;
    for (QChar c : trimmedText)
        blanks += text::isBlank(c) ? 1 : 0;
    return blanks >= 2 ? TextSearchCheck::TooManyWords : TextSearchCheck::Ok;
}

std::optional<QString> postalCodeKey(const QString& text) {
    QString key = text::trimmed(text);
    if (judgePostalCode(key, HyphenRule::AfterThirdDigit) != PostalCodeText::Complete)
        return std::nullopt;
    return key.remove(u'-');
}

QString digitCounterText(const QString& boxText) {
    if (boxText.isEmpty())
        return QString();
    return QString::number(boxText.size() - boxText.count(u'-')) + QStringLiteral("桁");
}

} // namespace yubin
