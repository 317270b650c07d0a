// A stand-in for the messenger client: at start it appends its process id, the server setting it
// reads, its own path and its current directory to a log, then runs until it is stopped. With CORVAN_STANDIN_SINGLE=1 it behaves as a single
// copy, as the real client does: a copy that starts while an older one still runs logs that and quits.

#include <windows.h>

#include <string>

namespace {

std::string Environment(const char* name) {
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string ServerSetting() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\MSNMessenger", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return "(no key)";
    DWORD type = 0;
    DWORD size = 0;
    std::string value;
    if (RegQueryValueExA(key, "Server", nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        value.resize(size);
        RegQueryValueExA(key, "Server", nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size);
        value.resize(strnlen(value.c_str(), size));
    } else {
        value = "(no value)";
    }
    RegCloseKey(key);
    return value;
}

void AppendToLog(const std::string& line) {
    std::string path = Environment("CORVAN_STANDIN_LOG");
    if (path.empty()) path = "C:\\msnmsgr-standin.log";
    const HANDLE log = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string pid = std::to_string(GetCurrentProcessId());
    if (Environment("CORVAN_STANDIN_SINGLE") == "1") {
        CreateMutexA(nullptr, FALSE, "CorvanStandInClient");
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            AppendToLog(pid + "\thanded over\n");
            return 0;
        }
    }
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    AppendToLog(pid + "\t" + ServerSetting() + "\t" + path + "\t" + folder + "\n");
    for (;;) Sleep(INFINITE);
}
