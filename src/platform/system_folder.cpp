#include "platform/system_folder.h"

#include <windows.h>

namespace platform {

std::string SystemFilePath(const char* fileName) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    // Without the folder there is no safe path: an empty one starts nothing.
    if (length == 0 || length >= MAX_PATH) return {};
    return std::string(folder, length) + "\\" + fileName;
}

}  // namespace platform
