#include "foundation/print_fonts.h"

#include "foundation/fonts.h"

#include <QHash>

#include <cmath>

namespace yubin {

namespace {

// Widths of a font scale with its size at a printer's resolution.
constexpr int MeasureDotsPerInch = 1200;

// A character whose advance depends on its neighbours.
bool joinsNeighbours(char32_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
        return true;
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Other_Format:
        return true;
    default:
        return false;
    }
}

} // namespace

struct PrintFonts::Sized {
    PrintFont font;
    QHash<char32_t, double> advances; // in dots
};

PrintFonts::PrintFonts() : device(1, 1, QImage::Format_ARGB32) {
    installJapaneseFontSubstitutes();
    const int dotsPerMeter = int(std::lround(MeasureDotsPerInch / MmPerInch * 1000));
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
}

PrintFonts::~PrintFonts() = default;

double PrintFonts::mmPerDot() const {
    return MmPerInch / device.logicalDpiX();
}

PrintFonts::Sized& PrintFonts::sized(double pointSize) {
    const int key = int(std::lround(pointSize * 4));
    auto found = sizes.find(key);
    if (found == sizes.end()) {
        QFont f = makeGothicFont(key / 4.0);
        f.setHintingPreference(QFont::PreferNoHinting);
        f.setKerning(false);
        QFontMetricsF m(f, &device);
        const double mm = MmPerInch / device.logicalDpiY();
        found = sizes
                    .emplace(key, std::make_unique<Sized>(
                                      Sized{{f, m, m.ascent() * mm, m.descent() * mm}, {}}))
                    .first;
    }
    return *found->second;
}

const PrintFont& PrintFonts::at(double pointSize) {
    return sized(pointSize).font;
}

double PrintFonts::widthMm(QStringView text, double pointSize) {
    Sized& s = sized(pointSize);
    double dots = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        qsizetype length = 1;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            length = 2;
        }
        if (joinsNeighbours(c))
            return s.font.metrics.horizontalAdvance(text.toString()) * mmPerDot();
        auto found = s.advances.constFind(c);
        if (found == s.advances.cend())
            found = s.advances.insert(
                c, s.font.metrics.horizontalAdvance(text.sliced(i, length).toString()));
        dots += *found;
        i += length - 1;
    }
    return dots * mmPerDot();
}

QString PrintFonts::elided(const QString& text, double pointSize, double widthMm) {
    return sized(pointSize).font.metrics.elidedText(text, Qt::ElideRight, widthMm / mmPerDot());
}

} // namespace yubin
