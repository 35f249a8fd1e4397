#pragma once

#include "barcode/gui/picture_box.h"
#include "foundation/gui/loadable_dialog.h"
#include "foundation/gui/widgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <memory>

namespace yubin {

namespace address {
class AddressResolver;
}

class cBarcode;

// The customer barcode window: a postal code and an address number are
// previewed as the barcode with its check character, and printed on
// request. The preview is drawn again each time the window is activated.
class BAR_Print : public LoadableDialog {
    Q_OBJECT
public:
    explicit BAR_Print(WindowOwner& owner);
    ~BAR_Print() override;
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
    // From an address to both boxes: the address, its button and the
    // account of what was found.
    QGroupBox* Frame3;
    QLineEdit* txtAddress;
    QPushButton* cmdAddress;
    QLabel* lblAddress;

    // Shown modally for a postal code, with the address box and the
    // address-number box preset: what another window asks of this one.
    int openFor(const QString& code, const QString& address,
                const QString& addressNumber = QString());

    // The draw action of cmdExecute: validate, preview, and print when
    // "印刷" is chosen.
    void cmdExecute_Click();
    // 住所から作成: resolves the address, fills the postal-code and
    // address-number boxes and draws the preview, never printing; an
    // address that does not resolve leaves them as they are.
    void cmdAddress_Click();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void unload() override;

private:
    void createControls();
    // Validates and previews; prints too when asked and "印刷" is chosen.
    void draw(bool printWhenChosen);
    void printBarcode(cBarcode& encoder, qint32 top, qint32 left, const QString& data, int size);
    // Returning from the window's own message box or print dialog, or from
    // another program, is no new activation: it would redraw and print again.
    bool redrawOnActivation = true;
    // Built on first use: it reads the data folder lazily.
    std::unique_ptr<address::AddressResolver> resolver;
};

} // namespace yubin
