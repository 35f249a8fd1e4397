#include "postcards/card_painter.h"

#include "barcode/cbarcode.h"
#include "foundation/print_fonts.h"
#include "labels/page_output.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

namespace yubin::postcards {

namespace {

// 朱色, the boxes' colour in the manual; lines 0.5 mm for the first three
// boxes and the hyphen, 0.3 mm for the last four.
const QColor BoxRed(0xE8, 0x38, 0x28);
constexpr double HeavyLineMm = 0.5;
constexpr double LightLineMm = 0.3;

struct Scale {
    double x, y;
    QPointF px(QPointF mm) const { return {mm.x() * x, mm.y() * y}; }
};

Scale scaleOf(const QPaintDevice& device) {
    return {device.logicalDpiX() / MmPerInch, device.logicalDpiY() / MmPerInch};
}

// The boxes' lines lie outside the boxes: the figures measure to their
// inner side.
void paintBoxes(QPainter& painter, const Scale& s, std::span<const QRectF> boxes,
                const QRectF& hyphen, QPointF offset, const QColor& colour) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const double line = i < 3 ? HeavyLineMm : LightLineMm;
        painter.setPen(QPen(colour, line * s.x, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        const QRectF r =
            boxes[i].translated(offset).adjusted(-line / 2, -line / 2, line / 2, line / 2);
        painter.drawRect(QRectF(s.px(r.topLeft()), s.px(r.bottomRight())));
    }
    if (hyphen.width() > 0) {
        painter.setPen(QPen(colour, HeavyLineMm * s.y, Qt::SolidLine, Qt::FlatCap));
        const QRectF h = hyphen.translated(offset);
        painter.drawLine(s.px(h.topLeft()), s.px(h.topRight()));
    }
    painter.restore();
}

} // namespace

void paintCard(QPainter& painter, const QPaintDevice& device, const ComposedCard& card,
               CardComposer& composer) {
    const Scale s = scaleOf(device);
    const QPointF offset = composer.options().offsetMm;
    if (!card.boxesMm.empty())
        paintBoxes(painter, s, card.boxesMm, card.hyphenMm, offset, BoxRed);
    painter.setPen(Qt::black);
    double lastPt = -1;
    for (const PlacedText& t : card.texts) {
        if (t.pointSize != lastPt) {
            painter.setFont(composer.font(t.pointSize));
            lastPt = t.pointSize;
        }
        const QPointF at = s.px(t.atMm + offset);
        if (!t.turned) {
            painter.drawText(at, t.text);
            continue;
        }
        painter.save();
        painter.translate(at);
        painter.rotate(90);
        painter.drawText(s.px(t.turnedBaselineMm), t.text);
        painter.restore();
    }
    if (!card.barcode.isEmpty())
        barcode::paintPrintedBars(painter, device, card.barcode, card.barcodeMm.y() + offset.y(),
                                  card.barcodeMm.x() + offset.x(), card.barcodeSize);
}

void paintCalibration(QPainter& painter, const QPaintDevice& device, const CardOptions& options,
                      CardComposer& composer) {
    const Scale s = scaleOf(device);
    const QPointF offset = options.offsetMm;
    const double W = options.paper.widthMm;
    const double H = options.paper.heightMm;
    const std::array<QRectF, 7> boxes = codeBoxesMm(W);
    paintBoxes(painter, s, boxes, codeHyphenMm(W), offset, Qt::black);

    // Rulers from the piece's edges: a tick a millimetre, longer every five,
    // numbered every ten. Where the printer is off, the edge cuts the ruler
    // at the error.
    painter.save();
    painter.setPen(QPen(Qt::black, 0.15 * s.x));
    const double rulerY = BoxTopMm + BoxHeightMm + 12;
    const double rulerX = 20;
    const double labelPt = 6;
    painter.setFont(composer.font(labelPt));
    for (int mm = 0; mm <= int(W); ++mm) {
        const double len = mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.5;
        const QPointF a = QPointF(mm, rulerY) + offset;
        painter.drawLine(s.px(a), s.px(a + QPointF(0, len)));
        if (mm % 10 == 0 && mm > 0)
            painter.drawText(s.px(a + QPointF(0.5, len + 2.5)), QString::number(mm));
    }
    for (int mm = 0; mm <= int(H); ++mm) {
        const double len = mm % 10 == 0 ? 4 : mm % 5 == 0 ? 2.5 : 1.5;
        const QPointF a = QPointF(rulerX, mm) + offset;
        painter.drawLine(s.px(a), s.px(a + QPointF(len, 0)));
        if (mm % 10 == 0 && mm > 0)
            painter.drawText(s.px(a + QPointF(len + 0.8, 1.0)), QString::number(mm));
    }
    // Small enough for the narrowest piece.
    painter.setFont(composer.font(7));
    const QString note = QStringLiteral("%1　オフセット 右 %2 mm・下 %3 mm")
                             .arg(options.paper.name, QString::number(offset.x(), 'f', 1),
                                  QString::number(offset.y(), 'f', 1));
    const QString lines[] = {note, QStringLiteral("枠と目盛りが用紙の端からずれた分を"),
                             QStringLiteral("オフセットに入れます")};
    for (int i = 0; i < 3; ++i)
        painter.drawText(s.px(QPointF(rulerX + 10, rulerY + 14 + 4.5 * i) + offset), lines[i]);
    painter.restore();
}

QImage cardPicture(const ComposedCard& card, CardComposer& composer, double dotsPerInch) {
    const Paper& paper = composer.options().paper;
    QImage picture = labels::whitePicture(QSizeF(paper.widthMm, paper.heightMm), dotsPerInch);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (paper.printedBoxes) {
        // The card's own boxes, where they are whatever the offset.
        const std::array<QRectF, 7> boxes = codeBoxesMm(paper.widthMm);
        paintBoxes(painter, scaleOf(picture), boxes, codeHyphenMm(paper.widthMm), {},
                   QColor(0xF0, 0x90, 0x90));
    }
    paintCard(painter, picture, card, composer);
    return picture;
}

void setUpPage(QPagedPaintDevice& device, const Paper& paper) {
    device.setPageLayout(
        QPageLayout(QPageSize(QSizeF(paper.widthMm, paper.heightMm), QPageSize::Millimeter,
                              paper.name, QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF()));
}

QString paintCards(QPagedPaintDevice& device, std::span<const ComposedCard> cards,
                   CardComposer& composer, CardProgress* progress) {
    return labels::paintPages(device, int(cards.size()), progress,
                              QStringLiteral("%1枚目を始められません"),
                              [&](QPainter& painter, int i) {
                                  paintCard(painter, device, cards[std::size_t(i)], composer);
                              });
}

QString paintCalibrationPage(QPagedPaintDevice& device, CardComposer& composer) {
    return labels::paintPages(device, 1, nullptr, QString(), [&](QPainter& painter, int) {
        paintCalibration(painter, device, composer.options(), composer);
    });
}

namespace {

template <typename Paint>
QString toPdf(QByteArray& pdf, CardComposer& composer, const QString& title, Paint paint) {
    return labels::writePdf(pdf, title, [&](QPdfWriter& writer) {
        setUpPage(writer, composer.options().paper);
        return paint(writer);
    });
}

} // namespace

QString cardsPdf(QByteArray& pdf, std::span<const ComposedCard> cards, CardComposer& composer,
                 CardProgress* progress) {
    return toPdf(pdf, composer, QStringLiteral("はがき・封筒"),
                 [&](QPdfWriter& w) { return paintCards(w, cards, composer, progress); });
}

QString calibrationPdf(QByteArray& pdf, CardComposer& composer) {
    return toPdf(pdf, composer, QStringLiteral("位置合わせ"),
                 [&](QPdfWriter& w) { return paintCalibrationPage(w, composer); });
}

} // namespace yubin::postcards
