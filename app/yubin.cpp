#include "main_window/gui/desktop_start.h"

int main(int argc, char* argv[]) {
    return yubin::runDesktopProgram(argc, argv);
}
