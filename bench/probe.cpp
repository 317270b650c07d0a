// Measures, under Wine or Windows, what the benchmark reports:
//   probe startup EXE CLASS RUNS median time from process creation to its visible window of CLASS, and its
//                                private bytes after start
//   probe action CORVAN RUNS     median time from a click on the factory button to the restarted client's
//                                log line, beside the stand-in client's own bare start and the time a
//                                stopped stand-in takes to end
// The stand-in client must sit where the program starts it, and CORVAN_STANDIN_LOG name its log.

#include "app/layout.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

double Now() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

PROCESS_INFORMATION Start(const std::string& path) {
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
    return info;
}

struct Search {
    DWORD processId;
    const char* windowClass;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (owner == search->processId && IsWindowVisible(window) && std::string(name) == search->windowClass) search->found = window;
    return TRUE;
}

HWND VisibleWindowOf(DWORD processId, const char* windowClass) {
    Search search{processId, windowClass, nullptr};
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

size_t PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Wine reports the private bytes as the page-file usage and leaves PrivateUsage at 0.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

void Close(const PROCESS_INFORMATION& info, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 0);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

int Startup(const std::string& exe, const char* windowClass, int runs) {
    std::vector<double> times;
    size_t memory = 0;
    for (int run = 0; run < runs; ++run) {
        const double started = Now();
        const PROCESS_INFORMATION info = Start(exe);
        HWND window = nullptr;
        while (!(window = VisibleWindowOf(info.dwProcessId, windowClass))) Sleep(1);
        times.push_back(Now() - started);
        Sleep(300);
        memory = PrivateBytes(info.hProcess);
        Close(info, window);
    }
    printf("%.1f %zu\n", Median(times), memory);
    return 0;
}

size_t LogLines(const std::string& path) {
    std::ifstream log(path);
    size_t lines = 0;
    for (std::string line; std::getline(log, line);) ++lines;
    return lines;
}

template <typename Done>
void WaitFor(Done done) {
    const double deadline = Now() + 10000;
    while (!done() && Now() < deadline) Sleep(1);
}

int Action(const std::string& corvan, int runs) {
    char log[MAX_PATH] = {};
    GetEnvironmentVariableA("CORVAN_STANDIN_LOG", log, MAX_PATH);
    char programFiles[MAX_PATH] = {};
    DWORD size = sizeof programFiles;
    RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", RRF_RT_REG_SZ, nullptr,
                 programFiles, &size);
    const std::string client = std::string(programFiles) + "\\MSN Messenger\\msnmsgr.exe";

    std::vector<double> bare;
    std::vector<double> stops;
    for (int run = 0; run < runs; ++run) {
        const size_t before = LogLines(log);
        const double started = Now();
        const PROCESS_INFORMATION info = Start(client);
        WaitFor([&] { return LogLines(log) > before; });
        bare.push_back(Now() - started);
        const double stopping = Now();
        TerminateProcess(info.hProcess, 0);
        WaitForSingleObject(info.hProcess, 5000);
        stops.push_back(Now() - stopping);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }

    const PROCESS_INFORMATION program = Start(corvan);
    HWND window = nullptr;
    WaitFor([&] { return (window = VisibleWindowOf(program.dwProcessId, "TForm1")) != nullptr; });
    const HWND button = GetDlgItem(window, app::kTntButton2);
    std::vector<double> actions;
    for (int run = 0; run < runs; ++run) {
        const size_t before = LogLines(log);
        const double clicked = Now();
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(app::kTntButton2, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        WaitFor([&] { return LogLines(log) > before; });
        actions.push_back(Now() - clicked);
    }
    Close(program, window);
    printf("%.1f %.1f %.1f\n", Median(actions), Median(bare), Median(stops));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc == 5) return Startup(argv[2], argv[3], atoi(argv[4]));
    if (mode == "action" && argc == 4) return Action(argv[2], atoi(argv[3]));
    fprintf(stderr, "usage: probe startup EXE CLASS RUNS | probe action CORVAN RUNS\n");
    return 2;
}
