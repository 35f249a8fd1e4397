#pragma once

// What the full search window accepts as a text search or a postal-code
// search, and the texts it shows about them.

#include <QString>

#include <optional>

namespace yubin {

enum class TextSearchCheck {
    Ok,           // one word, or two words separated by one blank
    Empty,        // the focus goes back to the box
    TooManyWords, // nothing happens
};

// Checks a search text, already trimmed of blanks at both ends.
TextSearchCheck checkSearchText(const QString& trimmedText);

// The 7-digit key of a postal-code text (trimmed first): seven digits, or
// three, "-" and four. nullopt when refused.
std::optional<QString> postalCodeKey(const QString& text);

// The digit counter above the postal-code box: "7桁" for 123-4567; empty
// for an empty box.
QString digitCounterText(const QString& boxText);

inline const QString SearchIdleLine = QStringLiteral("文字列検索をしてください");

} // namespace yubin
