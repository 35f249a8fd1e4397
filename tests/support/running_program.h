#pragma once

// The program as the window tests drive it: the stand-ins, the shared
// values, a private instance lock and the windows, started like the desktop
// program starts.

#include "main_window/window_owner.h"
#include "main_window/yubin_main.h"
#include "search/ubin_sort.h"
#include "support/fakes.h"
#include "support/list_gestures.h"

#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace yubin::test {

// The texts of a list's lines, top to bottom.
inline QStringList linesOf(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
}

// Runs the action, which shows the scan window modally, and starts the
// window's pass once it is up: offscreen a window is not activated by
// itself, so the activation is sent. `up` sees the window first. True when
// the scan window came up.
inline bool runThroughScanWindow(const std::function<void()>& action,
                                 const std::function<void(UBIN_Sort&)>& up = {}) {
    bool shown = false;
    QTimer starter; // of this frame: never fires into a later test
    starter.setSingleShot(true);
    QObject::connect(&starter, &QTimer::timeout, [&] {
        auto* scan = qobject_cast<UBIN_Sort*>(QApplication::activeModalWidget());
        if (!scan)
            return;
        shown = true;
        if (up)
            up(*scan);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(scan, &activate);
    });
    starter.start(0);
    action();
    return shown;
}

class RunningProgram : public testing::Test {
protected:
    // Runs the main window's start-up; `show` puts it on screen as well.
    Yubin_Main& start(bool show = true) {
        owner = std::make_unique<WindowOwner>(env.platform(), shared);
        EXPECT_TRUE(owner->main().load(lockPath()));
        if (show)
            owner->main().show();
        return owner->main();
    }
    QString lockPath() const { return locks.path() + QStringLiteral("/yubin.lock"); }

    TestPlatform env;
    SharedValues shared;
    QTemporaryDir locks;
    std::unique_ptr<WindowOwner> owner;
};

} // namespace yubin::test
