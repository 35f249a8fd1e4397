#pragma once

// The output the label sheets and the postcards share: pages painted one by
// one on a paged device while a progress lets them go on, the PDF they are
// written as, and a white picture of a page for the windows' previews.

#include <QByteArray>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSizeF>
#include <QString>

#include <functional>

namespace yubin::labels {

class RunProgress;

// Paints `total` pages, one call of `paintPage` (with the page's index) a
// page. "" when done; a Japanese message when the device fails or the
// progress stops it. `pageFailure` says that a page could not be started,
// its %1 the page's number.
QString paintPages(QPagedPaintDevice& device, int total, RunProgress* progress,
                   const QString& pageFailure,
                   const std::function<void(QPainter&, int)>& paintPage);

// A PDF of the program's resolution with its title, which `paint` sets up
// (its page layout first) and paints; what `paint` returns.
QString writePdf(QByteArray& pdf, const QString& title,
                 const std::function<QString(QPdfWriter&)>& paint);

// A white picture of a page of that many millimetres at the resolution,
// which the picture gives as its own so that millimetres convert alike.
QImage whitePicture(QSizeF mm, double dotsPerInch);

} // namespace yubin::labels
