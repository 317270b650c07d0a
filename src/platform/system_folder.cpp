#include "platform/system_folder.h"

#include <windows.h>

namespace platform {
namespace {

// Windows 8, and 7 and Vista with their loader update; absent on XP, where SetDllDirectoryW has to do.
using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

}  // namespace

std::string SystemFilePath(const char* fileName) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    // Without the folder there is no safe path: an empty one starts nothing.
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(folder, length) + "\\" + fileName;
}

void RestrictDllSearchPath() {
    static_cast<void>(SetDllDirectoryW(L""));  // an empty string removes the current directory (XP SP1 and later)
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto setDefault =
        reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault) static_cast<void>(setDefault(kSearchSystem32));
}

}  // namespace platform
