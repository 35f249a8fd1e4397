#pragma once

#include "foundation/data_folder.h"
#include "foundation/platform.h"
#include "foundation/shared_values.h"

#include <QPointer>

#include <memory>

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
