// A stand-in for the web browser: the tests register it as the open command of http and https
// addresses, so that a page the program opens ends up as a line in a log instead of in a browser.
// Each start appends one line: the show command it was started with, a tab, and its whole command line.

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("CORVAN_BROWSER_LOG", path, sizeof path);
    if (length == 0 || length >= sizeof path) return 1;

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const std::string line = std::to_string(show) + "\t" + GetCommandLineA() + "\n";

    const HANDLE log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
    return 0;
}
