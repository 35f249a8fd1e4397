#pragma once

#include "foundation/cli.h"

namespace yubin {

// yubin-cli search TEXT [--fold] [--no-offices]
int runSearchVerb(const CliRequest& request);
// yubin-cli code CODE [--no-offices]
int runCodeVerb(const CliRequest& request);

} // namespace yubin
