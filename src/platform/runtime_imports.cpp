// GCC 13 and later build the thread support of their C++ runtime for Windows Vista: libgcc's gthr-win32.o,
// which every program that can throw an exception links in, imports GetThreadId. Windows XP does not export
// it, and its loader refuses a program with an import it cannot find. Defining the import's slot here
// satisfies that reference inside the program, so kernel32 is never asked for the function by import: the
// slot leads to the system's own GetThreadId where there is one, and on XP to the same id read from ntdll.
// Older compilers do not refer to the slot, and then nothing links to it.

#include "platform/runtime_imports.h"

namespace platform {
namespace {

using GetThreadIdFn = DWORD(WINAPI*)(HANDLE);
using QueryInformationThreadFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);

constexpr int kThreadBasicInformation = 0;

// ntdll's THREAD_BASIC_INFORMATION.
struct ThreadBasicInformation {
    LONG exitStatus;
    void* environmentBlock;
    HANDLE process;  // the CLIENT_ID: the owning process's id and the thread's own
    HANDLE thread;
    ULONG_PTR affinityMask;
    LONG priority;
    LONG basePriority;
};

template <typename Function>
Function Export(const wchar_t* module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

}  // namespace

DWORD ThreadIdFromNtdll(HANDLE thread) {
    const auto query = Export<QueryInformationThreadFn>(L"ntdll.dll", "NtQueryInformationThread");
    ThreadBasicInformation information{};
    if (!query || query(thread, kThreadBasicInformation, &information, sizeof information, nullptr) < 0) return 0;
    return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(information.thread));
}

DWORD WINAPI ThreadId(HANDLE thread) {
    const auto system = Export<GetThreadIdFn>(L"kernel32.dll", "GetThreadId");
    return system ? system(thread) : ThreadIdFromNtdll(thread);
}

}  // namespace platform

#if defined(__i386__)
// The slot through which the runtime calls GetThreadId, under the name the import library would give it.
extern "C" {
extern DWORD(WINAPI* const kGetThreadIdSlot)(HANDLE) __asm__("__imp__GetThreadId@4");
DWORD(WINAPI* const kGetThreadIdSlot)(HANDLE) = &platform::ThreadId;
}
#endif
