#pragma once

// Mouse gestures on a line of a list, sent the way the window system sends
// them, and the answering of a modal window that a gesture brings up.

#include "foundation/gui/widgets.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

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
inline void doubleClickLine(ExtentListWidget& list, int row, Qt::KeyboardModifiers modifiers = {},
                            Qt::MouseButton button = Qt::LeftButton) {
    const QPoint at = lineCentre(list, row);
    QTest::mouseClick(list.viewport(), button, modifiers, at);
    QTest::mousePress(list.viewport(), button, modifiers, at);
    QTest::mouseDClick(list.viewport(), button, modifiers, at);
    QTest::mouseRelease(list.viewport(), button, modifiers, at);
}

// Runs the action. When it brings up a modal window of type W, `inspect`
// sees the window, which is then closed. True when such a window came up.
template <typename W>
bool answerModal(const std::function<void()>& action, const std::function<void(W&)>& inspect = {}) {
    bool shown = false;
    // A timer of this frame: when no window comes up it dies unfired and
    // never reaches into a later test.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!window)
            return;
        shown = true;
        if (inspect)
            inspect(*window);
        window->close();
    });
    timer.start(0);
    action();
    return shown;
}

} // namespace yubin::test
