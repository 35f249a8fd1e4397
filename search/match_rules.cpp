#include "search/match_rules.h"

#include "foundation/text.h"

namespace yubin {

SearchWords splitSearchWords(const QString& trimmedText) {
    SearchWords words;
    qsizetype separator = trimmedText.indexOf(u' ');
    if (separator < 0)
        separator = trimmedText.indexOf(QChar(0x3000));
    if (separator < 0) {
        words.first = trimmedText;
        return words;
    }
    words.first = text::trimmed(QStringView(trimmedText).left(separator + 1));
    words.second = text::trimmed(QStringView(trimmedText).mid(separator));
    words.twoWords = true;
    return words;
}

bool lineMatches(QStringView line, const SearchWords& words, bool fold, LineForms& forms) {
    const bool rawFirst = line.contains(words.first);
    if (rawFirst && !words.twoWords)
        return true;
    if (!rawFirst && !fold)
        return false;
    text::toFullWidth(line, forms.fullWidth);
    text::katakanaToHiragana(forms.fullWidth, forms.hiragana);
    auto inForms = [&](const QString& word) {
        return forms.fullWidth.contains(word) || forms.hiragana.contains(word);
    };
    if (!rawFirst && !inForms(words.first))
        return false;
    // The second word is always looked for in the derived forms.
    return !words.twoWords || inForms(words.second);
}

} // namespace yubin
