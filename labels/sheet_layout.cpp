#include "labels/sheet_layout.h"

#include "barcode/barcode_code.h"
#include "barcode/barcode_input.h"

#include <QRegularExpression>

#include <array>

namespace yubin::labels {

namespace {

// The A4 label sheets most shops in Japan stock, as their makers publish
// them (A-One, Kokuyo and Elecom each sell these sizes under their own
// product numbers). Each row adds up to the paper:
//   12: 18.6 + 2 x 86.4 + 18.6 = 210;   21.5 + 6 x 42.3 + 21.7 = 297
//   21:  0.0 + 3 x 70.0 +  0.0 = 210;   0.45 + 7 x 42.3 + 0.45 = 297
//   24:  0.0 + 3 x 70.0 +  0.0 = 210;   12.9 + 8 x 33.9 + 12.9 = 297
// The 21-label sheet is often quoted with an 8.8 mm top margin, which seven
// 42.3 mm rows cannot have on A4 (8.8 + 296.1 > 297); its rows fill the
// paper, 0.45 mm from each edge. Of the 24-label sheets, the one with
// margins above and below and 70 mm labels is taken: the 66.04 mm labels of
// the sheet with margins all round are narrower than the smallest customer
// barcode with its quiet zone (67.84 mm).
const std::array<SheetLayout, 3> BuiltIn = {{
    {QStringLiteral("12"), QStringLiteral("12面（86.4×42.3 mm）"), 2, 6, 86.4, 42.3, 21.5, 18.6,
     86.4, 42.3},
    {QStringLiteral("21"), QStringLiteral("21面（70×42.3 mm）"), 3, 7, 70.0, 42.3, 0.45, 0.0, 70.0,
     42.3},
    {QStringLiteral("24"), QStringLiteral("24面（70×33.9 mm）"), 3, 8, 70.0, 33.9, 12.9, 0.0, 70.0,
     33.9},
}};

// Sums of decimals in millimetres may miss the paper's edge by rounding.
constexpr double Tolerance = 0.005;

QString mm(double value) {
    return QString::number(value, 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

} // namespace

QRectF SheetLayout::labelRectMm(int slot) const {
    const int column = slot % columns;
    const int row = slot / columns;
    return {leftMm + column * hPitchMm, topMm + row * vPitchMm, widthMm, heightMm};
}

QString layoutText(const SheetLayout& l) {
    return QStringLiteral("%1x%2:%3x%4:%5,%6:%7,%8")
        .arg(l.columns)
        .arg(l.rows)
        .arg(mm(l.widthMm), mm(l.heightMm), mm(l.topMm), mm(l.leftMm), mm(l.hPitchMm),
             mm(l.vPitchMm));
}

std::span<const SheetLayout> builtInLayouts() {
    return BuiltIn;
}

std::optional<SheetLayout> parseLayout(QStringView text, QString* error) {
    const QString t = text.trimmed().toString();
    for (const SheetLayout& l : BuiltIn)
        if (t == l.key)
            return l;
    static const QRegularExpression custom(
        QStringLiteral("^(\\d+)[xX×](\\d+):([0-9.]+)[xX×]([0-9.]+):([0-9.]+),([0-9.]+):([0-9.]+),"
                       "([0-9.]+)$"));
    const QRegularExpressionMatch m = custom.match(t);
    bool ok = m.hasMatch();
    SheetLayout l;
    if (ok) {
        l.key = t;
        l.name = QStringLiteral("指定（%1）").arg(t);
        l.columns = m.captured(1).toInt(&ok);
        double* const mmFields[] = {&l.widthMm, &l.heightMm, &l.topMm,
                                    &l.leftMm,  &l.hPitchMm, &l.vPitchMm};
        bool rowsOk = false;
        l.rows = m.captured(2).toInt(&rowsOk);
        ok = ok && rowsOk;
        for (int i = 0; i < 6 && ok; ++i)
            *mmFields[i] = m.captured(3 + i).toDouble(&ok);
    }
    if (!ok) {
        if (error)
            *error = QStringLiteral("ラベルの配置「%1」が読めません（12、21、24、または "
                                    "列x行:幅x高さ:上余白,左余白:横ピッチ,縦ピッチ を mm で）")
                         .arg(t);
        return std::nullopt;
    }
    return l;
}

std::optional<QString> layoutProblem(const SheetLayout& l) {
    if (l.columns < 1 || l.rows < 1 || l.columns > 20 || l.rows > 40 || l.widthMm <= 0 ||
        l.heightMm <= 0)
        return QStringLiteral(
            "ラベルの配置は1～20列、1～40行で、幅と高さは0より大きくしてください");
    if ((l.columns > 1 && l.hPitchMm + Tolerance < l.widthMm) ||
        (l.rows > 1 && l.vPitchMm + Tolerance < l.heightMm))
        return QStringLiteral("ラベルが重なります（ピッチ %1×%2 mm がラベル %3×%4 mm より小さい）")
            .arg(mm(l.hPitchMm), mm(l.vPitchMm), mm(l.widthMm), mm(l.heightMm));
    const double right = l.leftMm + (l.columns - 1) * l.hPitchMm + l.widthMm;
    const double bottom = l.topMm + (l.rows - 1) * l.vPitchMm + l.heightMm;
    if (right > A4WidthMm + Tolerance || bottom > A4HeightMm + Tolerance)
        return QStringLiteral("ラベルがA4（210×297 mm）に収まりません（右端 %1 mm、下端 %2 mm）")
            .arg(mm(right), mm(bottom));
    return std::nullopt;
}

namespace {

bool barcodeFits(const SheetLayout& l, int size) {
    const QRectF ink = barcode::printedInkMm(size);
    return l.widthMm + Tolerance >= ink.width() + 2 * barcode::QuietZoneMm &&
           l.heightMm + Tolerance >=
               ink.height() + 2 * barcode::QuietZoneMm + LabelPaddingMm + MinTextHeightMm;
}

} // namespace

int fittingCodeSize(const SheetLayout& layout) {
    if (barcodeFits(layout, barcode::DefaultCodeSize))
        return barcode::DefaultCodeSize;
    for (int size = barcode::DefaultCodeSize - 1; size >= barcode::SmallestCodeSize; --size)
        if (barcodeFits(layout, size))
            return size;
    return barcode::DefaultCodeSize;
}

std::optional<QString> barcodeProblem(const SheetLayout& l, int codeSize) {
    const auto fits = [&](int size) { return barcodeFits(l, size); };
    if (fits(codeSize))
        return std::nullopt;
    QStringList fitting;
    for (int size = 1; size <= 3; ++size)
        if (fits(size))
            fitting << QString::number(size);
    const QRectF ink = barcode::printedInkMm(codeSize);
    QString message =
        QStringLiteral("%1×%2 mm のラベルには、コードサイズ %3（%4 pt）のカスタマバーコード"
                       "（余白 2 mm を含めて %5×%6 mm）と宛名が収まりません")
            .arg(mm(l.widthMm), mm(l.heightMm), QString::number(codeSize),
                 mm(barcode::pointSize(codeSize)), mm(ink.width() + 2 * barcode::QuietZoneMm),
                 mm(ink.height() + 2 * barcode::QuietZoneMm));
    message += fitting.isEmpty()
                   ? QStringLiteral("。どのコードサイズも収まりません")
                   : QStringLiteral("。コードサイズ %1 なら収まります").arg(fitting.join(u'・'));
    return message;
}

std::optional<QString> printProblem(const SheetLayout& layout, int codeSize) {
    if (std::optional<QString> p = layoutProblem(layout))
        return p;
    return barcodeProblem(layout, codeSize);
}

} // namespace yubin::labels
