#include "barcode/cbarcode.h"

#include <QPainter>

#include <limits>

namespace yubin {

namespace barcode {

std::optional<int> codeSizeOfPrinterBlock(int block) {
    switch (block) {
    case 4:
        return 1;
    case 8:
        return 2;
    case 12:
        return 3;
    default:
        return std::nullopt;
    }
}

QRectF toDevicePixels(const QRectF& mm, const QPaintDevice& device) {
    const double perMmX = device.logicalDpiX() / 25.4;
    const double perMmY = device.logicalDpiY() / 25.4;
    return {mm.x() * perMmX, mm.y() * perMmY, mm.width() * perMmX, mm.height() * perMmY};
}

void paintPrintedBars(QPainter& painter, const QPaintDevice& device, QStringView pattern,
                      double topMm, double leftMm, int codeSize) {
    std::vector<QRectF> bars = printedBars(pattern, topMm, leftMm, codeSize);
    for (QRectF& bar : bars)
        bar = toDevicePixels(bar, device);
    painter.save();
    // Edges between device pixels are blended rather than snapped, so a
    // raster device keeps each bar's width to the fraction of a pixel.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRects(bars.data(), int(bars.size()));
    painter.restore();
}

} // namespace barcode

cBarcode::cBarcode(const SharedValues& sharedValues) : shared(sharedValues) {}

BarcodeError cBarcode::PrintBarZip() {
    const std::optional<barcode::Barcode> built = barcode::encodeBarcode(code);
    if (!built)
        return BarcodeError::UnencodableCharacter;
    deg = built->check;
    lastPattern = built->pattern;
    if (!target)
        return BarcodeError::None;
    return target->kind() == BarcodeSurface::Kind::Picture ? drawPicture() : drawPrinted();
}

BarcodeError cBarcode::drawPicture() {
    const barcode::PreviewPlacement place = barcode::previewPlacement(block);
    top = place.top;
    left = place.left;
    // Worked out in full before painting, so a failure leaves no half barcode.
    const auto bars = barcode::previewBars(lastPattern, block, shared.BarCodeSize);
    if (!bars)
        return block < 1 ? BarcodeError::InvalidSize : BarcodeError::Overflow;
    QPainter painter;
    if (!painter.begin(&target->device()))
        return BarcodeError::PaintFailed;
    for (const QRect& bar : *bars)
        painter.fillRect(bar, Qt::black);
    return painter.end() ? BarcodeError::None : BarcodeError::PaintFailed;
}

BarcodeError cBarcode::drawPrinted() {
    // The fields are millimetres; they read back scaled by 30 as they
    // always have, while the bars go where the millimetres say.
    const qint32 topMm = top;
    const qint32 leftMm = left;
    qint32 scaledTop = 0;
    qint32 scaledLeft = 0;
    if (__builtin_mul_overflow(topMm, 30, &scaledTop) ||
        __builtin_mul_overflow(leftMm, 30, &scaledLeft))
        return BarcodeError::Overflow;
    top = scaledTop;
    left = scaledLeft;
    const std::optional<int> codeSize = barcode::codeSizeOfPrinterBlock(block);
    if (!codeSize)
        return BarcodeError::InvalidSize;

    QPaintDevice& device = target->device();
    QPainter painter;
    if (!painter.begin(&device))
        return BarcodeError::PaintFailed;
    barcode::paintPrintedBars(painter, device, lastPattern, topMm, leftMm, *codeSize);
    return painter.end() ? BarcodeError::None : BarcodeError::PaintFailed;
}

} // namespace yubin
