#pragma once

#include "foundation/cli.h"

namespace yubin {

// yubin-cli labels FILE: the sheets as a PDF and every row's status as
// CSV. Prints one line of counts. Exit 0 when every row is ok, 1 when a row
// has a warning or an error or the file cannot be used, 2 on a misuse
// (options, a layout that does not fit A4 or cannot hold the barcode).
int runLabelsVerb(const CliRequest& request);

} // namespace yubin
