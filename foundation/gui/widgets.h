#pragma once

// Small widgets that stand in for controls of the original desktop toolkit.

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <optional>

namespace yubin {

// A list box whose horizontal scroll range is set explicitly in pixels, as
// the original list boxes were: the range covers `horizontalExtent` pixels
// whatever the items report.
class ExtentListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit ExtentListWidget(QWidget* parent = nullptr);

    int horizontalExtent() const { return extent; }
    void setHorizontalExtent(int pixels);

    // The first selected line from the top, and its text; nullopt when none
    // is selected.
    std::optional<int> selectedRow() const;
    std::optional<QString> selectedLine() const;

signals:
    // What the desktop's list box called a click: a mouse click on an entry,
    // or the keyboard moving the selection.
    void chosen();
    // Any mouse button pressed, with the keyboard modifiers of that moment;
    // the result-list gestures read these.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void keyPressed(QKeyEvent* event);

protected:
    void updateGeometries() override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    void applyExtent();
    int extent = 0;
    // The release that ends a double-click is no second choice.
    bool releaseEndsDoubleClick = false;
};

// A label that acts as a button: click and double-click signals.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(QWidget* parent = nullptr) : QLabel(parent) {}

signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// Sets a label's caption and sizes the label to it, keeping the right edge of
// a right-aligned label where it was: a count grows to the left.
void setAutoSizedCaption(QLabel& label, const QString& caption);

// A control's rectangle given in twips, the unit the window layouts use.
QRect twipsRect(int left, int top, int width, int height);

// Text colour, and a filled background when one is given.
void setColours(QWidget& widget, const QColor& text, const QColor& background = QColor());

inline const QColor ColourBlue(0x00, 0x00, 0xFF);
inline const QColor ColourLightYellow(0xFF, 0xFF, 0xC0);

// A page preview as the label sheets and the postcards show it: the page's
// picture, framed, and under it ◀, the page number and ▶.
struct PagePreview {
    QLabel* picture;
    QPushButton* previous;
    QPushButton* next;
    QLabel* page;
    QHBoxLayout* buttons;
};
PagePreview makePagePreview(QWidget* parent, QSize pictureSize);

// The list's horizontal scroll range becomes its widest entry, measured in
// the list's own font, plus 10 pixels. An empty list gets 10.
void SetListHorizontalExtent(ExtentListWidget& list);

} // namespace yubin
