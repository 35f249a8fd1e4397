#pragma once

// The gestures on the program's result lists (the main window's and the
// full search's): which modifier keys make one, the key codes and the
// characters a key gives, and the confirmation a copy shows.

#include <QString>
#include <Qt>

#include <optional>

namespace yubin {

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

// The confirmation shown after a copy.
inline const QString CopyMessageTitle = QStringLiteral("郵便番号検索");
QString copyConfirmationText(const QString& copied);

} // namespace yubin
