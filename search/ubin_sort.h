#pragma once

#include "main_window/loadable_dialog.h"

namespace yubin {

// The modal progress window of one full search pass.
class UBIN_Sort : public LoadableDialog {
    Q_OBJECT
public:
    explicit UBIN_Sort(WindowOwner& owner);
};

} // namespace yubin
