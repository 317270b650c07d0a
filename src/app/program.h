#pragma once
// The first copy's life: the application object, the main window and the message loop, and the exit
// code that says how it went.

#include <windows.h>

namespace app {

inline constexpr int kExitNoWindow = 1;  // the application window or the main window could not be created

// Runs until the main window closes and then gives 0, or gives kExitNoWindow at once when a window
// cannot be created.
int RunFirstCopy(HINSTANCE instance);

}  // namespace app
