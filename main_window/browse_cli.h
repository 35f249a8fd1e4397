#pragma once

#include "foundation/cli.h"

namespace yubin {

// yubin-cli municipalities PREF [--offices]: the lines of the municipality
// (or office) list, in list order.
int runMunicipalitiesVerb(const CliRequest& request);
// yubin-cli towns PREF NAME [--offices]: the town (or office) lines for NAME.
int runTownsVerb(const CliRequest& request);
// yubin-cli town-search PREF MUNICIPALITY TEXT: the town lines after a search.
int runTownSearchVerb(const CliRequest& request);

} // namespace yubin
