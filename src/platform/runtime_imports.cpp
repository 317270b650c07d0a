// GCC 13 and later build the thread support of their C++ runtime for Windows Vista: libgcc's gthr-win32.o,
// which every program that can throw an exception links in, imports GetThreadId. Windows XP does not export
// it, and its loader refuses a program with an import it cannot find. Defining the import's slot here
// satisfies that reference inside the program, so kernel32 is never asked for the function by import: the
// slot leads to the system's own GetThreadId where there is one, and on XP to the same id read from ntdll.
// Older compilers do not refer to the slot, and then nothing links to it.

#include "platform/runtime_imports.h"

#include "platform/system_library.h"

namespace platform {
namespace {

constexpr THREADINFOCLASS kThreadBasicInformation = static_cast<THREADINFOCLASS>(0);

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

}  // namespace

DWORD ThreadIdFromNtdll(HANDLE thread) {
    ThreadBasicInformation information{};
    if (Nt().NtQueryInformationThread(thread, kThreadBasicInformation, &information, sizeof information, nullptr) < 0) return 0;
    return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(information.thread));
}

DWORD WINAPI ThreadId(HANDLE thread) {
    // Where the system has no GetThreadId, its stand-in gives 0, as the real one does for no thread.
    const DWORD id = Kernel().GetThreadId(thread);
    return id ? id : ThreadIdFromNtdll(thread);
}

}  // namespace platform

#if defined(__i386__)
// The slot through which the runtime calls GetThreadId, under the name the import library would give it.
extern "C" {
extern DWORD(WINAPI* const kGetThreadIdSlot)(HANDLE) __asm__("__imp__GetThreadId@4");
DWORD(WINAPI* const kGetThreadIdSlot)(HANDLE) = &platform::ThreadId;
}
#endif
