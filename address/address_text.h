#pragma once

// The one folding under which an address and the data's names are compared:
// what a writer may vary without meaning another place.

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace yubin::address {

// An address or a name folded for comparison: blanks and variation
// selectors dropped; full-width ASCII to half-width and letters to upper
// case; old and variant kanji to their base form and small kana to full
// size (foundation/text.h); ヶ ケ が ガ to ケ; 之 の ノ to ノ; hyphen-like
// signs to "-"; every run of kanji numerals that reads as a number to
// arabic digits (text::kanjiNumberValue). `origin[i]` is where the folded character i began
// in the input; origin has one more entry, the input's length.
struct FoldedText {
    QString text;
    std::vector<qsizetype> origin;
};
FoldedText foldForMatch(QStringView in);
inline QString folded(QStringView in) {
    return foldForMatch(in).text;
}

} // namespace yubin::address
