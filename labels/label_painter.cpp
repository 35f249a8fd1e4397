#include "labels/label_painter.h"

#include "barcode/barcode_code.h"
#include "barcode/cbarcode.h"
#include "foundation/fonts.h"
#include "foundation/postal_code.h"
#include "foundation/text.h"
#include "labels/page_output.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace yubin::labels {

namespace {

// The name stands a little apart from the lines above it and indented.
constexpr double NameGapMm = 1.0;
constexpr double NameIndentMm = 3.0;

double quantized(double pt) {
    return std::max(MinimumPt, std::floor(pt * 4) / 4);
}

struct Item {
    LabelField field;
    QString text;
    double basePt;
};

} // namespace

QString postalCodeLine(const QString& code) {
    return QStringLiteral("〒") + postalCodeText(code);
}

QString fieldName(LabelField field) {
    switch (field) {
    case LabelField::PostalCode:
        return QStringLiteral("郵便番号");
    case LabelField::Address:
        return QStringLiteral("住所");
    case LabelField::Building:
        return QStringLiteral("建物");
    case LabelField::Company:
        return QStringLiteral("会社名・部署");
    case LabelField::Name:
        return QStringLiteral("氏名");
    }
    return {};
}

LabelComposer::LabelComposer(QSizeF labelMm, int size) : label(labelMm), codeSize(size) {}

LabelComposer::~LabelComposer() = default;

const QFont& LabelComposer::font(double pointSize) {
    return fonts.at(pointSize).font;
}

double LabelComposer::lineMm(double pointSize) {
    const PrintFont& f = fonts.at(pointSize);
    return f.ascentMm + f.descentMm + 0.1 * std::lround(pointSize * 4) / 4.0 * MmPerPoint;
}

double LabelComposer::widthMm(const QString& text, double pointSize) {
    return fonts.widthMm(text, pointSize);
}

double LabelComposer::fitWidth(QString& text, double pt, double width, bool* cut) {
    const double w = widthMm(text, pt);
    *cut = false;
    if (w <= width)
        return pt;
    const double smaller = quantized(pt * width / w);
    if (smaller > MinimumPt || widthMm(text, MinimumPt) <= width) {
        // Widths scale with the size but not quite exactly: step down till
        // it fits.
        double s = smaller;
        while (s > MinimumPt && widthMm(text, s) > width)
            s -= 0.25;
        if (widthMm(text, s) <= width)
            return s;
    }
    text = fonts.elided(text, MinimumPt, width);
    *cut = true;
    return MinimumPt;
}

