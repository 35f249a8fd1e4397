#include "foundation/gui/window_owner.h"

#include "barcode/gui/bar_print.h"
#include "data_prep/gui/data_syori.h"
#include "labels/gui/atena_label.h"
#include "main_window/gui/yubin_main.h"
#include "map_search/gui/map_search.h"
#include "postcards/gui/postcard_panel.h"
#include "search/gui/ubin_sort.h"
#include "search/gui/zen_kensaku.h"
#include "search/scan.h"

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
        wire(*slot);
        slot->load();
    }
    return *slot;
}

void WindowOwner::wire(Data_Syori& window) {
    // New data files: the main window's lists go back to their idle state,
    // so that the next prefecture chosen reads them.
    QObject::connect(&window, &Data_Syori::dataReplaced, &window, [this] {
        if (mainWindow)
            mainWindow->resetToIdle();
    });
}

void WindowOwner::wire(Atena_Label& window) {
    // The postcards' page of the window, told of every list it reads.
    auto* cards = new PostcardPanel(env, &window);
    window.pnlCards = cards;
    window.addKindPage(cards, QStringLiteral("はがき・封筒"));
    QObject::connect(&window, &Atena_Label::listRead, cards,
                     [this, cards](const QString& path, const labels::AddressList& list) {
                         cards->setList(path, list, data);
                     });
}

void WindowOwner::openFullSearch() {
    zenKensaku().show();
}
void WindowOwner::loadFullSearch() {
    zenKensaku();
}
void WindowOwner::loadDataPreparation() {
    dataSyori();
}
int WindowOwner::openDataPreparation() {
    return dataSyori().exec();
}
int WindowOwner::openAddressLabels() {
    return atenaLabel().exec();
}

int WindowOwner::openBarcode(const QString& code, const QString& address,
                             const QString& addressNumber) {
    values.BarZipCode = code;
    return barPrint().openFor(code, address, addressNumber); // its load takes the code over
}

int WindowOwner::openMapSearch(const QString& address, int mapMode) {
    values.MapAddress = address;
    values.MapMode = mapMode;
    return mapSearch().exec(); // its load takes both over
}

void WindowOwner::setMainWindowShown(bool shown) {
    if (mainWindow)
        mainWindow->setVisible(shown);
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
