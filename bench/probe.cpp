// Measures, under Wine or Windows, what the benchmark reports:
//   probe startup RUNS [memory] EXE CLASS [[memory] EXE CLASS ...]
//       starts the programs in turn, RUNS rounds, each time until its visible window of CLASS appears; per
//       program the median time from process creation to that window and the median private bytes after
//       start ("total<TAB>EXE<TAB>ms<TAB>bytes"), and for programs built with phase marks the median of each
//       phase: its own length, its end counted from process creation, and the private bytes it added (the
//       first phase: the bytes at its end) ("phase<TAB>EXE<TAB>ms<TAB>end ms<TAB>bytes<TAB>name", in the
//       program's order). A program after "memory" has its marks take the private bytes too, which
//       lengthens its phases; it is reported as "memory:EXE".
//   probe action CORVAN RUNS
//       median time from a click on the factory button to the restarted client's log line, beside the
//       stand-in client's own bare start and the time a stopped stand-in takes to end
// The stand-in client must sit where the program starts it, and CORVAN_STANDIN_LOG name its log.

#include "app/layout.h"
#include "platform/handles.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kSettleMs = 300;

LONGLONG Counter() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double Milliseconds(LONGLONG counts) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counts) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Now() { return Milliseconds(Counter()); }

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
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

// Looks only at the windows of the class, so that the probe asks the window server as little as it can
// while the program it times is starting.
HWND VisibleWindowOf(DWORD processId, const char* windowClass) {
    for (HWND window = FindWindowExA(nullptr, nullptr, windowClass, nullptr); window;
         window = FindWindowExA(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
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

// A program's phase marks, as its bench build writes them at exit: "counter<TAB>bytes<TAB>phase" lines.
struct PhaseMark {
    LONGLONG counter;
    double bytes;
    std::string phase;
};

std::vector<PhaseMark> ReadMarks(const std::string& path) {
    std::vector<PhaseMark> marks;
    std::ifstream log(path);
    for (std::string line; std::getline(log, line);) {
        std::istringstream fields(line);
        PhaseMark mark;
        if (fields >> mark.counter >> mark.bytes && fields.get() == '\t' && std::getline(fields, mark.phase))
            marks.push_back(mark);
    }
    return marks;
}

struct Program {
    std::string exe;
    const char* windowClass = nullptr;
    bool memoryMarks = false;
    std::vector<double> times;
    std::vector<double> memory;
    std::vector<std::string> phaseOrder;
    std::vector<std::vector<double>> phaseTimes;  // each phase's own length
    std::vector<std::vector<double>> phaseEnds;   // the time from process creation to its end
    std::vector<std::vector<double>> phaseBytes;  // the private bytes it added

    void AddPhase(const std::string& name, double ms, double end, double bytes) {
        const auto known = std::find(phaseOrder.begin(), phaseOrder.end(), name);
        const size_t index = static_cast<size_t>(known - phaseOrder.begin());
        if (known == phaseOrder.end()) {
            phaseOrder.push_back(name);
            phaseTimes.emplace_back();
            phaseEnds.emplace_back();
            phaseBytes.emplace_back();
        }
        phaseTimes[index].push_back(ms);
        phaseEnds[index].push_back(end);
        phaseBytes[index].push_back(bytes);
    }
};

void StartOnce(Program& program, const std::string& markLog) {
    DeleteFileA(markLog.c_str());
    SetEnvironmentVariableA("CORVAN_PHASE_MEMORY", program.memoryMarks ? "1" : nullptr);
    const LONGLONG started = Counter();
    const PROCESS_INFORMATION info = Start(program.exe);
    HWND window = nullptr;
    while (!(window = VisibleWindowOf(info.dwProcessId, program.windowClass))) Sleep(1);
    const LONGLONG seen = Counter();
    program.times.push_back(Milliseconds(seen - started));
    Sleep(300);
    program.memory.push_back(static_cast<double>(PrivateBytes(info.hProcess)));
    Close(info, window);
    // The desktop process and the window server go on tidying up after a program has ended (taskbar
    // button, windows, X resources); the next start waits for that, so that no run pays for the one before.
    Sleep(kSettleMs);

    LONGLONG previous = started;
    double previousBytes = 0;
    for (const PhaseMark& mark : ReadMarks(markLog)) {
        program.AddPhase(mark.phase, Milliseconds(mark.counter - previous), Milliseconds(mark.counter - started),
                         mark.bytes - previousBytes);
        previous = mark.counter;
        previousBytes = mark.bytes;
    }
}

int Startup(int runs, std::vector<Program> programs) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string markLog = std::string(temp) + "corvan-phases.log";
    SetEnvironmentVariableA("CORVAN_PHASE_LOG", markLog.c_str());
    // In turn, so that a change of the machine's load falls on every program alike.
    for (int run = 0; run < runs; ++run) {
        for (Program& program : programs) StartOnce(program, markLog);
    }
    for (const Program& program : programs) {
        const std::string name = (program.memoryMarks ? "memory:" : "") + program.exe;
        printf("total\t%s\t%.1f\t%.0f\n", name.c_str(), Median(program.times), Median(program.memory));
        for (size_t phase = 0; phase < program.phaseOrder.size(); ++phase) {
            printf("phase\t%s\t%.1f\t%.1f\t%.0f\t%s\n", name.c_str(), Median(program.phaseTimes[phase]),
                   Median(program.phaseEnds[phase]), Median(program.phaseBytes[phase]), program.phaseOrder[phase].c_str());
        }
    }
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
    // The client's folder as corvan.exe finds it: that of 32-bit programs, whatever this build's bitness.
    char programFiles[MAX_PATH] = {};
    DWORD size = sizeof programFiles - 1;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY,
                      &opened) == ERROR_SUCCESS) {
        const platform::UniqueKey key(opened);
        RegQueryValueExA(key.get(), "ProgramFilesDir", nullptr, nullptr, reinterpret_cast<BYTE*>(programFiles), &size);
    }
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
    if (mode == "startup" && argc >= 5) {
        std::vector<Program> programs;
        for (int arg = 3; arg < argc; arg += 2) {
            const bool memory = std::string(argv[arg]) == "memory";
            arg += memory;
            if (arg + 1 >= argc) break;
            Program& program = programs.emplace_back();
            program.exe = argv[arg];
            program.windowClass = argv[arg + 1];
            program.memoryMarks = memory;
        }
        return Startup(atoi(argv[2]), std::move(programs));
    }
    if (mode == "action" && argc == 4) return Action(argv[2], atoi(argv[3]));
    fprintf(stderr, "usage: probe startup RUNS [memory] EXE CLASS ... | probe action CORVAN RUNS\n");
    return 2;
}
