#pragma once

// The actions on the full search window's result rows. Every row the scan
// delivers begins with a 13-character prefix: its marker ("[A]" for an
// address, "[*]" for a business office), a blank, the postal code as
// NNN-NNNN and a blank. The actions read the row text alone and rely on it.

#include <QString>
#include <QStringView>

#include <optional>

namespace yubin {

// Whether the row carries the prefix; the scan's status lines and the
// window's idle line do not, and no action takes them for a row.
bool hasResultRowPrefix(QStringView row);

// The row's postal code without its hyphen; empty for anything but a row.
QString resultBarZipCode(QStringView row);

// What a Shift- or Ctrl-double-click looks up: for an address row the
// address without its reading (cut before a parenthesised town area or
// note), for an office row its address. nullopt for the catch-all town area
// and for anything but a row.
std::optional<QString> resultMapAddress(QStringView row);

// What Ctrl+V puts on the clipboard: an address row up to its reading, an
// office row whole, both without the marker. nullopt for anything but a row.
std::optional<QString> resultCopyText(QStringView row);

} // namespace yubin
