#include "search/search_input.h"

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
    const QString t = text::trimmed(text);
    if (t.size() < 7)
        return std::nullopt;
    QString key;
    if (t.size() == 8 && t[3] == u'-')
        key = t.left(3) + t.mid(4, 4);
    else if (!t.contains(u'-'))
        key = t;
    else
        return std::nullopt;
    if (key.size() != 7)
        return std::nullopt;
    return key;
}

QString digitCounterText(const QString& boxText) {
    if (boxText.isEmpty())
        return QString();
    return QString::number(boxText.size() - boxText.count(u'-')) + QStringLiteral("桁");
}

} // namespace yubin
