#include "platform/system_library.h"

#include <string>

namespace platform {
namespace {

BOOL WINAPI NoNotifyIcon(DWORD, PNOTIFYICONDATAA) { return FALSE; }
HINSTANCE WINAPI NoShellExecute(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) {
    return reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
}
int WINAPI NoStartup(WORD, LPWSADATA) { return WSASYSNOTREADY; }
int WINAPI NoCleanup() { return SOCKET_ERROR; }
unsigned long WINAPI NoAddress(const char*) { return INADDR_NONE; }
char* WINAPI NoDottedAddress(in_addr) { return nullptr; }
hostent* WINAPI NoHostByAddress(const char*, int, int) { return nullptr; }
hostent* WINAPI NoHostByName(const char*) { return nullptr; }

// A DLL and its table, which holds the failing stand-ins until the first call binds it.
template <typename Table>
struct LateLibrary {
    SystemLibrary library;
    Table table;
    bool bound = false;
};

LateLibrary<Shell32> g_shell32{SystemLibrary(L"shell32.dll"), {&NoNotifyIcon, &NoShellExecute}};
LateLibrary<Ws2_32> g_ws2_32{SystemLibrary(L"ws2_32.dll"),
                             {&NoStartup, &NoCleanup, &NoAddress, &NoDottedAddress, &NoHostByAddress, &NoHostByName}};

}  // namespace

HMODULE SystemLibrary::Module() {
    if (m_loadTried) return m_module;
    m_loadTried = true;
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + m_fileName;
    m_module = LoadLibraryW(path.c_str());
    return m_module;
}

Shell32& Shell() {
    if (!g_shell32.bound) {
        g_shell32.bound = true;
        g_shell32.library.Bind("Shell_NotifyIconA", g_shell32.table.Shell_NotifyIconA);
        g_shell32.library.Bind("ShellExecuteA", g_shell32.table.ShellExecuteA);
    }
    return g_shell32.table;
}

Ws2_32& Sockets() {
    if (!g_ws2_32.bound) {
        g_ws2_32.bound = true;
        SystemLibrary& library = g_ws2_32.library;
        Ws2_32& table = g_ws2_32.table;
        library.Bind("WSAStartup", table.WSAStartup);
        library.Bind("WSACleanup", table.WSACleanup);
        library.Bind("inet_addr", table.inet_addr);
        library.Bind("inet_ntoa", table.inet_ntoa);
        library.Bind("gethostbyaddr", table.gethostbyaddr);
        library.Bind("gethostbyname", table.gethostbyname);
    }
    return g_ws2_32.table;
}

}  // namespace platform
