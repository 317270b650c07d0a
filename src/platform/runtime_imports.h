#pragma once
// The thread id of a thread handle, as GetThreadId gives it on Windows Vista and later, also on Windows XP,
// which lacks that function. The C++ runtime of newer compilers calls it (see runtime_imports.cpp).

#include <windows.h>

namespace platform {

// The system's GetThreadId where there is one, otherwise ThreadIdFromNtdll; 0 when the handle is no thread's.
DWORD WINAPI ThreadId(HANDLE thread);

// The same id read through ntdll, which every Windows since NT has.
DWORD ThreadIdFromNtdll(HANDLE thread);

}  // namespace platform
