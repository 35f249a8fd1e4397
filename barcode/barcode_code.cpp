#include "barcode/barcode_code.h"

#include "barcode/barcode_input.h"
#include "foundation/platform.h"
#include "foundation/text.h"

#include <cmath>
#include <limits>

namespace yubin::barcode {

namespace {

constexpr std::array<QStringView, CharacterValues> Patterns = {
    u"104040", u"101040", u"103020", u"301020", u"102030", u"104010", u"302010",
    u"201030", u"203010", u"401010", u"401040", u"302040", u"304020", u"203040",
    u"403020", u"204030", u"402030", u"404010", u"101010",
};

// One text character gives one barcode character or, for a letter, two.
struct CharacterCode {
    int count = 0;
    std::array<int, 2> values{};
};

std::optional<CharacterCode> encodeCharacter(QChar ch) {
    char16_t c = ch.unicode();
    if (c >= u'a' && c <= u'z')
        c = char16_t(c - (u'a' - u'A'));
    if (c >= u'0' && c <= u'9')
        return CharacterCode{1, {c - u'0', 0}};
    if (c == u' ')
        return CharacterCode{1, {CC4, 0}};
    if (c == u'-')
        return CharacterCode{1, {Hyphen, 0}};
    // Everything else is placed by its single-byte code relative to A; a
    // character without one (double-byte or not in the code page) cannot be
    // told apart from punctuation and is refused like it.
    const int code = text::cp932Code(c);
    if (code < 0 || code > 0xFF)
        return std::nullopt;
    const int fromA = code - 'A';
    if (fromA < 0)
        return std::nullopt;
    if (fromA <= 9)
        return CharacterCode{2, {CC1, fromA}};
    if (fromA <= 19)
        return CharacterCode{2, {CC2, fromA - 10}};
    if (fromA <= 25)
        return CharacterCode{2, {CC3, fromA - 20}};
    return CharacterCode{1, {CC4, 0}};
}

// 32-bit arithmetic as the drawing positions are kept: nullopt on overflow.
std::optional<qint32> multiply(qint32 a, qint32 b) {
    qint32 r = 0;
    if (__builtin_mul_overflow(a, b, &r))
        return std::nullopt;
    return r;
}
std::optional<qint32> add(qint32 a, qint32 b) {
    qint32 r = 0;
    if (__builtin_add_overflow(a, b, &r))
        return std::nullopt;
    return r;
}

std::optional<int> toPixel(double twips, int twipsPerPixel) {
    const double px = std::floor(twips / twipsPerPixel + 0.5);
    if (!(px >= std::numeric_limits<qint32>::min() && px <= std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return int(px);
}

} // namespace

QStringView characterPattern(int value) {
    if (value < 0 || value >= CharacterValues)
        return {};
    return Patterns[std::size_t(value)];
}

std::optional<DataCharacters> dataCharacters(QStringView code, UnencodableCharacter* failure) {
    DataCharacters data;
    data.fill(CC4);
    int places = 0;
    for (qsizetype i = 0; i < code.size() && places < DataLength; ++i) {
        const std::optional<CharacterCode> encoded = encodeCharacter(code[i]);
        if (!encoded) {
            if (failure)
                *failure = {i, code[i]};
            return std::nullopt;
        }
        // A letter's digit that would take a 21st place is left out.
        for (int k = 0; k < encoded->count && places < DataLength; ++k)
            data[std::size_t(places++)] = encoded->values[std::size_t(k)];
    }
    return data;
}

int checkValue(std::span<const int> data) {
    int sum = 0;
    for (int value : data)
        sum += value;
    const int remainder = sum % CharacterValues;
    return remainder == 0 ? 0 : CharacterValues - remainder;
}

QString fullPattern(std::span<const int> data, int check) {
    QString pattern;
    pattern.reserve(StartCode.size() + CharacterWidth * qsizetype(data.size() + 1) +
                    StopCode.size());
    pattern += StartCode;
    for (int value : data)
        pattern += characterPattern(value);
    pattern += characterPattern(check);
    pattern += StopCode;
    return pattern;
}

QString barcodeData(QStringView postalCode, QStringView addressNumber) {
    return postalCode.toString() + addressNumberForBarcode(addressNumber);
}

std::optional<Barcode> encodeBarcode(QStringView data, UnencodableCharacter* failure) {
    const std::optional<DataCharacters> characters = dataCharacters(data, failure);
    if (!characters)
        return std::nullopt;
    Barcode b;
    b.characters = *characters;
    b.check = checkValue(b.characters);
    b.pattern = fullPattern(b.characters, b.check);
    return b;
}

std::optional<SymbolExtent> symbolExtent(QChar symbol) {
    switch (symbol.unicode()) {
    case LongBar:
        return SymbolExtent{0, 6};
    case Ascender:
        return SymbolExtent{0, 4};
    case Descender:
        return SymbolExtent{2, 6};
    case TimingBar:
        return SymbolExtent{2, 4};
    default:
        return std::nullopt;
    }
}

PreviewPlacement previewPlacement(int block) {
    switch (block) {
    case 3:
        return {35, 12};
    case 2:
        return {35, 80};
    default:
        return {40, 120};
    }
}

double previewAdvanceFactor(int barCodeSize) {
    return barCodeSize == 2 ? 0.94 : 1.0;
}

std::optional<std::vector<QRect>> previewBars(QStringView pattern, int block, int barCodeSize) {
    if (block < 1)
        return std::nullopt;
    const int tpp = TwipsPerPixel;
    const PreviewPlacement place = previewPlacement(block);
    const auto x0 = multiply(place.left, tpp);
    const auto y0 = multiply(place.top, tpp);
    const auto h = multiply(block, tpp);
    const auto step = multiply(block, tpp);
    const auto width = multiply(block - 1, tpp);
    if (!x0 || !y0 || !h || !step || !width)
        return std::nullopt;
    const double advance = *step * previewAdvanceFactor(barCodeSize);

    std::vector<QRect> bars;
    double x = *x0;
    for (QChar symbol : pattern) {
        if (const std::optional<SymbolExtent> extent = symbolExtent(symbol)) {
            const auto topOffset = multiply(extent->top, *h);
            const auto bottomOffset = multiply(extent->bottom, *h);
            const auto y1 = topOffset ? add(*y0, *topOffset) : std::nullopt;
            const auto y2 = bottomOffset ? add(*y0, *bottomOffset) : std::nullopt;
            const auto left = toPixel(x, tpp);
            const auto right = toPixel(x + *width, tpp);
            if (!y1 || !y2 || !left || !right)
                return std::nullopt;
            bars.emplace_back(QPoint(*left, *y1 / tpp), QPoint(*right, *y2 / tpp));
        }
        x += advance;
    }
    return bars;
}

double pointSize(int codeSize) {
    switch (codeSize) {
    case 1:
        return 8.0;
    case 2:
        return 10.0;
    case 3:
        return 11.5;
    default:
        return 0.0;
    }
}

double printedUnitMm(int codeSize) {
    return 0.6 * pointSize(codeSize) / 10.0;
}

QSizeF printedSizeMm(int codeSize) {
    const double unit = printedUnitMm(codeSize);
    return {PatternLength * unit, 6 * unit};
}

std::vector<QRectF> printedBars(QStringView pattern, double topMm, double leftMm, int codeSize) {
    const double unit = printedUnitMm(codeSize);
    std::vector<QRectF> bars;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (const std::optional<SymbolExtent> extent = symbolExtent(pattern[i]))
            bars.emplace_back(leftMm + double(i) * unit, topMm + extent->top * unit, unit,
                              (extent->bottom - extent->top) * unit);
    }
    return bars;
}

QRectF printedInkMm(int codeSize) {
    // Every pattern begins with the start code and ends with the stop code,
    // so the ink of one stands for all.
    const QString pattern = encodeBarcode(u"")->pattern;
    QRectF ink;
    for (const QRectF& bar : printedBars(pattern, 0, 0, codeSize))
        ink = ink.isNull() ? bar : ink.united(bar);
    return ink;
}

} // namespace yubin::barcode
