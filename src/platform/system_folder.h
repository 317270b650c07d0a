#pragma once
// The system folder as the only place system files come from: a file of the same name planted in the
// current directory or beside the program (a download folder, a share) is never loaded or started.

#include <string>

namespace platform {

// The full path of a file in the system folder ("C:\WINDOWS\system32\rundll32.exe").
std::string SystemFilePath(const char* fileName);

// Takes the current directory out of the DLL search path and, where the system can, lets DLLs load
// from the system folder only. Called first thing, before anything loads a DLL by name.
void RestrictDllSearchPath();

}  // namespace platform
