#pragma once

// Painting composed cards on any device (a PDF page, a printer, the
// preview picture, a test's recording device), with the printer's offset
// added to every position; and the calibration page that shows the offset.

#include "labels/label_run.h"
#include "postcards/card_layout.h"

#include <QByteArray>
#include <QImage>

#include <span>

class QPainter;
class QPaintDevice;
class QPagedPaintDevice;

namespace yubin::postcards {

// Paints one card on a painter open on `device`, whose origin is the
// piece's top-left corner.
void paintCard(QPainter& painter, const QPaintDevice& device, const ComposedCard& card,
               CardComposer& composer);

// The calibration page: the outlines of the seven code boxes, a ruler
// along the top edge and one down the left edge in millimetres, and the
// offset in use, all moved by the offset as a card would be.
void paintCalibration(QPainter& painter, const QPaintDevice& device, const CardOptions& options,
                      CardComposer& composer);

// A card as a picture of the piece at a resolution, with the printed boxes
// of a postcard shown in pale red: the window's preview and the guide's
// picture.
QImage cardPicture(const ComposedCard& card, CardComposer& composer, double dotsPerInch);

// Told of the progress of a long drawing, as the label sheets are; false
// from keepGoing stops it.
using CardProgress = labels::RunProgress;

// Paints the cards on a paged device, one page a card, or the calibration
// page alone. "" when done, else a Japanese message.
QString paintCards(QPagedPaintDevice& device, std::span<const ComposedCard> cards,
                   CardComposer& composer, CardProgress* progress = nullptr);
QString paintCalibrationPage(QPagedPaintDevice& device, CardComposer& composer);

// The page setup of a piece: its size, portrait, no margins.
void setUpPage(QPagedPaintDevice& device, const Paper& paper);

// The cards, or the calibration page, as a PDF.
QString cardsPdf(QByteArray& pdf, std::span<const ComposedCard> cards, CardComposer& composer,
                 CardProgress* progress = nullptr);
QString calibrationPdf(QByteArray& pdf, CardComposer& composer);

} // namespace yubin::postcards
