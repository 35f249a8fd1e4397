#pragma once

// The program's gothic at a printer's resolution, for what is printed: the
// label sheets and the postcards fit their texts with these fonts and paint
// with the same ones, so a text measured to fit is the text printed.

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringView>

#include <map>
#include <memory>

namespace yubin {

inline constexpr double MmPerInch = 25.4;
inline constexpr double MmPerPoint = MmPerInch / 72;

struct PrintFont {
    QFont font;
    QFontMetricsF metrics;
    double ascentMm = 0;
    double descentMm = 0;
};

class PrintFonts {
public:
    PrintFonts();
    ~PrintFonts();
    PrintFonts(const PrintFonts&) = delete;
    PrintFonts& operator=(const PrintFonts&) = delete;

    // The font of a size, rounded to a quarter point, made once.
    const PrintFont& at(double pointSize);
    // The advance of a text. Fitting thousands of labels measures the same
    // few hundred characters again and again, so each character's advance
    // is taken once per size and a text's is their sum; kerning is off, so
    // the sum is what the painter advances. Texts with Latin letters or
    // combining marks (which may join or change form) are shaped whole.
    double widthMm(QStringView text, double pointSize);
    // The text cut with "…" to fit the width.
    QString elided(const QString& text, double pointSize, double widthMm);
    // Millimetres per dot of the measuring device.
    double mmPerDot() const;

private:
    struct Sized;
    Sized& sized(double pointSize);

    QImage device; // the metrics are taken at its resolution
    std::map<int, std::unique_ptr<Sized>> sizes;
};

} // namespace yubin
