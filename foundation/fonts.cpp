#include "foundation/fonts.h"

namespace yubin {

void installJapaneseFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                                QStringLiteral("Noto Sans Mono CJK JP"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic"),
                                QStringLiteral("TakaoGothic")});
}

QFont makeGothicFont(double pointSize, bool bold) {
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace yubin
