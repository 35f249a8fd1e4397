#pragma once

#include "foundation/platform.h"

#include <QString>

namespace yubin {

// The main window's caption and the geometry that depends on the screen
// height. All lengths in twips.
struct MainLayout {
    bool compact = false; // screens below 10000 twips
    QString caption;
    int windowWidth = 0; // outer size, frame included
    int windowHeight = 0;
    int windowLeft = 0;
    int windowTop = 0;
    int list1Height = 0; // List1 and List2
    int list3Height = 0;
    int list3Width = 0;
};

QString mainCaption(int major, int minor, int revision, bool compact);
MainLayout mainLayout(int screenWidthTwips, int screenHeightTwips, int major, int minor,
                      int revision);

// What the lists show before a prefecture is chosen.
inline const QString IdleListLine = QStringLiteral("都道府県を指定してください");

// The sample the hidden label at the lower right opens the barcode window with.
inline const QString SampleBarZipCode = QStringLiteral("1000001");
inline const QString SampleAddressNumber = QStringLiteral("1-1");

} // namespace yubin
