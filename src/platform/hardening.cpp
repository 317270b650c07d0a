#include "platform/hardening.h"

#include <windows.h>

namespace platform {
namespace {

template <typename Function>
Function Kernel32Export(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

// Windows 8, and 7 and Vista with their loader update; absent on XP, where SetDllDirectoryW has to do.
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

// Windows XP SP3 and later.
using SetProcessDepPolicyFn = BOOL(WINAPI*)(DWORD);
constexpr DWORD kDepEnable = 0x00000001;  // PROCESS_DEP_ENABLE

}  // namespace

void RestrictDllSearchPath() {
    static_cast<void>(SetDllDirectoryW(L""));  // an empty string removes the current directory (XP SP1 and later)
    if (const auto setDefault = Kernel32Export<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories")) {
        static_cast<void>(setDefault(kSearchSystem32));
    }
}

void RequestDataExecutionPrevention() {
    if (const auto setPolicy = Kernel32Export<SetProcessDepPolicyFn>("SetProcessDEPPolicy")) {
        static_cast<void>(setPolicy(kDepEnable));
    }
}

}  // namespace platform
