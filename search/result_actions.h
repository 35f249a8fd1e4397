#pragma once

// The actions on the full search window's result rows, taken from the
// record of the row (the scan keeps it beside the row): the postal code
// for the barcode window, the address for the map window, the text Ctrl+V
// copies. A closing line or a row of an abolished code has no record, and
// no action takes it.

#include "foundation/postal_record.h"

#include <QString>

#include <optional>

namespace yubin {

// The postal code without its hyphen.
QString resultBarZipCode(const PostalRecord& record);

// What a Shift- or Ctrl-double-click looks up: for an address the
// prefecture, municipality and town area without the reading, cut before a
// note in parentheses (prefecture and municipality for a town area that
// stands in parentheses); for an office its address, cut the same way.
// nullopt for the catch-all town area.
std::optional<QString> resultMapAddress(const PostalRecord& record);

// What Ctrl+V puts on the clipboard: the postal code as NNN-NNNN and the
// address without its reading (the postal code alone for a town area that
// stands in parentheses); for an office the postal code, its name and its
// address.
QString resultCopyText(const PostalRecord& record);

} // namespace yubin
