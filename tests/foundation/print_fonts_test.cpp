#include "foundation/print_fonts.h"

#include <gtest/gtest.h>

namespace yubin {
namespace {

// A text's width summed from its characters is the width the painter
// shapes it to, whatever the text holds; and asking again gives the same.
TEST(PrintFonts, SummedWidthIsTheShapedWidth) {
    PrintFonts fonts;
    const char16_t* texts[] = {
        u"東京都千代田区霞が関１丁目３－２",
        u"ｶｽﾐｶﾞｾｷ 1-3-2　〒100-0013",
        u"𠮷野家ビル１２Ｆ",      // a character outside the basic plane
        u"葛\U000E0100飾区",      // with a variation selector
        u"AVATAR Tower 株式会社", // Latin letters: shaped whole
    };
    for (const double pt : {6.0, 10.5, 15.0}) {
        const PrintFont& f = fonts.at(pt);
        EXPECT_FALSE(f.font.kerning());
        for (const char16_t* t : texts) {
            const QString text = QString::fromUtf16(t);
            const double shaped = f.metrics.horizontalAdvance(text) * fonts.mmPerDot();
            EXPECT_NEAR(fonts.widthMm(text, pt), shaped, 1e-6) << text.toStdString() << pt;
            EXPECT_NEAR(fonts.widthMm(text, pt), shaped, 1e-6) << "cached";
        }
    }
    EXPECT_GT(fonts.widthMm(u"霞が関", 12), fonts.widthMm(u"霞が関", 6) * 1.9);
    EXPECT_EQ(fonts.widthMm(u"", 12), 0.0);
}

} // namespace
} // namespace yubin
