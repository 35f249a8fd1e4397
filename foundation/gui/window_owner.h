#pragma once

#include "foundation/data_folder.h"
#include "foundation/platform.h"
#include "foundation/shared_values.h"

#include <QPointer>
#include <QString>

#include <memory>

class QWidget;

namespace yubin {

class Yubin_Main;
class Zen_Kensaku;
class UBIN_Sort;
class Data_Syori;
class BAR_Print;
class MAP_Search;
class Atena_Label;
class ScanCache;

// Creates each window on first use and hands it out. Asking for a window
// that is not loaded loads it without showing it; a window that closes is
// unloaded, and the next request loads it anew.
//
// Windows ask each other for things only through the requests below: no
// window includes another subsystem's window or touches its controls, and
// this owner is the one place that knows them all.
class WindowOwner {
public:
    WindowOwner(const Platform& platform, SharedValues& shared);
    ~WindowOwner();
    WindowOwner(const WindowOwner&) = delete;
    WindowOwner& operator=(const WindowOwner&) = delete;

    const Platform& platform() const { return env; }
    SharedValues& shared() { return values; }
    const DataFolder& dataFolder() const { return data; }
    // Decoded data files kept between full searches for the program's life.
    ScanCache& scanCache() { return *cache; }

    // ---- requests between windows -------------------------------------

    // The full search window, modeless; the main window hides while it is
    // open.
    void openFullSearch();
    // Loads the window without showing it, as the start-up does.
    void loadFullSearch();
    void loadDataPreparation();
    int openDataPreparation();
    int openAddressLabels();
    // The barcode window for a postal code (handed over in BarZipCode as
    // well), with the address box preset and, for the sample, the address
    // number.
    int openBarcode(const QString& code, const QString& address,
                    const QString& addressNumber = QString());
    // The map and web search window for an address, handed over in
    // MapAddress and MapMode.
    int openMapSearch(const QString& address, int mapMode);
    // Shows or hides the main window, when it is loaded.
    void setMainWindowShown(bool shown);

    // ---- the windows themselves (the desktop start, tests, screenshots) --

    Yubin_Main& main();
    Zen_Kensaku& zenKensaku();
    UBIN_Sort& ubinSort();
    Data_Syori& dataSyori();
    BAR_Print& barPrint();
    MAP_Search& mapSearch();
    Atena_Label& atenaLabel();

    bool isLoaded(const QObject* window) const;
    // Called by a window as it unloads.
    void forget(const QObject* window);
    // Shut-down: every window closes.
    void closeAll();

private:
    template <typename W> W& obtain(QPointer<W>& slot);
    // What a new window is connected to before its load.
    void wire(QWidget& window) { (void)window; }
    void wire(Data_Syori& window);
    void wire(Atena_Label& window);

    Platform env;
    SharedValues& values;
    DataFolder data;
    std::unique_ptr<ScanCache> cache;
    QPointer<Yubin_Main> mainWindow;
    QPointer<Zen_Kensaku> searchWindow;
    QPointer<UBIN_Sort> scanWindow;
    QPointer<Data_Syori> prepWindow;
    QPointer<BAR_Print> barcodeWindow;
    QPointer<MAP_Search> mapWindow;
    QPointer<Atena_Label> labelWindow;
};

} // namespace yubin