ComposedLabel LabelComposer::compose(const LabelText& t) {
    ComposedLabel out;
    const double innerWidth = label.width() - 2 * LabelPaddingMm;
    const QRectF ink = barcode::printedInkMm(codeSize);
    const double inkTop = label.height() - barcode::QuietZoneMm - ink.height();
    const double textBottom = inkTop - barcode::QuietZoneMm;
    if (!t.barcode.isEmpty()) {
        const QSizeF extent = barcode::printedSizeMm(codeSize);
        out.barcodeMm = QRectF((label.width() - ink.width()) / 2 - ink.left(), inkTop - ink.top(),
                               extent.width(), extent.height());
        out.barcode = t.barcode;
    }

    std::vector<Item> items = {{LabelField::PostalCode, postalCodeLine(t.postalCode), PostalCodePt},
                               {LabelField::Address, t.address, AddressPt}};
    if (!t.building.isEmpty())
        items.push_back({LabelField::Building, t.building, LinePt});
    if (!t.company.isEmpty())
        items.push_back({LabelField::Company, t.company, LinePt});
    if (!t.name.isEmpty())
        items.push_back({LabelField::Name, t.name, NamePt});

    // Lines at a scale of the base sizes; the scale shrinks when they are
    // too tall together.
    struct Line {
        LabelField field;
        QString text;
        double pt;
        double indent;
    };
    auto linesAt = [&](double scale, std::vector<LabelField>& cut) {
        std::vector<Line> lines;
        for (const Item& item : items) {
            const double pt = quantized(item.basePt * scale);
            const double indent = item.field == LabelField::Name ? NameIndentMm : 0.0;
            const double width = innerWidth - indent;
            bool wasCut = false;
            if (item.field != LabelField::Address || widthMm(item.text, pt) <= width) {
                QString text = item.text;
                const double s = fitWidth(text, pt, width, &wasCut);
                lines.push_back({item.field, text, s, indent});
            } else {
                // Two lines: broken at the blank that best halves the
                // address, or where the first line is full.
                const QString& a = item.text;
                QString first, second;
                double best = -1;
                for (qsizetype i = 0; i < a.size(); ++i) {
                    if (!text::isBlank(a[i]))
                        continue;
                    const QString f = text::trimmed(QStringView(a).left(i));
                    const QString r = text::trimmed(QStringView(a).sliced(i + 1));
                    if (f.isEmpty() || r.isEmpty())
                        continue;
                    const double wider = std::max(widthMm(f, pt), widthMm(r, pt));
                    if (best < 0 || wider < best) {
                        best = wider;
                        first = f;
                        second = r;
                    }
                }
                double s = pt;
                if (best >= 0 && best > width)
                    s = quantized(pt * width / best);
                while (best >= 0 && s > MinimumPt &&
                       std::max(widthMm(first, s), widthMm(second, s)) > width)
                    s -= 0.25;
                // Halves of equal width: the size a break inside the text
                // comes near.
                const double evenSize = quantized(std::min(pt, pt * 2 * width / widthMm(a, pt)));
                if (best < 0 || std::max(widthMm(first, s), widthMm(second, s)) > width ||
                    s + 1.0 < evenSize) {
                    // No blank to break at, none that fits, or only one far
                    // from the middle: break inside the text, as small as
                    // needed.
                    s = evenSize;
                    for (;; s -= 0.25) {
                        s = std::max(s, MinimumPt);
                        qsizetype lo = 1, hi = a.size() - 1;
                        while (lo < hi) { // the longest first line that fits
                            const qsizetype mid = (lo + hi + 1) / 2;
                            if (widthMm(a.left(mid), s) <= width)
                                lo = mid;
                            else
                                hi = mid - 1;
                        }
                        first = a.left(lo);
                        second = text::trimmed(QStringView(a).sliced(lo));
                        if (widthMm(second, s) <= width || s <= MinimumPt)
                            break;
                    }
                }
                bool firstCut = false;
                bool secondCut = false;
                fitWidth(first, s, width, &firstCut);
                fitWidth(second, s, width, &secondCut);
                wasCut = firstCut || secondCut;
                lines.push_back({item.field, first, s, indent});
                lines.push_back({item.field, second, s, indent});
            }
            if (wasCut)
                cut.push_back(item.field);
        }
        return lines;
    };
    auto heightOf = [&](const std::vector<Line>& lines) {
        double h = 0;
        for (const Line& l : lines)
            h += lineMm(l.pt) + (l.field == LabelField::Name ? NameGapMm : 0.0);
        return h;
    };

    const double available = textBottom - LabelPaddingMm;
    std::vector<LabelField> cut;
    std::vector<Line> lines = linesAt(1.0, cut);
    double scale = 1.0;
    for (int round = 0; round < 4 && heightOf(lines) > available; ++round) {
        scale *= available / heightOf(lines) * 0.98;
        cut.clear();
        lines = linesAt(scale, cut);
    }

    double y = LabelPaddingMm;
    for (const Line& l : lines) {
        const double height = lineMm(l.pt);
        y += l.field == LabelField::Name ? NameGapMm : 0.0;
        if (y + height > textBottom + 1e-9) {
            // What does not fit above the barcode's quiet zone is left out.
            if (std::find(cut.begin(), cut.end(), l.field) == cut.end())
                cut.push_back(l.field);
            continue;
        }
        out.lines.push_back(
            {l.text, l.pt, QPointF(LabelPaddingMm + l.indent, y + fonts.at(l.pt).ascentMm)});
        y += height;
    }
    std::sort(cut.begin(), cut.end());
    cut.erase(std::unique(cut.begin(), cut.end()), cut.end());
    out.cut = std::move(cut);
    return out;
}

void paintSheet(QPainter& painter, const QPaintDevice& device, const SheetLayout& layout,
                int codeSize, LabelComposer& composer, std::span<const SheetLabel> labels) {
    const double pxPerMmX = device.logicalDpiX() / MmPerInch;
    const double pxPerMmY = device.logicalDpiY() / MmPerInch;
    painter.setPen(Qt::black);
    for (const SheetLabel& l : labels) {
        const QRectF rect = layout.labelRectMm(l.slot);
        double lastPt = -1;
        for (const PlacedLine& line : l.label.lines) {
            if (line.pointSize != lastPt) {
                painter.setFont(composer.font(line.pointSize));
                lastPt = line.pointSize;
            }
            painter.drawText(QPointF((rect.left() + line.baselineMm.x()) * pxPerMmX,
                                     (rect.top() + line.baselineMm.y()) * pxPerMmY),
                             line.text);
        }
        if (!l.label.barcode.isEmpty())
            barcode::paintPrintedBars(painter, device, l.label.barcode,
                                      rect.top() + l.label.barcodeMm.top(),
                                      rect.left() + l.label.barcodeMm.left(), codeSize);
    }
}

void paintOutlines(QPainter& painter, const QPaintDevice& device, const SheetLayout& layout) {
    painter.save();
    painter.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 0));
    painter.setBrush(Qt::NoBrush);
    for (int slot = 0; slot < layout.labelsPerSheet(); ++slot)
        painter.drawRoundedRect(barcode::toDevicePixels(layout.labelRectMm(slot), device), 4, 4);
    painter.restore();
}

QImage sheetPicture(const SheetLayout& layout, int codeSize, LabelComposer& composer,
                    std::span<const SheetLabel> labels, double dotsPerInch) {
    QImage picture = whitePicture(QSizeF(A4WidthMm, A4HeightMm), dotsPerInch);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintOutlines(painter, picture, layout);
    paintSheet(painter, picture, layout, codeSize, composer, labels);
    return picture;
}

} // namespace yubin::labels
