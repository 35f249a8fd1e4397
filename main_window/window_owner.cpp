#include "main_window/window_owner.h"

#include "barcode/bar_print.h"
#include "data_prep/data_syori.h"
#include "labels/atena_label.h"
#include "main_window/yubin_main.h"
#include "map_search/map_search.h"
#include "search/scan.h"
#include "search/ubin_sort.h"
#include "search/zen_kensaku.h"

namespace yubin {

WindowOwner::WindowOwner(const Platform& platform, SharedValues& shared)
    : env(platform), values(shared), data(platform.programFolder),
      cache(std::make_unique<ScanCache>()) {}

WindowOwner::~WindowOwner() {
    // Children first: the main window is the last to go.
    delete labelWindow.data();
    delete mapWindow.data();
    delete barcodeWindow.data();
    delete scanWindow.data();
    delete searchWindow.data();
    delete prepWindow.data();
    delete mainWindow.data();
}

template <typename W> W& WindowOwner::obtain(QPointer<W>& slot) {
    if (!slot) {
        slot = new W(*this); // owned here; deleted on unload or with the owner
        slot->load();
    }
    return *slot;
}

Yubin_Main& WindowOwner::main() {
    if (!mainWindow)
        mainWindow = new Yubin_Main(*this); // its load is the start-up, run by the caller
    return *mainWindow;
}
Zen_Kensaku& WindowOwner::zenKensaku() {
    return obtain(searchWindow);
}
UBIN_Sort& WindowOwner::ubinSort() {
    return obtain(scanWindow);
}
Data_Syori& WindowOwner::dataSyori() {
    return obtain(prepWindow);
}
BAR_Print& WindowOwner::barPrint() {
    return obtain(barcodeWindow);
}
MAP_Search& WindowOwner::mapSearch() {
    return obtain(mapWindow);
}
Atena_Label& WindowOwner::atenaLabel() {
    return obtain(labelWindow);
}

bool WindowOwner::isLoaded(const QObject* window) const {
    return window && (window == mainWindow || window == searchWindow || window == scanWindow ||
                      window == prepWindow || window == barcodeWindow || window == mapWindow ||
                      window == labelWindow);
}

void WindowOwner::forget(const QObject* window) {
    auto drop = [window](auto& slot) {
        if (window && slot == window) {
            slot->deleteLater();
            slot = nullptr;
        }
    };
    drop(searchWindow);
    drop(scanWindow);
    drop(prepWindow);
    drop(barcodeWindow);
    drop(mapWindow);
    drop(labelWindow);
}

void WindowOwner::closeAll() {
    for (QWidget* w : std::initializer_list<QWidget*>{labelWindow, mapWindow, barcodeWindow,
                                                      scanWindow, searchWindow, prepWindow})
        if (w)
            w->hide();
    forget(labelWindow);
    forget(mapWindow);
    forget(barcodeWindow);
    forget(scanWindow);
    forget(searchWindow);
    forget(prepWindow);
}

} // namespace yubin
