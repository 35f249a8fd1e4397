#include "foundation/gui/desktop_platform.h"
#include "foundation/single_instance.h"
#include "main_window/window_owner.h"
#include "main_window/yubin_main.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    yubin::installJapaneseFontSubstitutes();

    yubin::DesktopPlatform desktop;
    yubin::SharedValues shared;
    yubin::WindowOwner windows(desktop.platform(QCoreApplication::applicationDirPath()), shared);
    if (!windows.main().load(yubin::SingleInstance::defaultLockPath()))
        return 0; // another instance runs
    windows.main().show();
    return app.exec();
}
