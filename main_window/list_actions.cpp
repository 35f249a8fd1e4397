#include "main_window/list_actions.h"

#include "foundation/text.h"

namespace yubin {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The first full-width "（", else the first "(", else the end.
qsizetype parenthesisCut(QStringView text) {
    qsizetype at = text.indexOf(u'（');
    if (at < 0)
        at = text.indexOf(u'(');
    return at < 0 ? text.size() : at;
}

// The name of a town line begins after its postal code; one blank stands
// between them on a whole-area line, two on the others.
constexpr qsizetype TownNameFrom = 9;

} // namespace

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

bool isPostalCodeText(QStringView text) {
    if (text.size() != 8 || text.at(3) != u'-')
        return false;
    for (qsizetype i : {0, 1, 2, 4, 5, 6, 7})
        if (!isAsciiDigit(text.at(i)))
            return false;
    return true;
}

bool isTownListLine(QStringView line) {
    return line.size() > 8 && isPostalCodeText(line.left(8)) && line.at(8) == u' ';
}

std::optional<MapRequest> municipalityMapRequest(QStringView line, BrowseMode mode) {
    // A line is its leading reading character, a blank and the name; an
    // empty reading leaves the blank first. Taking the name after that
    // blank keeps the first character of such a name, and refuses the idle
    // line, which has no blank.
    const qsizetype blank = line.indexOf(u' ');
    if (blank < 0 || blank > 1)
        return std::nullopt;
    const QStringView rest = line.mid(blank + 1);
    MapRequest request;
    if (mode == BrowseMode::Prefecture) {
        request.address = text::trimmed(rest.left(parenthesisCut(rest)));
        request.mode = MapModeAddress;
    } else {
        request.address = text::trimmed(rest);
        request.mode = MapModeOffice;
    }
    if (request.address.size() <= 1)
        return std::nullopt;
    return request;
}

std::optional<QString> townMapAddress(QStringView rawLine, const QString& prefectureName) {
    const QStringView line = text::trimBlanks(rawLine);
    if (!isTownListLine(line) || line.size() <= 10 || line.contains(CatchAllTown))
        return std::nullopt;
    const qsizetype cut = parenthesisCut(line);
    if (cut < TownNameFrom)
        return std::nullopt;
    return text::trimmed(prefectureName) +
           text::trimmed(line.mid(TownNameFrom, cut - TownNameFrom));
}

QString townBarZipCode(QStringView rawLine) {
    const QStringView line = text::trimBlanks(rawLine);
    if (!isTownListLine(line))
        return QString();
    return line.left(3).toString() + line.mid(4, 4).toString();
}

std::optional<QString> townCopyText(QStringView rawLine, BrowseMode mode) {
    const QStringView line = text::trimBlanks(rawLine);
    if (!isTownListLine(line))
        return std::nullopt;
    if (mode == BrowseMode::BusinessOffice)
        return line.toString();
    // The reading follows the last blank; a town line always has one after
    // its postal code.
    return text::trimmed(line.left(line.lastIndexOf(u' ')));
}

QString copyConfirmationText(const QString& copied) {
    return QStringLiteral("ｺﾋﾟｰ文字列 ： ") + copied + QStringLiteral("        ") +
           QStringLiteral("\r\r") + QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました。     ");
}

} // namespace yubin
