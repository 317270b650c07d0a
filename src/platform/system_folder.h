#pragma once
// The system folder as the only place system files come from: a file of the same name planted in the
// current directory or beside the program is never started.

#include <string>

namespace platform {

// The full path of a file in the system folder ("C:\WINDOWS\system32\rundll32.exe").
std::string SystemFilePath(const char* fileName);

}  // namespace platform
