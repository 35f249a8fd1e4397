#pragma once

// The Japan Post customer barcode (カスタマバーコード) as values: the barcode
// characters of a data text, its check character, the bar pattern, and where
// each bar lies on the preview picture and on the printed page. Nothing here
// paints; cBarcode (cbarcode.h) draws what these functions decide.

#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace yubin::barcode {

// Values of the barcode characters: the digits 0-9 are their own value.
inline constexpr int Hyphen = 10;
inline constexpr int CC1 = 11;
inline constexpr int CC2 = 12;
inline constexpr int CC3 = 13;
inline constexpr int CC4 = 14;
inline constexpr int CC5 = 15;
inline constexpr int CC6 = 16;
inline constexpr int CC7 = 17;
inline constexpr int CC8 = 18;
inline constexpr int CharacterValues = 19;

// The data part of every barcode: 7 places for the postal code and 13 for
// the address number, whatever the text holds.
inline constexpr int DataLength = 20;
using DataCharacters = std::array<int, DataLength>;

// Bar pattern symbols, one bar position each.
inline constexpr char16_t NoBar = u'0';
inline constexpr char16_t LongBar = u'1';
inline constexpr char16_t Ascender = u'2';
inline constexpr char16_t Descender = u'3';
inline constexpr char16_t TimingBar = u'4';

inline constexpr QStringView StartCode = u"001030";
inline constexpr QStringView StopCode = u"301000";
inline constexpr int CharacterWidth = 6; // three bars, each followed by a space
// Start code, the data part, the check character and the stop code.
inline constexpr int PatternLength = 6 * (DataLength + 1) + 12;

// The six symbols of a barcode character; empty for a value outside 0-18.
QStringView characterPattern(int value);

// Where the encoding of a text stopped.
struct UnencodableCharacter {
    qsizetype position = -1; // in the text, in UTF-16 units
    QChar character;
};

// The data part of a text: each character upper-cased, digits as digits, a
// space as CC4, "-" as the hyphen, a letter as its control code and a digit,
// a character after Z (half-width katakana among them) as CC4. A letter
// whose control code takes the last place keeps only the control code;
// text beyond the 20 places is left out and a shorter text is filled with
// CC4. A character before A (punctuation, control characters) or one that is
// not a single-byte character of code page 932 cannot be encoded: nullopt,
// and *failure tells which.
std::optional<DataCharacters> dataCharacters(QStringView code,
                                             UnencodableCharacter* failure = nullptr);

// 19 minus the remainder of the sum by 19, or 0 for an exact multiple.
int checkValue(std::span<const int> data);

// Start code, the characters' patterns, the check character's, stop code.
QString fullPattern(std::span<const int> data, int check);

// The vertical extent of a symbol in height units (0 is the top line, a
// long bar reaches 6); nullopt for a space.
struct SymbolExtent {
    int top;
    int bottom;
};
std::optional<SymbolExtent> symbolExtent(QChar symbol);

// ---- the one builder ----------------------------------------------------

// What every barcode of the program is built as: the data text's
// characters, their check character and the full pattern of bars.
struct Barcode {
    DataCharacters characters{};
    int check = 0;
    QString pattern;
};

// The data text of a postal code and its address number: the code, then
// the number in upper case (addressNumberForBarcode).
QString barcodeData(QStringView postalCode, QStringView addressNumber);

// The barcode of a data text; nullopt, with *failure telling where, when a
// character cannot be encoded (dataCharacters).
std::optional<Barcode> encodeBarcode(QStringView data, UnencodableCharacter* failure = nullptr);

// From a postal code and an address number to bars, as the barcode window,
// yubin-cli, label sheets and postcards all build them.
inline std::optional<Barcode> buildBarcode(QStringView postalCode, QStringView addressNumber,
                                           UnencodableCharacter* failure = nullptr) {
    return encodeBarcode(barcodeData(postalCode, addressNumber), failure);
}

// ---- the preview picture ------------------------------------------------

// The picture's own top and left in pixels for a size unit: the preview
// ignores the print position and centres each size in the picture.
struct PreviewPlacement {
    int top;
    int left;
};
PreviewPlacement previewPlacement(int block);

// One bar position advances 0.94 of its width at code size 2.
double previewAdvanceFactor(int barCodeSize);

// The picture every preview is drawn on, in pixels.
inline constexpr QSize PreviewImageSize{440, 72};

// The bars of a pattern on the preview picture, in pixels, each rectangle
// including both of its corners: one position is `block` pixels wide and a
// height unit `block` pixels tall. Positions are worked out in twips at the
// screen's twips per pixel; nullopt when one overflows a 32-bit integer or
// the size unit is below 1.
std::optional<std::vector<QRect>> previewBars(QStringView pattern, int block, int barCodeSize);

// ---- the printed barcode ------------------------------------------------

// The point size of a code size 1, 2, 3: 8, 10, 11.5; 0 for any other.
double pointSize(int codeSize);

// Bar width, and so one bar position and one height unit, in millimetres:
// 0.6 mm at point size 10, scaled with the point size. The bar pitch is two
// positions, a long bar six units, a half bar four, a timing bar two.
double printedUnitMm(int codeSize);

// The extent of a full pattern on paper, in millimetres.
QSizeF printedSizeMm(int codeSize);

// The bars of a pattern on paper, in millimetres from the page's top-left
// corner, with the pattern's top-left at (leftMm, topMm).
std::vector<QRectF> printedBars(QStringView pattern, double topMm, double leftMm, int codeSize);

// Where the ink of every barcode lies within its full pattern's extent, in
// millimetres: from the start code's first bar to the stop code's last. The
// quiet zone the standard asks for is measured from these edges.
QRectF printedInkMm(int codeSize);

// The postal standard's quiet zone: nothing printed within 2 mm of the bars.
inline constexpr double QuietZoneMm = 2.0;

} // namespace yubin::barcode
