#pragma once
// The system functions the program looks up at run time: shell32's and ws2_32's, whose DLLs only some
// actions need, so that neither they nor what they load in turn are part of start-up; kernel32's that later
// systems than XP brought, and the process snapshot's, which the program takes by name; and ntdll's one.
// Each DLL is loaded from the system folder by its full path the first time one of its functions is asked
// for, and kept to the end of the process: shell32 may leave threads of its own running behind
// ShellExecute, and freeing it under them would crash them.

#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>
#include <winsock2.h>
#include <winternl.h>

#include <string>
#include <type_traits>

// tlhelp32.h maps these to the wide functions; the program walks the processes with the 8-bit ones.
#undef Process32First
#undef Process32Next

// Each DLL's functions, one row each: its name, and what it gives back where the DLL or the function is
// missing, which is what the real one gives when it finds nothing.
#define CORVAN_SHELL32_FUNCTIONS(F) \
    F(Shell_NotifyIconA, FALSE)     \
    F(ShellExecuteA, SE_ERR_DLLNOTFOUND)

// Windows Sockets 1.1.
#define CORVAN_WS2_32_FUNCTIONS(F) \
    F(WSAStartup, WSASYSNOTREADY)  \
    F(WSACleanup, SOCKET_ERROR)    \
    F(inet_addr, INADDR_NONE)      \
    F(inet_ntoa, 0)                \
    F(gethostbyaddr, 0)            \
    F(gethostbyname, 0)

#define CORVAN_KERNEL32_FUNCTIONS(F)      \
    F(CreateToolhelp32Snapshot, -1)       \
    F(Process32First, FALSE)              \
    F(Process32Next, FALSE)               \
    F(SetDefaultDllDirectories, FALSE)    \
    F(SetProcessDEPPolicy, FALSE)         \
    F(GetThreadId, 0)

#define CORVAN_NTDLL_FUNCTIONS(F) F(NtQueryInformationThread, kStatusNotImplemented)

namespace platform {

inline constexpr long long kStatusNotImplemented = static_cast<LONG>(0xC0000002);  // STATUS_NOT_IMPLEMENTED

// The stand-in for a function that is not there: it fails as the real one does.
template <typename Function, long long kFailure>
struct Missing;

template <typename Result, typename... Arguments, long long kFailure>
struct Missing<Result(WINAPI*)(Arguments...), kFailure> {
    static Result WINAPI Call(Arguments...) {
        if constexpr (std::is_pointer_v<Result>) {
            return reinterpret_cast<Result>(static_cast<INT_PTR>(kFailure));
        } else {
            return static_cast<Result>(kFailure);
        }
    }
};

#define CORVAN_LATE_BOUND_FIELD(name, failure) decltype(&::name) name = &Missing<decltype(&::name), failure>::Call;

// The program's tables of these functions, filled on the first call. The tests swap entries to watch calls.
struct Shell32 {
    CORVAN_SHELL32_FUNCTIONS(CORVAN_LATE_BOUND_FIELD)
};
struct Ws2_32 {
    CORVAN_WS2_32_FUNCTIONS(CORVAN_LATE_BOUND_FIELD)
};
struct Kernel32 {
    CORVAN_KERNEL32_FUNCTIONS(CORVAN_LATE_BOUND_FIELD)
};
struct Ntdll {
    CORVAN_NTDLL_FUNCTIONS(CORVAN_LATE_BOUND_FIELD)
};

#undef CORVAN_LATE_BOUND_FIELD

Shell32& Shell();
Ws2_32& Sockets();
Kernel32& Kernel();
Ntdll& Nt();

// The full path of a file in the system folder ("C:\WINDOWS\system32\rundll32.exe"), empty without the
// folder: a file of the same name planted in the current directory or beside the program is never taken.
std::wstring SystemFilePath(const wchar_t* fileName);

}  // namespace platform
