#pragma once

// Label sheets: where each label of an A4 sheet lies, the sheets commonly
// sold in Japan, a layout given in millimetres, and whether a layout can be
// printed at all: on the paper, labels apart, and room for the customer
// barcode with its quiet zone.

#include <QRectF>
#include <QString>
#include <QStringView>

#include <optional>
#include <span>

namespace yubin::labels {

inline constexpr double A4WidthMm = 210.0;
inline constexpr double A4HeightMm = 297.0;

// Inside a label: the texts keep this far from its left, right and top
// edges; the barcode's quiet zone reaches to its bottom edge at most; and
// above the barcode at least this much height is left for the texts (the
// postal code, an address line and the name at their smallest).
inline constexpr double LabelPaddingMm = 2.5;
inline constexpr double MinTextHeightMm = 10.0;

struct SheetLayout {
    QString key;  // "12", "21", "24", or the custom text as given
    QString name; // as the window lists it
    int columns = 0;
    int rows = 0;
    double widthMm = 0; // one label
    double heightMm = 0;
    double topMm = 0; // the first label's corner from the paper's
    double leftMm = 0;
    double hPitchMm = 0; // from one label's left edge to the next one's
    double vPitchMm = 0;

    int labelsPerSheet() const { return columns * rows; }
    // Label `slot` (0-based, left to right, then down) in millimetres from
    // the paper's top-left corner.
    QRectF labelRectMm(int slot) const;
};

// The sheets offered by name, in the order the window lists them.
std::span<const SheetLayout> builtInLayouts();

// A layout by its key ("12", "21", "24") or as
// COLSxROWS:WIDTHxHEIGHT:TOP,LEFT:HPITCH,VPITCH in millimetres. nullopt and
// a Japanese message when the text is neither.
std::optional<SheetLayout> parseLayout(QStringView text, QString* error);

// The layout in the form parseLayout reads, its figures in millimetres
// without trailing zeros: the 12-label sheet is 2x6:86.4x42.3:21.5,18.6:86.4,42.3.
QString layoutText(const SheetLayout& layout);

// Why a layout cannot be printed on A4 (labels beyond the paper, labels
// overlapping, nothing to print), in Japanese; nullopt when it can.
std::optional<QString> layoutProblem(const SheetLayout& layout);

// Why a label of the layout cannot hold the customer barcode of a code size
// (1-3) with its quiet zone and a little text, naming the code sizes that
// would fit; nullopt when it can.
std::optional<QString> barcodeProblem(const SheetLayout& layout, int codeSize);

// The code size a label of the layout is printed at when none is chosen:
// the barcode window's default where it fits, else the largest that fits
// (the 21- and 24-label sheets hold only the smallest), else the default, so
// that the refusal names the sizes.
int fittingCodeSize(const SheetLayout& layout);

// The layout's problem or the barcode's, whichever comes first.
std::optional<QString> printProblem(const SheetLayout& layout, int codeSize);

} // namespace yubin::labels
