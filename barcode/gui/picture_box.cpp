#include "barcode/gui/picture_box.h"

#include <QPainter>

namespace yubin {

PictureBox::PictureBox(QSize imageSize, QWidget* parent)
    : QFrame(parent), picture(imageSize, QImage::Format_RGB32) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    picture.fill(Qt::white);
    setFixedSize(sizeHint());
}

void PictureBox::clear() {
    picture.fill(Qt::white);
    update();
}

QSize PictureBox::sizeHint() const {
    const int frame = 2 * frameWidth();
    return picture.size() + QSize(frame, frame);
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), picture);
}

} // namespace yubin
