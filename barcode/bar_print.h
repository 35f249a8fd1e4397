#pragma once

#include "main_window/loadable_dialog.h"

#include <QLineEdit>

namespace yubin {

// The customer barcode preview and print window.
class BAR_Print : public LoadableDialog {
    Q_OBJECT
public:
    explicit BAR_Print(WindowOwner& owner);
    void load() override;

    QLineEdit* txtData1; // postal code
    QLineEdit* txtData2; // address number
};

} // namespace yubin
