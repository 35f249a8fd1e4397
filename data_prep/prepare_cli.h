#pragma once

#include "foundation/cli.h"

namespace yubin {

// yubin-cli prepare prefectures DIR | prepare nationwide DIR: the runs of the
// data preparation window without windows, the question answered yes. The
// progress goes to stderr, the completion message to stdout and an error to
// stderr; exit 0 when something was placed, 1 otherwise.
int runPrepareVerb(const CliRequest& request);

} // namespace yubin
