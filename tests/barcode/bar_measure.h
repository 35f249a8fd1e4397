#pragma once

// Measuring a drawn barcode: the figures the postal standard prescribes, a
// paint device that records the rectangles painted on it, the bars found in
// a raster image by their ink coverage, and the filled rectangles of a PDF
// page as Qt writes it.

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QStringView>

#include <memory>
#include <vector>

namespace yubin::test {

inline constexpr double MmPerInch = 25.4;

// Where the standard puts each bar of a pattern, in millimetres from the
// page corner, for a point size a (8, 10, 11.5): bars 0.6 a/10 wide at a
// pitch of 1.2 a/10, the first one pitch from the left; a long bar 3.6 a/10
// tall, the half bars 2.4 a/10 and the timing bar 1.2 a/10 in the middle.
std::vector<QRectF> standardBars(QStringView pattern, double topMm, double leftMm,
                                 double pointSize);

// A page of the given resolution that keeps every filled rectangle, in
// device pixels, and counts whatever else was drawn.
class RecordingDevice final : public QPaintDevice {
public:
    RecordingDevice(int dpi, QSizeF pageMm);
    ~RecordingDevice() override;
    QPaintEngine* paintEngine() const override;

    std::vector<QRectF> rects() const;
    int otherDrawings() const;
    bool allBlack() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    int dpi;
    QSizeF pageMm;
    std::unique_ptr<Engine> engine;
};

// An image of the given resolution and size in millimetres, white.
QImage whitePage(int dpi, QSizeF sizeMm);

// The bars of an image, found along the row `scanRow` (which must cross
// every bar) and then down each bar's middle column, measured by coverage
// so that a partly inked edge pixel counts for its part. In pixels.
std::vector<QRectF> rasterBars(const QImage& image, int scanRow);

// The filled rectangles of the first page of a PDF written by Qt, in
// millimetres from the page's top-left corner.
std::vector<QRectF> pdfFilledRectsMm(const QByteArray& pdf);
// The first page's size in millimetres.
QSizeF pdfPageSizeMm(const QByteArray& pdf);

// Pixels of a device at a resolution to millimetres.
QRectF pixelsToMm(const QRectF& px, double dpi);

// Fails the current test unless the rectangles match one for one within the
// tolerance on each edge.
void expectSameBars(const std::vector<QRectF>& measured, const std::vector<QRectF>& expected,
                    double toleranceMm);

} // namespace yubin::test
