#include "search/ubin_sort.h"

namespace yubin {

UBIN_Sort::UBIN_Sort(WindowOwner& windowOwner) : LoadableDialog(windowOwner) {
    setObjectName(QStringLiteral("UBIN_Sort"));
    setWindowTitle(QStringLiteral(" 検索中"));
}

} // namespace yubin
