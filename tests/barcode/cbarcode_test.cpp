#include "barcode/bar_measure.h"
#include "barcode/cbarcode.h"

#include <QImage>
#include <QPageSize>

#include <gtest/gtest.h>

#include <cmath>

namespace yubin {
namespace {

const QSizeF A4Mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);

class Drawer : public testing::Test {
protected:
    cBarcode encoderFor(const QString& code, int block) {
        cBarcode b(shared);
        b.setCode(code);
        b.setBlock(block);
        return b;
    }
    QImage blankPreview() const {
        QImage image(barcode::PreviewImageSize, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }
    static int inkedPixels(const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += qGray(image.pixel(x, y)) < 128;
        return n;
    }
    SharedValues shared;
};

// ---- encoding through the drawer --------------------------------------------

TEST_F(Drawer, WithoutSurfaceOnlyEncodes) {
    cBarcode b = encoderFor(QStringLiteral("1234567"), 2);
    b.setTop(7);
    b.setLeft(9);
    EXPECT_EQ(b.Deg(), 0);
    EXPECT_EQ(b.PrintBarZip(), BarcodeError::None);
    EXPECT_EQ(b.Deg(), 18);
    EXPECT_EQ(b.pattern().size(), 138);
    EXPECT_EQ(b.Top(), 7);
    EXPECT_EQ(b.Left(), 9);
}

TEST_F(Drawer, FailedEncodingKeepsDegAndDrawsNothing) {
    QImage image = blankPreview();
    BarcodeSurface picture = BarcodeSurface::picture(image);
    cBarcode b = encoderFor(QStringLiteral("12345671-1"), 2);
    b.setTarget(&picture);
    ASSERT_EQ(b.PrintBarZip(), BarcodeError::None);
    ASSERT_EQ(b.Deg(), 10);
    image.fill(Qt::white);
    for (const QString& code :
         {QStringLiteral("1234567#"), QStringLiteral("1234567丁目"), QStringLiteral("1234567１")}) {
        b.setCode(code);
        b.setTop(1);
        b.setLeft(2);
        EXPECT_EQ(b.PrintBarZip(), BarcodeError::UnencodableCharacter);
        EXPECT_EQ(b.Deg(), 10);
        EXPECT_EQ(b.failure().position, 7);
        EXPECT_EQ(b.Top(), 1);
        EXPECT_EQ(b.Left(), 2);
    }
    EXPECT_EQ(inkedPixels(image), 0);
}

// ---- the preview -----------------------------------------------------------------

struct ReadBack {
    int block;
    int top;
    int left;
};

class PictureReadBack : public Drawer, public testing::WithParamInterface<ReadBack> {};

TEST_P(PictureReadBack, CallersTopAndLeftAreReplaced) {
    QImage image = blankPreview();
    BarcodeSurface picture = BarcodeSurface::picture(image);
    cBarcode b = encoderFor(QStringLiteral("1234567"), GetParam().block);
    b.setTarget(&picture);
    b.setTop(35);
    b.setLeft(15);
    b.PrintBarZip();
    EXPECT_EQ(b.Top(), GetParam().top);
    EXPECT_EQ(b.Left(), GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(Blocks, PictureReadBack,
                         testing::Values(ReadBack{1, 40, 120}, ReadBack{2, 35, 80},
                                         ReadBack{3, 35, 12}, ReadBack{7, 40, 120}));

class PreviewDrawing : public Drawer, public testing::WithParamInterface<int> {};

// Reads the bars back from the picture: left edges along the timing band,
// heights down each bar.
TEST_P(PreviewDrawing, BarsLieWhereThePlacementPutsThem) {
    const int size = GetParam();
    shared.BarCodeSize = size;
    QImage image = blankPreview();
    BarcodeSurface picture = BarcodeSurface::picture(image);
    cBarcode b = encoderFor(QStringLiteral("1234567"), size);
    b.setTarget(&picture);
    ASSERT_EQ(b.PrintBarZip(), BarcodeError::None);

    const int top = b.Top();
    const int left = b.Left();
    const int band = top + 3 * size; // inside every bar
    std::vector<int> starts, widths;
    for (int x = 0; x < image.width(); ++x) {
        const bool ink = qGray(image.pixel(x, band)) < 128;
        const bool before = x > 0 && qGray(image.pixel(x - 1, band)) < 128;
        if (ink && !before)
            starts.push_back(x);
        if (ink)
            ++(before ? widths.back() : widths.emplace_back(0));
    }
    const QString& pattern = b.pattern();
    ASSERT_EQ(starts.size(), std::size_t(67));
    const double step = size == 2 ? 1.88 : size;
    std::size_t bar = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'0')
            continue;
        EXPECT_EQ(starts[bar], int(std::floor(left + i * step + 0.5))) << i;
        EXPECT_EQ(widths[bar], size) << i;
        int first = -1, last = -1;
        for (int y = 0; y < image.height(); ++y) {
            if (qGray(image.pixel(starts[bar], y)) < 128) {
                last = y;
                if (first < 0)
                    first = y;
            }
        }
        const int upper = (pattern[i] == u'1' || pattern[i] == u'2') ? 0 : 2;
        const int lower = (pattern[i] == u'1' || pattern[i] == u'3') ? 6 : 4;
        EXPECT_EQ(first, top + upper * size) << i;
        EXPECT_EQ(last, top + lower * size) << i;
        ++bar;
    }
}

INSTANTIATE_TEST_SUITE_P(CodeSizes, PreviewDrawing, testing::Values(1, 2, 3));

TEST_F(Drawer, PreviewAdvanceFollowsTheRememberedCodeSizeNotTheBlock) {
    QImage image = blankPreview();
    BarcodeSurface picture = BarcodeSurface::picture(image);
    cBarcode b = encoderFor(QStringLiteral("1234567"), 2);
    b.setTarget(&picture);
    const int band = 35 + 6; // the timing band at size unit 2
    auto lastInkedColumn = [&] {
        for (int x = image.width() - 1; x >= 0; --x)
            if (qGray(image.pixel(x, band)) < 128)
                return x;
        return -1;
    };
    // The stop code's long bar stands at position 134, two pixels wide.
    shared.BarCodeSize = 1;
    ASSERT_EQ(b.PrintBarZip(), BarcodeError::None);
    EXPECT_EQ(lastInkedColumn(), 80 + 134 * 2 + 1);
    image.fill(Qt::white);
    shared.BarCodeSize = 2;
    ASSERT_EQ(b.PrintBarZip(), BarcodeError::None);
    EXPECT_EQ(lastInkedColumn(), int(std::floor(80 + 134 * 1.88 + 0.5)) + 1);
}

TEST_F(Drawer, PreviewIsBlackBarsOnUntouchedBackground) {
    shared.BarCodeSize = 3;
    QImage image = blankPreview();
    image.fill(QColor(200, 220, 240));
    BarcodeSurface picture = BarcodeSurface::picture(image);
    cBarcode b = encoderFor(QString(), 3);
    b.setTarget(&picture);
    ASSERT_EQ(b.PrintBarZip(), BarcodeError::None);
    EXPECT_EQ(b.Deg(), 5);
    int black = 0, background = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            black += p == qRgb(0, 0, 0);
            background += p == qRgb(200, 220, 240);
        }
    EXPECT_GT(black, 0);
    EXPECT_EQ(black + background, image.width() * image.height());
}

TEST_F(Drawer, PictureRefusesSizeUnitBelowOne) {
    QImage image = blankPreview();
    BarcodeSurface picture = BarcodeSurface::picture(image);
    cBarcode b = encoderFor(QStringLiteral("1234567"), 0);
    b.setTarget(&picture);
    EXPECT_EQ(b.PrintBarZip(), BarcodeError::InvalidSize);
    EXPECT_EQ(b.Deg(), 18);
    EXPECT_EQ(inkedPixels(image), 0);
}

// ---- the printer --------------------------------------------------------------------

TEST_F(Drawer, PrinterReadsTopAndLeftBackTimesThirty) {
    test::RecordingDevice page(300, A4Mm);
    BarcodeSurface printer = BarcodeSurface::printer(page);
    cBarcode b = encoderFor(QStringLiteral("1234567"), 8);
    b.setTarget(&printer);
    b.setTop(35);
    b.setLeft(15);
    ASSERT_EQ(b.PrintBarZip(), BarcodeError::None);
    EXPECT_EQ(b.Top(), 1050);
    EXPECT_EQ(b.Left(), 450);
    EXPECT_EQ(page.rects().size(), std::size_t(67));
}

TEST_F(Drawer, PrinterPositionTooLargeFailsBeforeDrawing) {
    test::RecordingDevice page(300, A4Mm);
    BarcodeSurface printer = BarcodeSurface::printer(page);
    cBarcode b = encoderFor(QStringLiteral("1234567"), 8);
    b.setTarget(&printer);
    b.setTop(100'000'000);
    b.setLeft(15);
    EXPECT_EQ(b.PrintBarZip(), BarcodeError::Overflow);
    EXPECT_EQ(b.Top(), 100'000'000);
    EXPECT_TRUE(page.rects().empty());
}

TEST_F(Drawer, PrinterDrawsOnlyTheThreePrinterSizeUnits) {
    for (int block : {0, 1, 2, 3, 5, 16}) {
        test::RecordingDevice page(300, A4Mm);
        BarcodeSurface printer = BarcodeSurface::printer(page);
        cBarcode b = encoderFor(QStringLiteral("1234567"), block);
        b.setTarget(&printer);
        EXPECT_EQ(b.PrintBarZip(), BarcodeError::InvalidSize) << block;
        EXPECT_TRUE(page.rects().empty()) << block;
    }
}

struct PrintCase {
    int dpi;
    int codeSize;
    double pointSize;
};

void PrintTo(const PrintCase& c, std::ostream* os) {
    *os << c.dpi << " dpi, code size " << c.codeSize;
}

class PrintedSize : public Drawer, public testing::WithParamInterface<PrintCase> {
protected:
    static constexpr double ToleranceMm = 0.02;
};

// What the printer path hands the device, taken back to millimetres at the
// device's resolution.
TEST_P(PrintedSize, RectanglesOnThePageMatchTheStandard) {
    const PrintCase& c = GetParam();
    test::RecordingDevice page(c.dpi, A4Mm);
    BarcodeSurface printer = BarcodeSurface::printer(page);
    cBarcode b = encoderFor(QStringLiteral("12345671-1"), c.codeSize * 4);
    b.setTarget(&printer);
    b.setTop(35);
    b.setLeft(15);
    ASSERT_EQ(b.PrintBarZip(), BarcodeError::None);
    EXPECT_EQ(page.otherDrawings(), 0);
    EXPECT_TRUE(page.allBlack());
    std::vector<QRectF> measured;
    for (const QRectF& px : page.rects())
        measured.push_back(test::pixelsToMm(px, c.dpi));
    test::expectSameBars(measured, test::standardBars(b.pattern(), 35, 15, c.pointSize),
                         ToleranceMm);
}

// The same drawing rasterised at the printer's resolution and measured by ink.
TEST_P(PrintedSize, InkOnARasterPageMatchesTheStandard) {
    const PrintCase& c = GetParam();
    const double top = 6, left = 4;
    QImage image = test::whitePage(c.dpi, QSizeF(left + 100, top + 10));
    BarcodeSurface printer = BarcodeSurface::printer(image);
    cBarcode b = encoderFor(QStringLiteral("1000001ABC-12"), c.codeSize * 4);
    b.setTarget(&printer);
    b.setTop(int(top));
    b.setLeft(int(left));
    ASSERT_EQ(b.PrintBarZip(), BarcodeError::None);
    const int band = int((top + 0.18 * c.pointSize) / test::MmPerInch * c.dpi);
    std::vector<QRectF> measured;
    for (const QRectF& px : test::rasterBars(image, band))
        measured.push_back(test::pixelsToMm(px, c.dpi));
    test::expectSameBars(measured, test::standardBars(b.pattern(), top, left, c.pointSize),
                         ToleranceMm);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, PrintedSize,
                         testing::Values(PrintCase{300, 1, 8.0}, PrintCase{300, 2, 10.0},
                                         PrintCase{300, 3, 11.5}, PrintCase{1200, 1, 8.0},
                                         PrintCase{1200, 2, 10.0}, PrintCase{1200, 3, 11.5}),
                         [](const testing::TestParamInfo<PrintCase>& info) {
                             return std::to_string(info.param.dpi) + "dpiSize" +
                                    std::to_string(info.param.codeSize);
                         });

TEST_F(Drawer, PrintedSizeDoesNotDependOnTheAdvanceOfThePreview) {
    // Code size 2 shrinks the preview's advance; paper keeps the standard pitch.
    std::vector<QRectF> rects[2];
    for (int shared2 : {0, 1}) {
        shared.BarCodeSize = shared2 ? 2 : 1;
        test::RecordingDevice page(600, A4Mm);
        BarcodeSurface printer = BarcodeSurface::printer(page);
        cBarcode b = encoderFor(QStringLiteral("1234567"), 8);
        b.setTarget(&printer);
        ASSERT_EQ(b.PrintBarZip(), BarcodeError::None);
        rects[shared2] = page.rects();
    }
    EXPECT_EQ(rects[0], rects[1]);
}

} // namespace
} // namespace yubin
