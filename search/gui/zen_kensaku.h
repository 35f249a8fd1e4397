#pragma once

#include "foundation/gui/loadable_dialog.h"
#include "foundation/gui/widgets.h"
#include "foundation/postal_record.h"
#include "search/scan.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace yubin {

// The full data search window: one or two words, or a postal code, looked
// for in every data file. Opened modelessly; the main window hides while it
// is open.
class Zen_Kensaku : public LoadableDialog {
    Q_OBJECT
public:
    explicit Zen_Kensaku(WindowOwner& owner);
    void load() override;

    QLabel* Label2;
    QLineEdit* Text1;
    QPushButton* Command1;
    QCheckBox* Check2;
    QCheckBox* Check1;
    QLabel* Label1;
    QLineEdit* Text2;
    QLabel* Label4;
    QPushButton* Command3;
    QPushButton* Command2;
    QLabel* Label3;
    ExtentListWidget* List1;

    qint16 LastShift = 0;
    qint16 LastKeyCode = 0;

    void textSearch();
    void postalCodeSearch();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool queryUnload() override;
    void unload() override;

private:
    void runSearch();
    static void trimBox(QLineEdit& box);
    void showIdleLine();
    // The record of the selected row; none for a status line or a row of
    // an abolished code.
    const PostalRecord* selectedRecord() const;
    // The gestures on the result rows.
    void onResultMousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void onResultDoubleClicked();
    void onResultKeyPressed(QKeyEvent* event);

    // What the last search found: the rows List1 shows and their records.
    ScanResult found;
    // The button of the last mouse-down on List1: only the left one
    // double-clicks.
    Qt::MouseButton pressedButton = Qt::NoButton;
};

} // namespace yubin
