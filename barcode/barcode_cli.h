#pragma once

#include "foundation/cli.h"

namespace yubin {

// yubin-cli barcode ZIP [ADDRESS] [--size 1|2|3] [--png FILE] [--svg FILE]
// [--pdf FILE] [--top MM] [--left MM]: the check value as two digits and the
// full bar pattern, checked as the barcode window checks its input.
// --png writes the window's preview, --svg the barcode alone at its printed
// size, --pdf an A4 page with the barcode at --top and --left millimetres
// (35 and 15 unless given), as the window prints it. With --address ADDRESS
// instead of ZIP and ADDRESS the postal code and the address number are those
// the address resolves to; its warnings go to stderr.
int runBarcodeVerb(const CliRequest& request);

} // namespace yubin
