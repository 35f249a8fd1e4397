#include "map_search/map_search.h"

namespace yubin {

MAP_Search::MAP_Search(WindowOwner& windowOwner) : LoadableDialog(windowOwner) {
    setObjectName(QStringLiteral("MAP_Search"));
    setWindowTitle(QStringLiteral(" インターネット地図・WEB検索"));
}

} // namespace yubin
