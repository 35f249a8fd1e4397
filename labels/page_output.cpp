#include "labels/page_output.h"

#include "foundation/print_fonts.h"
#include "labels/label_run.h"

#include <QBuffer>

#include <cmath>

namespace yubin::labels {

namespace {

// The PDF's coordinates: fine enough for the bars' hundredths of a millimetre.
constexpr int PdfDotsPerInch = 1200;

} // namespace

QString paintPages(QPagedPaintDevice& device, int total, RunProgress* progress,
                   const QString& pageFailure,
                   const std::function<void(QPainter&, int)>& paintPage) {
    QPainter painter;
    if (!painter.begin(&device))
        return QStringLiteral("印刷を始められません");
    for (int i = 0; i < total; ++i) {
        if (progress && !progress->keepGoing(i, total)) {
            painter.end();
            return QStringLiteral("中止しました");
        }
        if (i > 0 && !device.newPage()) {
            painter.end();
            return pageFailure.arg(i + 1);
        }
        paintPage(painter, i);
    }
    return painter.end() ? QString() : QStringLiteral("印刷を終えられません");
}

QString writePdf(QByteArray& pdf, const QString& title,
                 const std::function<QString(QPdfWriter&)>& paint) {
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(PdfDotsPerInch);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("yubin"));
    return paint(writer);
}

QImage whitePicture(QSizeF mm, double dotsPerInch) {
    QImage picture(int(std::lround(mm.width() / MmPerInch * dotsPerInch)),
                   int(std::lround(mm.height() / MmPerInch * dotsPerInch)), QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(dotsPerInch / MmPerInch * 1000));
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter);
    picture.fill(Qt::white);
    return picture;
}

} // namespace yubin::labels
