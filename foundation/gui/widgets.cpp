#include "foundation/gui/widgets.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

namespace yubin {

ExtentListWidget::ExtentListWidget(QWidget* parent) : QListWidget(parent) {
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void ExtentListWidget::setHorizontalExtent(int pixels) {
    extent = std::max(0, pixels);
    applyExtent();
}

void ExtentListWidget::updateGeometries() {
    QListWidget::updateGeometries();
    applyExtent();
}

void ExtentListWidget::applyExtent() {
    const int visible = viewport()->width();
    QScrollBar* bar = horizontalScrollBar();
    bar->setPageStep(visible);
    bar->setRange(0, std::max(0, extent - visible));
}

void ExtentListWidget::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->button(), event->modifiers());
    QListWidget::mousePressEvent(event);
}

void ExtentListWidget::keyPressEvent(QKeyEvent* event) {
    emit keyPressed(event);
    QListWidget::keyPressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}

void SetListHorizontalExtent(ExtentListWidget& list) {
    const QFontMetrics metrics(list.font());
    int widest = 0;
    for (int i = 0; i < list.count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(list.item(i)->text()));
    list.setHorizontalExtent(widest + 10);
}

} // namespace yubin
