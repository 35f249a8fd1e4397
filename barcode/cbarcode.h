#pragma once

// cBarcode draws the customer barcode of a data text, bar by bar, on a
// surface: the preview picture of the barcode window or a printer page.

#include "barcode/barcode_code.h"
#include "foundation/shared_values.h"

#include <QPaintDevice>
#include <QPainter>
#include <QString>

namespace yubin {

// A drawing surface and what kind it is. A picture is measured in screen
// pixels; a printer (or any device standing in for one) in millimetres on
// paper, converted at the device's own resolution.
class BarcodeSurface {
public:
    enum class Kind { Picture, Printer };

    static BarcodeSurface picture(QPaintDevice& device) { return {Kind::Picture, device}; }
    static BarcodeSurface printer(QPaintDevice& device) { return {Kind::Printer, device}; }

    Kind kind() const { return surfaceKind; }
    QPaintDevice& device() const { return *paintDevice; }

private:
    BarcodeSurface(Kind kind, QPaintDevice& device) : surfaceKind(kind), paintDevice(&device) {}
    Kind surfaceKind;
    QPaintDevice* paintDevice;
};

enum class BarcodeError {
    None,
    UnencodableCharacter, // nothing drawn, Deg unchanged
    Overflow,             // a position does not fit a 32-bit integer
    InvalidSize,          // a size unit the surface cannot draw
    PaintFailed,          // the device would not be painted on
};

class cBarcode {
public:
    // Reads the code size last chosen in the barcode window at every draw.
    explicit cBarcode(const SharedValues& shared);

    // Encodes Code, sets Deg and draws on Target. With no Target it only
    // encodes. A picture places the barcode itself and stores its placement
    // in Top and Left; a printer draws at Top and Left millimetres from the
    // page's corner, at the standard's size for the code size Block / 4,
    // and stores Top and Left multiplied by 30. Opens and ends its own
    // painter, so on a printer the call ends the document.
    BarcodeError PrintBarZip();

    BarcodeSurface* Target() const { return target; }
    void setTarget(BarcodeSurface* surface) { target = surface; }
    qint32 Top() const { return top; }
    void setTop(qint32 value) { top = value; }
    qint32 Left() const { return left; }
    void setLeft(qint32 value) { left = value; }
    qint32 Block() const { return block; }
    void setBlock(qint32 value) { block = value; }
    QString Code() const { return code; }
    void setCode(const QString& value) { code = value; }
    qint32 Deg() const { return deg; }

    // The full pattern of the last call that got past the encoding.
    const QString& pattern() const { return lastPattern; }
    // The character the last failed encoding stopped at.

private:
    BarcodeError drawPicture();
    BarcodeError drawPrinted();

    const SharedValues& shared;
    BarcodeSurface* target = nullptr;
    qint32 top = 0;
    qint32 left = 0;
    qint32 block = 0;
    qint32 deg = 0;
    QString code;
    QString lastPattern;
};

namespace barcode {

// The code size of a printer's size unit: 4, 8, 12 give 1, 2, 3.
std::optional<int> codeSizeOfPrinterBlock(int block);

// Millimetres to pixels of a device, horizontally and vertically.
QRectF toDevicePixels(const QRectF& mm, const QPaintDevice& device);

// Paints a full pattern's bars at the standard's size for a code size, with
// the pattern's top-left corner (leftMm, topMm) from the device's corner, on
// a painter already open on the device.
void paintPrintedBars(QPainter& painter, const QPaintDevice& device, QStringView pattern,
                      double topMm, double leftMm, int codeSize);

} // namespace barcode

} // namespace yubin
