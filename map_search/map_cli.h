#pragma once

#include "foundation/cli.h"

namespace yubin {

// yubin-cli map-url [--site 0|1] [--office] TEXT: the page a map search of
// the window opens for TEXT taken over as its address. The site is the
// window's first one unless --site chooses; --office takes TEXT as a
// business-office name, for which the window offers no map search: the verb
// says so and exits 1.
int runMapUrlVerb(const CliRequest& request);

// yubin-cli web-url [--engine 0|1] TEXT: the same for a web search.
int runWebUrlVerb(const CliRequest& request);

} // namespace yubin
