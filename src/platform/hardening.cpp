#include "platform/hardening.h"

#include "platform/system_library.h"

namespace platform {
namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD kDepEnable = 0x00000001;       // PROCESS_DEP_ENABLE

}  // namespace

void RestrictDllSearchPath() {
    static_cast<void>(SetDllDirectoryW(L""));  // an empty string removes the current directory (XP SP1 and later)
    // Windows 8, and 7 and Vista with their loader update; on XP, SetDllDirectoryW has to do.
    static_cast<void>(Kernel().SetDefaultDllDirectories(kSearchSystem32));
}

void RequestDataExecutionPrevention() { static_cast<void>(Kernel().SetProcessDEPPolicy(kDepEnable)); }

}  // namespace platform
