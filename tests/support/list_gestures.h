#pragma once

// Mouse gestures on a line of a list, sent the way the window system sends
// them, the answering of a modal window that a gesture brings up, and the
// gesture table shared by the main window's and the full search's lists.

#include "barcode/gui/bar_print.h"
#include "foundation/gui/widgets.h"
#include "map_search/gui/map_search.h"
#include "support/fakes.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace yubin::test {

inline QPoint lineCentre(ExtentListWidget& list, int row) {
    return list.visualItemRect(list.item(row)).center();
}

inline void clickLine(ExtentListWidget& list, int row, Qt::KeyboardModifiers modifiers = {},
                      Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(list.viewport(), button, modifiers, lineCentre(list, row));
}

// Press, release, press, double-click, release: the second press comes
// before the double-click event, as on the desktop.
inline void doubleClickAt(QWidget* viewport, QPoint at, Qt::KeyboardModifiers modifiers = {},
                          Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(viewport, button, modifiers, at);
    QTest::mousePress(viewport, button, modifiers, at);
    QTest::mouseDClick(viewport, button, modifiers, at);
    QTest::mouseRelease(viewport, button, modifiers, at);
}

// Runs the action. When it brings up a modal window of type W, `up` sees the
// window while it is up. True when such a window came up.
template <typename W>
bool onModal(const std::function<void()>& action, const std::function<void(W&)>& up) {
    bool shown = false;
    // A timer of this frame: when no window comes up it dies unfired and
    // never reaches into a later test.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* window = qobject_cast<W*>(QApplication::activeModalWidget())) {
            shown = true;
            up(*window);
        }
    });
    timer.start(0);
    action();
    return shown;
}

// As onModal; `inspect` sees the window, which is then closed.
template <typename W>
bool answerModal(const std::function<void()>& action, const std::function<void(W&)>& inspect = {}) {
    return onModal<W>(action, [&](W& window) {
        if (inspect)
            inspect(window);
        window.close();
    });
}

// ---- the gestures of a result list -------------------------------------------

enum class Gesture {
    RightClick,       // on the next line, after a plain click selected this one
    DoubleClick,      // with the left button
    RightDoubleClick, // no map gesture whatever the keys held
    CtrlV,            // with the modifiers given, after a plain click selected the line
    CtrlC,
};

// One gesture on one line, and what it should bring about: the postal code
// and the preset address (one blank between) in the barcode window, the address in the map window
// (with " (web only)" when its map search is off for an office name), the text copied, or nothing
// (nullptr).
struct GestureCase {
    int row; // -1: no line selected, the gesture lands on the empty viewport
    Gesture gesture;
    Qt::KeyboardModifiers modifiers;
    const char16_t* outcome;
};

// For the gesture tables.
namespace gestures {
using test::Gesture;
using test::GestureCase;
constexpr Qt::KeyboardModifiers None{};
constexpr Qt::KeyboardModifiers Shift{Qt::ShiftModifier};
constexpr Qt::KeyboardModifiers Ctrl{Qt::ControlModifier};
} // namespace gestures

// Acts out the case on the list and reports what came of it. A copy must be
// confirmed by the one message the copy gives.
inline std::optional<QString> actOut(ExtentListWidget& list, const GestureCase& c,
                                     RecordingMessageBoxes& messages) {
    const QString kept = QStringLiteral("kept on the clipboard");
    QGuiApplication::clipboard()->setText(kept);
    const QPoint at =
        c.row < 0 ? QPoint(2, list.viewport()->height() - 2) : lineCentre(list, c.row);
    std::optional<QString> seen;
    switch (c.gesture) {
    case Gesture::RightClick: {
        if (c.row >= 0)
            clickLine(list, c.row);
        const QPoint next = c.row < 0 ? at : lineCentre(list, (c.row + 1) % list.count());
        answerModal<BAR_Print>(
            [&] { QTest::mouseClick(list.viewport(), Qt::RightButton, c.modifiers, next); },
            [&](BAR_Print& w) { seen = w.txtData1->text() + u' ' + w.txtAddress->text(); });
        break;
    }
    case Gesture::DoubleClick:
    case Gesture::RightDoubleClick:
        answerModal<MAP_Search>(
            [&] {
                doubleClickAt(list.viewport(), at, c.modifiers,
                              c.gesture == Gesture::DoubleClick ? Qt::LeftButton : Qt::RightButton);
            },
            [&](MAP_Search& w) {
                seen = w.Text1->text() +
                       (w.Command1->isEnabled() ? QString() : QStringLiteral(" (web only)"));
            });
        break;
    case Gesture::CtrlV:
    case Gesture::CtrlC:
        if (c.row >= 0)
            clickLine(list, c.row);
        QTest::keyClick(&list, c.gesture == Gesture::CtrlV ? Qt::Key_V : Qt::Key_C, c.modifiers);
        if (QGuiApplication::clipboard()->text() != kept)
            seen = QGuiApplication::clipboard()->text();
        EXPECT_EQ(messages.shown.size(), seen ? 1u : 0u);
        for (const ShownMessage& m : messages.shown)
            EXPECT_TRUE(m.icon == MessageIcon::Exclamation && m.buttons == MessageButtons::Ok &&
                        m.title == QStringLiteral("郵便番号検索") &&
                        m.text.contains(seen.value_or(u"-"_qs)));
        break;
    }
    return seen;
}

inline std::optional<QString> outcomeOf(const GestureCase& c) {
    return c.outcome ? std::optional(QString::fromUtf16(c.outcome)) : std::nullopt;
}

} // namespace yubin::test
