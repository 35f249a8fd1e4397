#include "foundation/fonts.h"

#include <mutex>

namespace yubin {

void installJapaneseFontSubstitutes() {
    // Once: the label run measures on a second thread while the first
    // paints, and the font table is not to change under either.
    static std::once_flag installed;
    std::call_once(installed, [] {
        QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                                   {QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
                                    QStringLiteral("Noto Sans Mono CJK JP"),
                                    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic"),
                                    QStringLiteral("TakaoGothic")});
    });
}

QFont makeGothicFont(double pointSize, bool bold) {
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace yubin
