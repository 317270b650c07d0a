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

SystemLibrary g_shell32Library(L"shell32.dll");
SystemLibrary g_ws2_32Library(L"ws2_32.dll");
Shell32 g_shell32{&NoNotifyIcon, &NoShellExecute};
Ws2_32 g_ws2_32{&NoStartup, &NoCleanup, &NoAddress, &NoDottedAddress, &NoHostByAddress, &NoHostByName};
bool g_shell32Bound = false;
bool g_ws2_32Bound = false;

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
    if (!g_shell32Bound) {
        g_shell32Bound = true;
        g_shell32Library.Bind("Shell_NotifyIconA", g_shell32.Shell_NotifyIconA);
        g_shell32Library.Bind("ShellExecuteA", g_shell32.ShellExecuteA);
    }
    return g_shell32;
}

Ws2_32& Sockets() {
    if (!g_ws2_32Bound) {
        g_ws2_32Bound = true;
        g_ws2_32Library.Bind("WSAStartup", g_ws2_32.WSAStartup);
        g_ws2_32Library.Bind("WSACleanup", g_ws2_32.WSACleanup);
        g_ws2_32Library.Bind("inet_addr", g_ws2_32.inet_addr);
        g_ws2_32Library.Bind("inet_ntoa", g_ws2_32.inet_ntoa);
        g_ws2_32Library.Bind("gethostbyaddr", g_ws2_32.gethostbyaddr);
        g_ws2_32Library.Bind("gethostbyname", g_ws2_32.gethostbyname);
    }
    return g_ws2_32;
}

}  // namespace platform
