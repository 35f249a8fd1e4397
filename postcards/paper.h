#pragma once

// The pieces of mail the address side is printed on, and where the
// postal-code boxes lie on them: the postal service's figures for ordinary
// mail, measured from the piece's top and right edges to the inner side of
// the boxes' lines.

#include <QRectF>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <span>

namespace yubin::postcards {

struct Paper {
    QString key;  // "postcard", "naga3", "naga4", or WxH as given
    QString name; // as the window lists it and the warnings name it
    double widthMm = 0;
    double heightMm = 0;
    bool printedBoxes = false; // the postcard carries its own red boxes
};

// 郵便はがき, 長形3号, 長形4号, in the order the window lists them.
std::span<const Paper> builtInPapers();

// A paper by its key or as WIDTHxHEIGHT in millimetres ("110x220"), portrait;
// nullopt and a Japanese message otherwise, or when the size is outside
// what the post takes as a letter or a card.
std::optional<Paper> parsePaper(QStringView text, QString* error);

inline constexpr double MinPaperWidthMm = 90;
inline constexpr double MaxPaperWidthMm = 250;
inline constexpr double MinPaperHeightMm = 140;
inline constexpr double MaxPaperHeightMm = 340;

// The postal-code boxes: the row's top 12.0 mm below the piece's top edge,
// its right end 8.0 mm from the right edge; boxes 5.7 x 8.0 mm, 1.3 mm apart
// for the first three, 1.9 mm between the third and the fourth (where the
// hyphen is), 1.1 mm among the last four.
inline constexpr double BoxTopMm = 12.0;
inline constexpr double BoxRightMm = 8.0;
inline constexpr double BoxWidthMm = 5.7;
inline constexpr double BoxHeightMm = 8.0;
inline constexpr double DigitHeightMm = 5.0;

// The seven boxes of a piece of a width, left to right, in millimetres from
// the piece's top-left corner.
std::array<QRectF, 7> codeBoxesMm(double paperWidthMm);

// Where the hyphen between the third and fourth boxes is drawn.
QRectF codeHyphenMm(double paperWidthMm);

} // namespace yubin::postcards
