#pragma once

#include "foundation/prefectures.h"

#include <QString>
#include <QStringList>

namespace yubin {

// The program-wide values that one window writes and another reads. One
// object of this type is owned by the application and handed to every window.
struct SharedValues {
    QStringList PrefectureNames; // 51 entries once the main window has started
    QString BarZipCode;          // 7-digit postal code for the barcode window
    int BarCodeSize = 0;         // code size 1-3 last chosen there
    QString MapAddress;          // text for the map and web search window
    int MapMode = 0;             // 0 an address or place, 99 a business-office name
    QString SearchZipCode;       // key of a postal-code search; empty for text
    qint16 FoldMatch = 0;        // 0 exact matching, 99 also in folded forms
    QString LastSearchText;      // the full search window's two texts,
    QString LastSearchZip;       // remembered while the program runs
};

// What MapMode says of MapAddress.
inline constexpr int MapModeAddress = 0;
inline constexpr int MapModeOffice = 99;

// Flags throughout the program hold 99 when set and 0 when not.
inline constexpr qint16 FlagSet = 99;

} // namespace yubin
