#pragma once

// The nationwide archives the program carries, and how a new user's first
// start turns them into data files, so that every start of the program (the
// desktop entry, a terminal, scripts/run.sh) opens on the whole of Japan.

#include "foundation/data_folder.h"

#include <QString>
#include <QTextStream>

namespace yubin {

// Where the bundled archives are: $YUBIN_BUNDLED_DATA when it is set (the
// build tree's scripts point it at resources/data), else share/yubin/data
// beside the installed bin/.
QString bundledDataFolder(const QString& programFolder);

// When the data folder holds no prefecture file and the bundled folder
// exists, splits its archives into the data folder with the nationwide run,
// its messages on `err`; true when files were placed. A data folder that
// holds data is never touched.
bool fillFromBundledData(const DataFolder& data, const QString& bundled, QTextStream& err);

} // namespace yubin
