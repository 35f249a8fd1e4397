#pragma once

#include <functional>

namespace yubin {

class Yubin_Main;

// The desktop program from start to end: one instance per user, the main
// window's start-up, the event loop. `shown` is called once the main window
// is on screen (the start-up benchmark stops its clock there).
int runDesktopProgram(int argc, char* argv[], const std::function<void(Yubin_Main&)>& shown = {});

} // namespace yubin
