// The desktop program exactly as yubin starts it, ending as soon as its main
// window is on screen: what the start-up benchmark times.

#include "main_window/gui/desktop_start.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    return yubin::runDesktopProgram(argc, argv,
                                    [](yubin::Yubin_Main&) { QCoreApplication::quit(); });
}
