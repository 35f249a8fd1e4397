#include "foundation/gui/widgets.h"

#include "foundation/platform.h"

#include <QFontMetrics>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>
#include <vector>

namespace yubin {

ExtentListWidget::ExtentListWidget(QWidget* parent) : QListWidget(parent) {
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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
    // The extent alone decides whether the bar shows. Left to the item view,
    // which measures the entries its own way, the bar would come and go as
    // the two disagree, each change relaying out the list without end.
    const Qt::ScrollBarPolicy policy =
        extent > visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
    if (horizontalScrollBarPolicy() != policy) {
        setHorizontalScrollBarPolicy(policy);
        // With the bar off the list view cuts its lines to the visible width;
        // laid out again, they regain their own widths and scroll into view.
        scheduleDelayedItemsLayout();
    }
    QScrollBar* bar = horizontalScrollBar();
    bar->setPageStep(visible);
    bar->setRange(0, std::max(0, extent - visible));
}

std::optional<int> ExtentListWidget::selectedRow() const {
    for (int i = 0; i < count(); ++i)
        if (item(i)->isSelected())
            return i;
    return std::nullopt;
}

std::optional<QString> ExtentListWidget::selectedLine() const {
    const std::optional<int> row = selectedRow();
    return row ? std::optional(item(*row)->text()) : std::nullopt;
}

void ExtentListWidget::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->button(), event->modifiers());
    // Only the left button selects: a right-click acts on the line selected
    // before it.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListWidget::mousePressEvent(event);
}

QItemSelectionModel::SelectionFlags ExtentListWidget::selectionCommand(const QModelIndex& index,
                                                                       const QEvent* event) const {
    // With one line selectable, Ctrl+click selects like any click: it must
    // not take the selection away from the line a Ctrl-gesture acts on.
    QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
    if (selectionMode() == SingleSelection && flags.testFlag(QItemSelectionModel::Deselect)) {
        flags.setFlag(QItemSelectionModel::Deselect, false);
        flags |= QItemSelectionModel::ClearAndSelect;
    }
    return flags;
}

void ExtentListWidget::keyPressEvent(QKeyEvent* event) {
    emit keyPressed(event);
    // Copying is the window's business (Ctrl+V on a result line); the
    // list's own Ctrl+C copy stays off.
    if (event->matches(QKeySequence::Copy)) {
        event->accept();
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        emit chosen();
}

void ExtentListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // Set first: the double-click may open a modal window, and the release
    // comes after it has closed.
    releaseEndsDoubleClick = true;
    QListWidget::mouseDoubleClickEvent(event);
}

void ExtentListWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool onEntry = event->button() == Qt::LeftButton && !releaseEndsDoubleClick &&
                         itemAt(event->position().toPoint()) != nullptr;
    releaseEndsDoubleClick = false;
    QListWidget::mouseReleaseEvent(event);
    if (onEntry)
        emit chosen();
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

void setAutoSizedCaption(QLabel& label, const QString& caption) {
    const int right = label.geometry().right();
    label.setText(caption);
    const QSize hint = label.sizeHint();
    if (label.alignment() & Qt::AlignRight)
        label.setGeometry(right - hint.width() + 1, label.y(), hint.width(), hint.height());
    else
        label.resize(hint);
}

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

void setColours(QWidget& widget, const QColor& text, const QColor& background) {
    QPalette p = widget.palette();
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Text, text);
    if (background.isValid()) {
        p.setColor(QPalette::Window, background);
        widget.setAutoFillBackground(true);
    }
    widget.setPalette(p);
}

void SetListHorizontalExtent(ExtentListWidget& list) {
    // Measuring thousands of entries one by one is slow. Summing cached
    // character advances ranks the entries; the few at the top, the only
    // ones that can be the widest, are then measured exactly.
    constexpr size_t MeasuredExactly = 16;
    const QFontMetrics metrics(list.font());
    QHash<char16_t, int> advances;
    std::vector<std::pair<int, int>> ranked; // estimate, row
    ranked.reserve(size_t(list.count()));
    for (int i = 0; i < list.count(); ++i) {
        int width = 0;
        for (QChar c : list.item(i)->text()) {
            auto it = advances.constFind(c.unicode());
            if (it == advances.constEnd())
                it = advances.insert(c.unicode(), metrics.horizontalAdvance(c));
            width += it.value();
        }
        ranked.emplace_back(width, i);
    }
    const size_t top = std::min(ranked.size(), MeasuredExactly);
    std::partial_sort(ranked.begin(), ranked.begin() + std::ptrdiff_t(top), ranked.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    int widest = 0;
    for (size_t i = 0; i < top; ++i)
        widest = std::max(widest, metrics.horizontalAdvance(list.item(ranked[i].second)->text()));
    list.setHorizontalExtent(widest + 10);
}

PagePreview makePagePreview(QWidget* parent, QSize pictureSize) {
    PagePreview p;
    p.picture = new QLabel(parent);
    p.picture->setFixedSize(pictureSize);
    p.picture->setFrameShape(QFrame::Box);
    p.picture->setAlignment(Qt::AlignCenter);
    p.previous = new QPushButton(QStringLiteral("◀"), parent);
    p.next = new QPushButton(QStringLiteral("▶"), parent);
    p.page = new QLabel(parent);
    p.page->setAlignment(Qt::AlignCenter);
    p.buttons = new QHBoxLayout;
    p.buttons->addWidget(p.previous);
    p.buttons->addWidget(p.page, 1);
    p.buttons->addWidget(p.next);
    return p;
}

} // namespace yubin
