#pragma once

#include "barcode/picture_box.h"
#include "foundation/gui/widgets.h"
#include "main_window/loadable_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace yubin {

class cBarcode;

// The customer barcode window: a postal code and an address number are
// previewed as the barcode with its check character, and printed on
// request. The preview is drawn again each time the window is activated.
class BAR_Print : public LoadableDialog {
    Q_OBJECT
public:
    explicit BAR_Print(WindowOwner& owner);
    void load() override;

    QGroupBox* Frame1;
    QLabel* Label2[2];
    QLineEdit* txtData1; // postal code
    QLabel* Label4[2];
    QLineEdit* txtData2; // address number
    QLabel* lblDeg;      // check character value
    ClickableLabel* Label1;
    QGroupBox* Frame2;
    QLabel* Label5;
    QRadioButton* Option1[2];
    QLabel* Label8;
    QComboBox* cmbBlock;
    QLabel* Label6;
    QLineEdit* txtStartY;
    QLabel* Label7[2];
    QLineEdit* txtStartX;
    PictureBox* picTarget;
    QPushButton* cmdExecute;
    QPushButton* Command1;
    QTimer* Timer1;

    // The draw action of cmdExecute: validate, preview, and print when
    // "印刷" is chosen.
    void cmdExecute_Click();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void unload() override;

private:
    void createControls();
    void printBarcode(cBarcode& encoder, qint32 top, qint32 left, const QString& data, int size);
    // Returning from the window's own message box or print dialog, or from
    // another program, is no new activation: it would redraw and print again.
    bool redrawOnActivation = true;
};

} // namespace yubin
