#pragma once

#include "main_window/loadable_dialog.h"

#include <QLineEdit>

namespace yubin {

// The full data search window. Created hidden at start-up; opened
// modelessly from the main window's "全検索" button.
class Zen_Kensaku : public LoadableDialog {
    Q_OBJECT
public:
    explicit Zen_Kensaku(WindowOwner& owner);

    QLineEdit* Text1;
};

} // namespace yubin
