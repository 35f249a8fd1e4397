#pragma once

// The program's Japanese gothic font. The windows ask for "ＭＳ ゴシック" by
// name, and the label sheets of `yubin-cli labels` draw with it too, so the
// substitutes that make the name resolve belong to the core.

#include <QFont>
#include <QStringList>

namespace yubin {

// Makes "ＭＳ ゴシック" resolve to an installed Japanese gothic font.
void installJapaneseFontSubstitutes();

// The program's fixed-pitch Japanese font at a size in points.
QFont makeGothicFont(double pointSize, bool bold = false);

} // namespace yubin
