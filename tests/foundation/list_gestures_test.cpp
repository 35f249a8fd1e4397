#include "foundation/list_gestures.h"

#include <gtest/gtest.h>

#include <optional>

namespace yubin {
namespace {

TEST(ShiftState, SumsShiftCtrlAndAltAndCountsOnlyOneAloneAsAGesture) {
    using enum Qt::KeyboardModifier;
    const std::tuple<Qt::KeyboardModifiers, qint16, bool> cases[] = {
        {NoModifier, 0, false},
        {ShiftModifier, 1, true},
        {ControlModifier, 2, true},
        {ShiftModifier | ControlModifier, 3, false},
        {AltModifier, 4, false},
        {ShiftModifier | AltModifier, 5, false},
        {ControlModifier | AltModifier, 6, false},
        {ShiftModifier | ControlModifier | AltModifier, 7, false},
        // The keypad and Windows keys are no part of the state.
        {ControlModifier | KeypadModifier, 2, true},
        {MetaModifier, 0, false}};
    for (const auto& [modifiers, state, gesture] : cases) {
        EXPECT_EQ(shiftState(modifiers), state) << int(modifiers);
        EXPECT_EQ(isGestureShift(state), gesture) << state;
    }
    // A double-click takes the stored state and always spends it.
    for (qint16 stored = 0; stored < 8; ++stored) {
        qint16 shift = stored;
        EXPECT_EQ(takeDoubleClickGesture(shift), stored == 1 || stored == 2) << stored;
        EXPECT_EQ(shift, 0);
    }
}

TEST(KeyGestures, CopyOnlyOnCtrlVAndClearTheStateOnEveryTypingKey) {
    for (const auto& [key, code] : {std::pair{Qt::Key_V, 86},
                                    {Qt::Key_C, 67},
                                    {Qt::Key_0, 48},
                                    {Qt::Key_Enter, 13},
                                    {Qt::Key_Control, 17},
                                    {Qt::Key_Down, 40},
                                    {Qt::Key_F12, 123},
                                    {Qt::Key_Menu, 0}})
        EXPECT_EQ(desktopKeyCode(key), code) << key;
    using enum Qt::KeyboardModifier;
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        bool copies;
        qint16 shiftAfter, keyCodeAfter;
    } cases[] = {{Qt::Key_V, ControlModifier, "\x16", true, 0, 0},
                 {Qt::Key_C, ControlModifier, "\x03", false, 0, 0},
                 {Qt::Key_V, ControlModifier | ShiftModifier, "\x16", false, 0, 0},
                 {Qt::Key_V, ControlModifier | AltModifier, "v", false, 0, 0},
                 {Qt::Key_V, ShiftModifier, "V", false, 0, 0},
                 {Qt::Key_V, NoModifier, "v", false, 0, 0},
                 // Keys that type nothing only store their key-down.
                 {Qt::Key_Control, ControlModifier, "", false, 2, 17},
                 {Qt::Key_Down, ShiftModifier, "", false, 1, 40}};
    for (const auto& c : cases) {
        qint16 shift = 7, keyCode = 99;
        EXPECT_EQ(takeKeyGesture(c.key, c.modifiers, QString::fromLatin1(c.text), shift, keyCode),
                  c.copies)
            << c.key << ' ' << int(c.modifiers);
        EXPECT_EQ(shift, c.shiftAfter) << c.key;
        EXPECT_EQ(keyCode, c.keyCodeAfter) << c.key;
    }
}

TEST(CopyConfirmation, NamesTheCopiedTextAndEndsInItsBlanks) {
    EXPECT_EQ(copyConfirmationText(QStringLiteral("060-0000")),
              QStringLiteral("ｺﾋﾟｰ文字列 ： 060-0000        \r\rｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰしました。     "));
    EXPECT_EQ(CopyMessageTitle, QStringLiteral("郵便番号検索"));
}

} // namespace
} // namespace yubin
