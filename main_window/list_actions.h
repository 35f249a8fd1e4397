#pragma once

// The actions on the lines of the main window's lists: which modifier keys
// make a gesture, the key codes and characters a key gives, and what text a
// municipality, office or town line hands to the map window, the barcode
// window and the clipboard. The full search window's result rows use the
// gesture and copy rules from here as well.

#include "main_window/browse.h"

#include <QString>
#include <QStringView>
#include <Qt>

#include <optional>

namespace yubin {

// ---- modifier keys and keys ------------------------------------------------

// The shift state of a mouse-down or key-down: 1 Shift, 2 Ctrl, 4 Alt, summed.
inline constexpr qint16 ShiftAlone = 1;
inline constexpr qint16 CtrlAlone = 2;
inline constexpr qint16 AltAlone = 4;
qint16 shiftState(Qt::KeyboardModifiers modifiers);

// Only Shift alone or Ctrl alone makes a gesture; any combination does not.
bool isGestureShift(qint16 shift);

// The desktop key code of a key: letters and digits as their upper-case
// ASCII code (V is 86), Enter 13, the modifier keys 16 to 18 and so on; 0 for
// a key the program has no code for.
qint16 desktopKeyCode(int qtKey);

// The character a key-down goes on to type, as the desktop reports it: Ctrl
// with a letter types its control character (Ctrl+V 22, Ctrl+C 3); other
// keys their first character. nullopt for keys that type nothing (the
// modifier keys alone, the arrows), which raise no key-press at all.
std::optional<int> keyPressCharacter(int qtKey, Qt::KeyboardModifiers modifiers,
                                     const QString& text);

inline constexpr int CtrlVCharacter = 22;
inline constexpr qint16 KeyCodeV = 86;

// Ctrl+V copies; Ctrl+C and Ctrl+Shift+V do not.
bool isCopyKeyPress(int character, qint16 lastShift, qint16 lastKeyCode);

// One key on a result list, as the list's key-down and key-press see it:
// the key-down stores the shift state and the key code; a key that types a
// character goes on to its key-press, which asks for a copy on Ctrl+V and
// then clears both. True when the selected line is to be copied.
bool takeKeyGesture(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text,
                    qint16& lastShift, qint16& lastKeyCode);

// A double-click reads the shift state of the mouse-down before it and
// spends it: true for Shift alone or Ctrl alone, and the state is 0 after.
bool takeDoubleClickGesture(qint16& lastShift);

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
inline constexpr int MapModeAddress = 0;
inline constexpr int MapModeOffice = 99;
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

// The confirmation shown after a copy.
inline const QString CopyMessageTitle = QStringLiteral("郵便番号検索");
QString copyConfirmationText(const QString& copied);

} // namespace yubin
