#pragma once

#include "foundation/cli.h"

namespace yubin {

// yubin-cli prepare prefectures DIR | nationwide DIR | update DIR: the runs
// of the data preparation window without windows, the question answered
// yes. The progress goes to stderr, the completion message (the update's
// report) to stdout and an error or a refusal to stderr; exit 0 when
// something was placed, 1 otherwise.
int runPrepareVerb(const CliRequest& request);

// yubin-cli changes [--since YYMM]: the change log of the data folder, one
// change a line, from the month given on; exit 1 when there is none.
int runChangesVerb(const CliRequest& request);

} // namespace yubin
