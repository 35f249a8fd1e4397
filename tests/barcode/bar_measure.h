#pragma once

// Measuring a drawn barcode: the bars the postal standard prescribes, the
// filled rectangles of a PDF page as Qt writes it, and the preview picture.

#include "barcode/cbarcode.h"
#include "support/data_files.h"

#include <QImage>
#include <QRectF>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <vector>

namespace yubin::test {

inline constexpr double MmPerPoint = 25.4 / 72;

// Where the standard puts each bar, in millimetres from the page corner, for
// a point size a: bars 0.06a wide at a pitch of 0.12a, the first one pitch
// from the left; a long bar 0.36a tall, the half bars 0.24a and the timing
// bar 0.12a in the middle.
inline std::vector<QRectF> standardBars(QStringView pattern, double topMm, double leftMm,
                                        double a) {
    const double longBar = 0.36 * a, halfBar = 0.24 * a, timing = 0.12 * a;
    std::vector<QRectF> bars;
    for (QChar s : pattern) {
        if (s == u'0')
            continue;
        const double x = leftMm + double(bars.size() + 1) * 0.12 * a;
        const double height = s == u'1' ? longBar : s == u'4' ? timing : halfBar;
        const double y = s == u'1' || s == u'2' ? topMm
                         : s == u'3'            ? topMm + longBar - halfBar
                                                : topMm + (longBar - timing) / 2;
        bars.emplace_back(x, y, 0.06 * a, height);
    }
    return bars;
}

inline QSizeF pdfPageSizeMm(const QByteArray& pdf) {
    static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const auto m = box.match(QString::fromLatin1(pdf));
    return {m.captured(1).toDouble() * MmPerPoint, m.captured(2).toDouble() * MmPerPoint};
}

// The filled rectangles of a one-page PDF written by Qt, in millimetres from
// the page's top-left corner. Qt writes one compressed content stream that
// scales the device's pixels to points, then "x y w h re f" for each rect.
inline std::vector<QRectF> pdfFilledRectsMm(const QByteArray& pdf) {
    const qsizetype begin = pdf.indexOf("stream\n", pdf.indexOf("/FlateDecode")) + 7;
    QByteArray framed("\x01\0\0\0", 4); // qUncompress wants a size guess in front
    framed += pdf.mid(begin, pdf.indexOf("endstream", begin) - begin);
    const QString content = QString::fromLatin1(qUncompress(framed));
    // One "re" for each rectangle, one "f" filling those painted together.
    static const QRegularExpression cm(QStringLiteral("(\\S+) 0 0 (\\S+) (\\S+) (\\S+) cm")),
        filled(QStringLiteral("((?:\\S+ \\S+ \\S+ \\S+ re\\s+)+)f")),
        re(QStringLiteral("(\\S+) (\\S+) (\\S+) (\\S+) re"));
    const auto t = cm.match(content);
    const double sx = t.captured(1).toDouble(), sy = t.captured(2).toDouble();
    const double tx = t.captured(3).toDouble(), ty = t.captured(4).toDouble();
    const double pageTop = pdfPageSizeMm(pdf).height() / MmPerPoint;
    std::vector<QRectF> rects;
    QString rectOps;
    for (const auto& f : filled.globalMatch(content))
        rectOps += f.captured(1);
    for (const auto& r : re.globalMatch(rectOps)) {
        const double x = r.captured(1).toDouble(), y = r.captured(2).toDouble();
        const double w = r.captured(3).toDouble(), h = r.captured(4).toDouble();
        rects.emplace_back((sx * x + tx) * MmPerPoint, (pageTop - ty - sy * y) * MmPerPoint,
                           sx * w * MmPerPoint, -sy * h * MmPerPoint);
    }
    return rects;
}

// Every bar's edges, width and height within the tolerance, one for one.
inline void expectSameBars(const std::vector<QRectF>& measured, const std::vector<QRectF>& expected,
                           double toleranceMm = 0.02) {
    ASSERT_EQ(measured.size(), expected.size());
    for (std::size_t i = 0; i < measured.size(); ++i) {
        const QRectF &m = measured[i], &e = expected[i];
        for (auto edge : {&QRectF::left, &QRectF::right, &QRectF::top, &QRectF::bottom,
                          &QRectF::width, &QRectF::height})
            EXPECT_NEAR((m.*edge)(), (e.*edge)(), toleranceMm) << "bar " << i;
    }
}

inline QImage blankPreview() {
    QImage image(barcode::PreviewImageSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The preview picture of a data text at a code size, as the drawer makes it.
inline QImage previewImage(const QString& code, int size) {
    QImage image = blankPreview();
    SharedValues shared;
    shared.BarCodeSize = size;
    cBarcode encoder(shared);
    BarcodeSurface picture = BarcodeSurface::picture(image);
    encoder.setTarget(&picture);
    encoder.setBlock(size);
    encoder.setCode(code);
    EXPECT_EQ(encoder.PrintBarZip(), BarcodeError::None);
    return image;
}

// The full pattern of a data text.
inline QString patternOf(const QString& code) {
    const auto data = barcode::dataCharacters(code);
    return data ? barcode::fullPattern(*data, barcode::checkValue(*data)) : QString();
}

} // namespace yubin::test
