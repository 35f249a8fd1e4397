#pragma once

// The address side of one postcard or envelope: what it says and where
// each character goes, in millimetres from the piece's top-left corner.
//
// The postal code in the seven boxes at the top right; in vertical writing
// (縦書き) the address in one or two columns at the right, the company
// beside it, the name large down the middle with its joint names (連名) to
// its left, aligned on the family name; the sender at the bottom left,
// smaller, with the sender's code under the address. Horizontal writing
// keeps the same places in lines. A text too long is set smaller first and
// cut only at its smallest; a cut is reported.

#include "foundation/print_fonts.h"
#include "foundation/text.h"
#include "postcards/paper.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace yubin::postcards {

enum class Writing { Vertical, Horizontal };

struct Sender {
    QString name;
    QString postalCode; // 7 digits or empty
    QString address;
    bool isEmpty() const { return name.isEmpty() && postalCode.isEmpty() && address.isEmpty(); }
};

struct CardOptions {
    Paper paper = builtInPapers()[0];
    Writing writing = Writing::Vertical;
    text::KanjiNumerals numerals = text::KanjiNumerals::DigitByDigit;
    Sender sender;
    QPointF offsetMm;       // the printer's error, corrected: right and down
    bool drawBoxes = false; // red boxes for an envelope printed without them
    bool barcode = false;   // the customer barcode, for bulk mail
};

// The texts of one card, as they are read.
struct CardText {
    QString postalCode; // 7 digits, or empty
    QString address;
    QString building;
    QString company;
    QString department;
    QString title;     // 役職, small above the name
    QString name;      // family and given name, a blank between them
    QString honorific; // 様, 御中 or as the list gives it
    QStringList jointNames;
    QString barcode; // the full bar pattern; empty for none
};

inline constexpr int MaxJointNames = 3;

enum class CardField { Address, Building, Company, Name, JointNames, Sender };

// The Japanese name of a field, for the warnings.
QString cardFieldName(CardField field);

// One text drawn: upright from its baseline's start, or turned a quarter
// clockwise about the centre of its cell.
struct PlacedText {
    QString text;
    double pointSize = 0;
    QPointF atMm; // upright: the baseline's start; turned: the cell's centre
    bool turned = false;
    QPointF turnedBaselineMm; // turned: the baseline's start in the turned frame
};

struct ComposedCard {
    std::vector<PlacedText> texts;
    std::vector<QRectF> boxesMm; // the red boxes to draw, with the hyphen
    QRectF hyphenMm;
    QString barcode;
    QPointF barcodeMm; // the pattern's top-left corner
    int barcodeSize = 0;
    std::vector<CardField> cut;
};

// The code size of the barcode on a piece: 10 point, as the post asks of
// bulk mail, where its quiet zone stays 10 mm from both side edges, else
// 8 point, which every piece from 90 mm wide holds.
int barcodeSizeFor(const Paper& paper);

// One cell of a vertical column: a character upright, or a turned run.
struct VerticalCell {
    QString text;
    bool turned = false;
};

// Text as vertical writing sets it: each character upright in its own cell,
// ASCII turned to its full-width form; the characters that turn in vertical
// writing turned; a run of three or more ASCII letters and digits, as a
// Latin word in a name, turned as a whole, as Japanese books set it, and a
// shorter run upright, a character a cell.
std::vector<VerticalCell> verticalCells(QStringView text);

// Lays cards out for one set of options. Fonts and their metrics are made
// once per size and kept, and the sender, the same on every card, is laid
// out once.
class CardComposer {
public:
    explicit CardComposer(const CardOptions& options);
    ~CardComposer();

    ComposedCard compose(const CardText& text);
    const CardOptions& options() const { return opts; }
    const QFont& font(double pointSize);

private:
    struct Column;
    double widthMm(const QString& text, double pt);
    double cellsLengthMm(const std::vector<VerticalCell>& cells, double pt);
    // The largest size from `pt` down to `minPt` at which the cells fill no
    // more than the length.
    double fittingSize(const std::vector<VerticalCell>& cells, double pt, double minPt,
                       double lengthMm);
    // Places cells down a column from `topMm`; what passes `bottomMm` is
    // left out, the last cell kept made "…", and false returned.
    bool placeColumn(const std::vector<VerticalCell>& cells, double pt, double xMm, double topMm,
                     double bottomMm, std::vector<PlacedText>& out);
    bool placeLine(QString text, double pt, double minPt, double xMm, double baselineMm,
                   double widthMm, std::vector<PlacedText>& out);
    void placeDigits(const QString& code, ComposedCard& out);
    void composeVertical(const CardText& text, double bottomMm, ComposedCard& out);
    void composeHorizontal(const CardText& text, double bottomMm, ComposedCard& out);
    void composeSender();

    CardOptions opts;
    PrintFonts fonts;
    std::optional<ComposedCard> sender;
    double digitPt = 0;
    double bottomMm = 0; // where the texts end: above the barcode's band
    double senderTopMm = 0;
    int barcodeSize = 0;
    QPointF barcodeAtMm;
};

} // namespace yubin::postcards
