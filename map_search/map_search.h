#pragma once

#include "main_window/loadable_dialog.h"

namespace yubin {

// Opens a chosen address in a map or web search.
class MAP_Search : public LoadableDialog {
    Q_OBJECT
public:
    explicit MAP_Search(WindowOwner& owner);
};

} // namespace yubin
