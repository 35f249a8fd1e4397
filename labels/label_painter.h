#pragma once

// One address label: what it says, how its texts are fitted into it, and
// how a sheet of them is painted on any device (a PDF page, a printer, the
// preview picture).
//
// From the top: 〒 and the postal code; the address on one or two lines; the
// building; the company and department; the name with its honorific,
// larger; and at the bottom, centred, the customer barcode with its 2 mm
// quiet zone. A text too wide is set smaller, down to 6 pt; what still does
// not fit is cut with "…" and reported.

#include "foundation/print_fonts.h"
#include "labels/sheet_layout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <map>
#include <memory>
#include <span>
#include <vector>

class QPainter;
class QPaintDevice;

namespace yubin::labels {

// The texts of a label, as they are to be read.
struct LabelText {
    QString postalCode; // 7 digits, or empty
    QString address;    // a blank marks where a second line may begin
    QString building;
    QString company; // company and department above a person's name
    QString name;    // the person or, without one, the company, with the honorific
    QString barcode; // the full bar pattern; empty for a label without one
};

// Point sizes before any shrinking, and the smallest a label text gets.
inline constexpr double PostalCodePt = 10.5;
inline constexpr double AddressPt = 12;
inline constexpr double LinePt = 10; // building, company
inline constexpr double NamePt = 15;
inline constexpr double MinimumPt = 6;

enum class LabelField { PostalCode, Address, Building, Company, Name };

// One line of text placed in a label, in millimetres from its corner.
struct PlacedLine {
    QString text;
    double pointSize = 0;
    QPointF baselineMm;
};

struct ComposedLabel {
    std::vector<PlacedLine> lines;
    QRectF barcodeMm; // the full pattern's extent, relative to the label; null without
    QString barcode;
    std::vector<LabelField> cut; // fields shortened or left out to fit
};

// "〒100-0013"; "〒" alone for an empty code.
QString postalCodeLine(const QString& sevenDigits);

// The Japanese name of a field, for the warnings: 住所, 建物…
QString fieldName(LabelField field);

// Fits label texts into labels of one size at one code size. Fonts and
// their metrics are made once per point size and kept, so composing
// thousands of labels looks up no font twice.
class LabelComposer {
public:
    LabelComposer(QSizeF labelMm, int codeSize);
    ~LabelComposer();

    ComposedLabel compose(const LabelText& text);

    // The font of a point size (a multiple of 0.25), made once.
    const QFont& font(double pointSize);

private:
    // A line's height: ascent, descent and a little leading.
    double lineMm(double pointSize);
    double widthMm(const QString& text, double pointSize);
    // The largest size up to `pt` at which the text fits the width, or the
    // minimum with the text cut; `cut` tells which.
    double fitWidth(QString& text, double pt, double widthMm, bool* cut);

    QSizeF label;
    int codeSize;
    PrintFonts fonts;
};

// One label of a sheet: its place and what it shows.
struct SheetLabel {
    int slot = 0;
    ComposedLabel label;
};

// Paints the labels of one sheet on a painter open on `device`, whose
// origin is the paper's corner.
void paintSheet(QPainter& painter, const QPaintDevice& device, const SheetLayout& layout,
                int codeSize, LabelComposer& composer, std::span<const SheetLabel> labels);

// The outlines of every label of a sheet, as the preview shows the sheet.
void paintOutlines(QPainter& painter, const QPaintDevice& device, const SheetLayout& layout);

// A sheet as a picture of white A4 paper at a resolution, with the labels'
// outlines: the window's preview and the user guide's picture.
QImage sheetPicture(const SheetLayout& layout, int codeSize, LabelComposer& composer,
                    std::span<const SheetLabel> labels, double dotsPerInch);

} // namespace yubin::labels
