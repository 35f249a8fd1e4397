#pragma once

// The nationwide archives the program carries, and how a new user's first
// start turns them into data files, so that every start of the program (the
// desktop entry, a terminal, scripts/run.sh) opens on the whole of Japan.

#include "foundation/data_folder.h"

#include <QString>
#include <QTextStream>

namespace yubin {

// When the data folder holds no prefecture file and the bundled folder
// exists, splits its archives into the data folder with the nationwide run,
// its messages on `err`, and says where it placed them; true when files
// were placed. A data folder that holds data is never touched. The desktop
// program and yubin-cli both fill a new user's folder through this.
bool fillFromBundledData(const DataFolder& data, const QString& bundled, QTextStream& err);

} // namespace yubin
