#pragma once

// Which lines of a data file a full search finds: the words of the search
// text and the match table applied to one line.

#include <QString>
#include <QStringView>

namespace yubin {

// The words of a text search: the first word, and the second when the text
// holds a separating blank (a half-width one first, else a full-width one).
struct SearchWords {
    QString first;
    QString second;
    bool twoWords = false;
};
SearchWords splitSearchWords(const QString& trimmedText);

// The full-width and hiragana forms of a line, kept between lines so that
// their buffers are reused.
struct LineForms {
    QString fullWidth;
    QString hiragana;
};

// The match table applied to one trimmed line: the first word found as
// stored, or with `fold` in the line's full-width or hiragana form, and a
// second word always in one of those forms. The raw test decides alone
// where it can; the derived forms are built only when it does not.
bool lineMatches(QStringView line, const SearchWords& words, bool fold, LineForms& forms);

// Lines shorter than this, blanks trimmed, never match.
inline constexpr qsizetype ShortestMatchingLine = 10;

} // namespace yubin
