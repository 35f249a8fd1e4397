#include "barcode/bar_measure.h"
#include "barcode/cbarcode.h"

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

// Where the preview puts bars of 1234567 (pattern 00 1030 101040 ...): the
// long bar at place 2, the lower half bar at 4, the timing bar at 10 and the
// last long bar at 134, each `block` pixels wide. A place is `block` pixels
// wide, 0.94 of it at code size 2 (rounded to the nearest pixel); a bar
// covers 0 to 6h (long), 2h to 6h (lower half) or 2h to 4h (timing) below
// the top, both edges included, h = `block` pixels.
struct PreviewCase {
    int block;
    int barCodeSize; // the remembered code size sets the advance, not the block
    int top;
    int x2, x4, x10, x134;
};

class Preview : public Drawer, public testing::WithParamInterface<PreviewCase> {};

TEST_P(Preview, BarsLieOnTheirPlacesAtTheirHeights) {
    const PreviewCase& c = GetParam();
    shared.BarCodeSize = c.barCodeSize;
    ASSERT_EQ(draw(BarcodeSurface::picture(image), u"1234567"_qs, c.block), BarcodeError::None);
    // Black exactly from `from` to `to` below the top in the bar's columns,
    // and white in the column after it.
    auto expectBar = [&](int x, int from, int to, const char* which) {
        for (int dx = 0; dx <= c.block; ++dx)
            for (int y = 0; y < image.height(); ++y) {
                const bool black =
                    dx < c.block && y >= c.top + from * c.block && y <= c.top + to * c.block;
                EXPECT_EQ(image.pixel(x + dx, y), black ? qRgb(0, 0, 0) : qRgb(255, 255, 255))
                    << which << " x " << x + dx << " y " << y;
            }
    };
    expectBar(c.x2, 0, 6, "long bar");
    expectBar(c.x4, 2, 6, "lower half bar");
    expectBar(c.x10, 2, 4, "timing bar");
    expectBar(c.x134, 0, 6, "last bar");
}

INSTANTIATE_TEST_SUITE_P(Sizes, Preview,
                         testing::Values(PreviewCase{1, 1, 40, 122, 124, 130, 254},
                                         PreviewCase{2, 2, 35, 84, 88, 99, 332},
                                         PreviewCase{3, 3, 35, 18, 24, 42, 414},
                                         PreviewCase{2, 1, 35, 84, 88, 100, 348}));

} // namespace
} // namespace yubin
