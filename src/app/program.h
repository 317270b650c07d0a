#pragma once
// The program's life from its entry: the process hardened, one copy per logon session, and the first
// copy's application object, main window and message loop, with the exit code that says how it went.

#include <windows.h>

namespace app {

inline constexpr int kExitNoWindow = 1;  // the application window or the main window could not be created

// The whole program, as WinMain runs it: a second copy announces itself to the running one and gives 0;
// the first copy runs as RunFirstCopy says.
int Main(HINSTANCE instance);

// Runs until the main window closes and then gives 0, or gives kExitNoWindow at once when a window
// cannot be created.
int RunFirstCopy(HINSTANCE instance);

}  // namespace app
