// The recorder behind platform::MarkPhase in the benchmark's builds: each mark keeps the performance counter
// at the end of a phase, and the process's private bytes when CORVAN_PHASE_MEMORY is set (Wine reads
// them from /proc, which takes long enough to lengthen the phases, so the benchmark asks for them in
// runs of their own). At exit the marks go, one "counter<TAB>bytes<TAB>phase" line each, to the file
// that CORVAN_PHASE_LOG names; nothing is written while the program starts.

#include "platform/phase_marks.h"

#ifdef CORVAN_PHASE_MARKS

#include <windows.h>
#include <psapi.h>

#include <cstdio>

namespace platform {
namespace {

struct Mark {
    LONGLONG counter;
    SIZE_T bytes;
    const char* phase;
};

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Wine reports the private bytes as the page-file usage and leaves PrivateUsage at 0.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

class PhaseLog {
public:
    void Add(const char* phase) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (m_count == 0) m_withMemory = GetEnvironmentVariableA("CORVAN_PHASE_MEMORY", nullptr, 0) != 0;
        if (m_count < kCapacity) m_marks[m_count++] = {now.QuadPart, m_withMemory ? PrivateBytes() : 0, phase};
    }

    ~PhaseLog() {
        char path[MAX_PATH] = {};
        if (!GetEnvironmentVariableA("CORVAN_PHASE_LOG", path, MAX_PATH)) return;
        FILE* log = fopen(path, "w");
        if (!log) return;
        for (int mark = 0; mark < m_count; ++mark) {
            const Mark& m = m_marks[mark];
            fprintf(log, "%lld\t%lu\t%s\n", m.counter, static_cast<unsigned long>(m.bytes), m.phase);
        }
        fclose(log);
    }

private:
    static constexpr int kCapacity = 64;
    Mark m_marks[kCapacity]{};
    int m_count = 0;
    bool m_withMemory = false;
};

PhaseLog g_log;

}  // namespace

void MarkPhase(const char* phase) { g_log.Add(phase); }

}  // namespace platform

#endif
