#include "main_window/gui/desktop_start.h"

#include "data_prep/bundled_data.h"
#include "foundation/gui/desktop_platform.h"
#include "foundation/gui/window_owner.h"
#include "foundation/single_instance.h"
#include "foundation/utilities.h"
#include "main_window/gui/yubin_main.h"

#include <QApplication>
#include <QTimer>

namespace yubin {

int runDesktopProgram(int argc, char* argv[], const std::function<void(Yubin_Main&)>& shown) {
    reportFileSizeLimitAsWriteError();
    QApplication app(argc, argv);
    // Ties the windows to the installed desktop entry (a Wayland app id).
    QGuiApplication::setDesktopFileName(QStringLiteral("yubin"));
    installJapaneseFontSubstitutes();
    installJapaneseQtTranslation();

    // A new user's first start opens on the bundled nationwide data.
    {
        const QString programFolder = QCoreApplication::applicationDirPath();
        QTextStream err(stderr);
        err.setEncoding(QStringConverter::Utf8);
        fillFromBundledData(DataFolder(programFolder), bundledDataFolder(programFolder), err);
    }

    DesktopPlatform desktop;
    SharedValues shared;
    WindowOwner windows(desktop.platform(QCoreApplication::applicationDirPath()), shared);
    if (!windows.main().load(SingleInstance::defaultLockPath()))
        return 0; // another instance runs: end silently
    windows.main().show();
    if (shown)
        QTimer::singleShot(0, &windows.main(), [&] { shown(windows.main()); });
    return app.exec();
}

} // namespace yubin
