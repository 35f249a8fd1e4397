#pragma once

// The actions on the lines of the main window's lists: what text a
// municipality, office or town line hands to the map window, the barcode
// window and the clipboard. Which keys make a gesture is the same for every
// list (foundation/list_gestures.h).

#include "foundation/list_gestures.h"
#include "foundation/shared_values.h"
#include "main_window/browse.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace yubin {

// ---- the texts of the lines --------------------------------------------------

// Exactly three digits, "-" and four digits.
bool isPostalCodeText(QStringView text);

// A line of the town list: it begins with its postal code and a blank. The
// idle line and anything else never count as one.
bool isTownListLine(QStringView line);

// What a Shift- or Ctrl-double-click on a municipality or office line looks
// up: the municipality without its reading (MapMode 0), or the office name
// (MapMode 99). nullopt when the line names nothing of more than one
// character.
struct MapRequest {
    QString address;
    int mode = 0;
    bool operator==(const MapRequest&) const = default;
};
std::optional<MapRequest> municipalityMapRequest(QStringView line, BrowseMode mode);

// What a double-click on a town line looks up: the prefecture followed by
// the line's municipality and town area (or office address), cut before a
// full-width parenthesised note and before the reading. nullopt for the
// catch-all line and for anything that is not a town line.
std::optional<QString> townMapAddress(QStringView line, const QString& prefectureName);

// The postal code of a town line without its hyphen; empty when the line
// holds none.
QString townBarZipCode(QStringView line);

// What Ctrl+V puts on the clipboard for a town line: the line without its
// reading (the postal code alone for the catch-all and whole-area lines), or
// an office line whole. nullopt when the line is no town line.
std::optional<QString> townCopyText(QStringView line, BrowseMode mode);

} // namespace yubin
