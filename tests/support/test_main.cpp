// Every suite starts here: an offscreen application whose settings, data and
// cache folders are private to the run, so no test touches the real user's.
// The core's tests get a QGuiApplication (the drawers paint), the windows'
// a QApplication.

#include "support/sanitizer_options.h"

#ifdef YUBIN_TEST_WINDOWS
#include "foundation/gui/desktop_platform.h"

#include <QApplication>
#else
#include <QGuiApplication>
#endif
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

// A suite that needs other AddressSanitizer settings defines its own.
extern "C" __attribute__((weak)) const char* __asan_default_options() {
    return YUBIN_TEST_ASAN_OPTIONS;
}

extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

// Allocations the system libraries keep for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n"
           "leak:libglib-2.0.so\n";
}

int main(int argc, char** argv) {
    static QTemporaryDir home; // outlives the application
    const QByteArray base = home.path().toLocal8Bit();
    setenv("XDG_CONFIG_HOME", (base + "/config").constData(), 1);
    setenv("XDG_DATA_HOME", (base + "/data").constData(), 1);
    setenv("XDG_CACHE_HOME", (base + "/cache").constData(), 1);
    setenv("XDG_RUNTIME_DIR", (base + "/runtime").constData(), 1);
    setenv("HOME", base.constData(), 1);
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QStandardPaths::setTestModeEnabled(true);

    testing::InitGoogleTest(&argc, argv);
#ifdef YUBIN_TEST_WINDOWS
    QApplication app(argc, argv);
    yubin::installJapaneseFontSubstitutes();
#else
    QGuiApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
