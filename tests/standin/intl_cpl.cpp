// A stand-in for the Control Panel's regional and language settings (intl.cpl), which Wine does not
// have: it writes each message the Control Panel sends it to the log that CORVAN_STANDIN_CPL_LOG names,
// one line each, with the process that loaded it, and opens no window.

#include <windows.h>

#include <cpl.h>

#include <cstdio>
#include <string>

namespace {

void Log(const std::string& line) {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("CORVAN_STANDIN_CPL_LOG", path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    if (FILE* log = std::fopen(path, "a")) {
        char process[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, process, sizeof process);
        std::fprintf(log, "%s\t%s\t%s\n", process, GetCommandLineA(), line.c_str());
        std::fclose(log);
    }
}

std::string Narrow(const wchar_t* wide) {
    if (!wide) return "(none)";
    char text[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

}  // namespace

extern "C" __declspec(dllexport) LONG CALLBACK CPlApplet(HWND, UINT message, LPARAM lParam1, LPARAM lParam2) {
    switch (message) {
        case CPL_INIT: Log("init"); return TRUE;
        case CPL_GETCOUNT: return 1;
        case CPL_INQUIRE: {
            auto* info = reinterpret_cast<CPLINFO*>(lParam2);
            *info = CPLINFO{CPL_DYNAMIC_RES, CPL_DYNAMIC_RES, CPL_DYNAMIC_RES, 0};
            return 0;
        }
        case CPL_NEWINQUIRE: {
            auto* info = reinterpret_cast<NEWCPLINFOW*>(lParam2);
            *info = NEWCPLINFOW{};
            info->dwSize = sizeof *info;
            lstrcpyW(info->szName, L"Regional Settings");
            return 0;
        }
        case CPL_DBLCLK: Log("open applet " + std::to_string(lParam1)); return 0;
        case CPL_STARTWPARMSW:
            Log("open applet " + std::to_string(lParam1) + " with " + Narrow(reinterpret_cast<const wchar_t*>(lParam2)));
            return TRUE;
        case CPL_STARTWPARMSA:
            Log("open applet " + std::to_string(lParam1) + " with " +
                (lParam2 ? reinterpret_cast<const char*>(lParam2) : "(none)"));
            return TRUE;
        case CPL_EXIT: Log("exit"); return 0;
        default: return 0;
    }
}
