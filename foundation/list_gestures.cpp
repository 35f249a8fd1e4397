#include "foundation/list_gestures.h"

namespace yubin {

qint16 shiftState(Qt::KeyboardModifiers modifiers) {
    qint16 state = 0;
    if (modifiers & Qt::ShiftModifier)
        state += ShiftAlone;
    if (modifiers & Qt::ControlModifier)
        state += CtrlAlone;
    if (modifiers & Qt::AltModifier)
        state += AltAlone;
    return state;
}

bool isGestureShift(qint16 shift) {
    return shift == ShiftAlone || shift == CtrlAlone;
}

qint16 desktopKeyCode(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qint16(qtKey); // Qt numbers these keys by their ASCII code, as the desktop did
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return qint16(112 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

std::optional<int> keyPressCharacter(int qtKey, Qt::KeyboardModifiers modifiers,
                                     const QString& text) {
    // Platforms differ in the text they give Ctrl with a letter ("\x16" or
    // "v" for Ctrl+V); the control character follows from the key itself.
    if ((modifiers & Qt::ControlModifier) && qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey - Qt::Key_A + 1;
    if (text.isEmpty())
        return std::nullopt;
    return int(text.at(0).unicode());
}

bool isCopyKeyPress(int character, qint16 lastShift, qint16 lastKeyCode) {
    return character == CtrlVCharacter && lastShift == CtrlAlone && lastKeyCode == KeyCodeV;
}

bool takeKeyGesture(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text,
                    qint16& lastShift, qint16& lastKeyCode) {
    lastShift = shiftState(modifiers);
    lastKeyCode = desktopKeyCode(qtKey);
    const std::optional<int> character = keyPressCharacter(qtKey, modifiers, text);
    if (!character)
        return false; // no key-press: the state waits for the next key
    const bool copy = isCopyKeyPress(*character, lastShift, lastKeyCode);
    lastShift = 0;
    lastKeyCode = 0;
    return copy;
}

bool takeDoubleClickGesture(qint16& lastShift) {
    const bool gesture = isGestureShift(lastShift);
    lastShift = 0;
    return gesture;
}

QString copyConfirmationText(const QString& copied) {
    return QStringLiteral("ｺﾋﾟｰ文字列 ： ") + copied + QStringLiteral("        ") +
           QStringLiteral("\r\r") + QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました。     ");
}

} // namespace yubin
