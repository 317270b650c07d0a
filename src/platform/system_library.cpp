#include "platform/system_library.h"

namespace platform {
namespace {

// A DLL of the system folder and its table, which holds the stand-ins until the first call binds it.
template <typename Table>
class LateLibrary {
public:
    explicit constexpr LateLibrary(const wchar_t* fileName) : m_fileName(fileName) {}

    template <typename Bind>
    Table& Bound(Bind bind) {
        if (!m_bound) {
            m_bound = true;
            const std::wstring path = SystemFilePath(m_fileName);
            if (const HMODULE module = path.empty() ? nullptr : LoadLibraryW(path.c_str())) bind(module, m_table);
        }
        return m_table;
    }

private:
    const wchar_t* m_fileName;
    Table m_table;
    bool m_bound = false;
};

// Points `function` at the DLL's export of that name; leaves the stand-in where there is none.
template <typename Function>
void Bind(HMODULE module, const char* name, Function& function) {
    if (const FARPROC found = GetProcAddress(module, name)) function = reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

#define CORVAN_BIND(name, failure) Bind(module, #name, table.name);

}  // namespace

Shell32& Shell() {
    static LateLibrary<Shell32> shell32(L"shell32.dll");
    return shell32.Bound([](HMODULE module, Shell32& table) { CORVAN_SHELL32_FUNCTIONS(CORVAN_BIND) });
}

Ws2_32& Sockets() {
    static LateLibrary<Ws2_32> ws2_32(L"ws2_32.dll");
    return ws2_32.Bound([](HMODULE module, Ws2_32& table) { CORVAN_WS2_32_FUNCTIONS(CORVAN_BIND) });
}

Kernel32& Kernel() {
    static LateLibrary<Kernel32> kernel32(L"kernel32.dll");
    return kernel32.Bound([](HMODULE module, Kernel32& table) { CORVAN_KERNEL32_FUNCTIONS(CORVAN_BIND) });
}

Ntdll& Nt() {
    static LateLibrary<Ntdll> ntdll(L"ntdll.dll");
    return ntdll.Bound([](HMODULE module, Ntdll& table) { CORVAN_NTDLL_FUNCTIONS(CORVAN_BIND) });
}

std::wstring SystemFilePath(const wchar_t* fileName) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    // Without the folder there is no safe path: an empty one loads and starts nothing.
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(folder, length) + L"\\" + fileName;
}

}  // namespace platform
