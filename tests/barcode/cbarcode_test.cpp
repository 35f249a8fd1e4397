#include "barcode/bar_measure.h"
#include "barcode/cbarcode.h"

#include <cmath>

namespace yubin {
namespace {

class Drawer : public testing::Test {
protected:
    BarcodeError draw(BarcodeSurface surface, const QString& code, int block, int top = 0,
                      int left = 0) {
        b.setTarget(&surface);
        b.setCode(code);
        b.setBlock(block);
        b.setTop(top);
        b.setLeft(left);
        const BarcodeError result = b.PrintBarZip();
        b.setTarget(nullptr);
        return result;
    }
    SharedValues shared;
    cBarcode b{shared};
    QImage image = test::blankPreview();
};

TEST_F(Drawer, FailedEncodingDrawsNothingAndKeepsDegTopAndLeft) {
    b.setCode(u"12345671-1"_qs);
    ASSERT_EQ(b.PrintBarZip(), BarcodeError::None); // no surface: encodes only
    for (const QString& code : {u"1234567#"_qs, u"1234567丁目"_qs, u"1234567１"_qs}) {
        EXPECT_EQ(draw(BarcodeSurface::picture(image), code, 2, 1, 2),
                  BarcodeError::UnencodableCharacter);
        EXPECT_EQ(std::tuple(b.Deg(), b.Top(), b.Left()), std::tuple(10, 1, 2));
    }
    EXPECT_TRUE(image == test::blankPreview());
}

TEST_F(Drawer, TopAndLeftReadBackByTheKindOfSurface) {
    // The picture places each size itself; the printer scales the fields by 30.
    for (auto [block, top, left] :
         {std::tuple{1, 40, 120}, {2, 35, 80}, {3, 35, 12}, {7, 40, 120}}) {
        ASSERT_EQ(draw(BarcodeSurface::picture(image), u"1234567"_qs, block, 35, 15),
                  BarcodeError::None);
        EXPECT_EQ(std::pair(b.Top(), b.Left()), std::pair(top, left)) << block;
    }
    QImage page(64, 64, QImage::Format_RGB32);
    ASSERT_EQ(draw(BarcodeSurface::printer(page), u"1234567"_qs, 8, 35, 15), BarcodeError::None);
    EXPECT_EQ(std::pair(b.Top(), b.Left()), std::pair(1050, 450));
    // A position whose read-back overflows fails and is left as it was.
    EXPECT_EQ(draw(BarcodeSurface::printer(page), u"1234567"_qs, 8, 100'000'000, 15),
              BarcodeError::Overflow);
    EXPECT_EQ(b.Top(), 100'000'000);
}

struct PreviewCase {
    int block;
    int barCodeSize; // the remembered code size sets the advance, not the block
};

class Preview : public Drawer, public testing::WithParamInterface<PreviewCase> {};

// The bars as the preview geometry places them: one position `block` pixels
// wide, 0.94 of it at code size 2, each bar `block` pixels wide and from 0,
// 2h to 4h, 6h with h = `block` pixels, both edges included.
TEST_P(Preview, BarsLieOnTheirPositionsAtTheirHeights) {
    const auto [block, size] = GetParam();
    shared.BarCodeSize = size;
    ASSERT_EQ(draw(BarcodeSurface::picture(image), u"1000001ABC-12"_qs, block), BarcodeError::None);
    QImage expected = test::blankPreview();
    const QString pattern = b.pattern();
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar s = pattern[i];
        if (s == u'0')
            continue;
        const int x = int(std::floor(b.Left() + i * block * (size == 2 ? 0.94 : 1.0) + 0.5));
        const int top = b.Top() + (s == u'1' || s == u'2' ? 0 : 2) * block;
        const int bottom = b.Top() + (s == u'1' || s == u'3' ? 6 : 4) * block;
        for (int y = top; y <= bottom; ++y)
            for (int dx = 0; dx < block; ++dx)
                expected.setPixel(x + dx, y, qRgb(0, 0, 0));
    }
    EXPECT_TRUE(image == expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Preview,
                         testing::Values(PreviewCase{1, 1}, PreviewCase{2, 2}, PreviewCase{3, 3},
                                         PreviewCase{2, 1}),
                         [](const testing::TestParamInfo<PreviewCase>& info) {
                             return "Block" + std::to_string(info.param.block) + "CodeSize" +
                                    std::to_string(info.param.barCodeSize);
                         });

} // namespace
} // namespace yubin
