#pragma once
// The system DLLs that only some actions need: shell32 (the tray icon, web pages, the regional settings)
// and ws2_32 (the lookups). Each is loaded the first time one of its functions is asked for, from the
// system folder by its full path, so that neither it nor what it loads in turn is part of start-up.

#include <windows.h>

#include <shellapi.h>
#include <winsock2.h>

namespace platform {

// One DLL of the system folder, loaded on first use and kept to the end of the process: shell32 may
// leave threads of its own running behind ShellExecute, and freeing it under them would end the process.
class SystemLibrary {
public:
    explicit constexpr SystemLibrary(const wchar_t* fileName) : m_fileName(fileName) {}
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // Points `function` at the DLL's export of that name; leaves it as it was when either is missing.
    template <typename Function>
    void Bind(const char* name, Function& function) {
        const HMODULE module = Module();
        const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
        if (found) function = reinterpret_cast<Function>(reinterpret_cast<void*>(found));
    }

private:
    HMODULE Module();

    const wchar_t* m_fileName;
    HMODULE m_module = nullptr;
    bool m_loadTried = false;
};

struct Shell32 {
    decltype(&::Shell_NotifyIconA) Shell_NotifyIconA;
    decltype(&::ShellExecuteA) ShellExecuteA;
};

// Windows Sockets 1.1.
struct Ws2_32 {
    decltype(&::WSAStartup) WSAStartup;
    decltype(&::WSACleanup) WSACleanup;
    decltype(&::inet_addr) inet_addr;
    decltype(&::inet_ntoa) inet_ntoa;
    decltype(&::gethostbyaddr) gethostbyaddr;
    decltype(&::gethostbyname) gethostbyname;
};

// The program's tables of these functions, filled on the first call. Where a DLL cannot be loaded, each
// of its functions fails as the real one does when it finds nothing. The tests swap entries to watch calls.
Shell32& Shell();
Ws2_32& Sockets();

}  // namespace platform
