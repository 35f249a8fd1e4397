#pragma once

#include "foundation/cli.h"

namespace yubin {

// yubin-cli postcards FILE: the address side of postcards or envelopes as a
// PDF, one piece a page, and every row's status as CSV; or, with
// --calibration, the calibration page alone. Prints one line of counts.
// Exit 0 when every row is ok, 1 when a row has a warning or an error or the
// file cannot be used, 2 on a misuse.
int runPostcardsVerb(const CliRequest& request);

} // namespace yubin
