#pragma once

#include "foundation/cli.h"

namespace yubin {

// yubin-cli resolve [ADDRESS...]: one line per address, or per line of
// standard input when none is given (address/resolver.h, resolutionLine).
// Exit 0 when every address resolved, 1 when one did not.
int runResolveVerb(const CliRequest& request);

// yubin-cli address-number TEXT: the address number of an address B.
int runAddressNumberVerb(const CliRequest& request);

} // namespace yubin
