#pragma once
// Marks at the ends of the start-up phases, for the benchmark's breakdown. Only the benchmark's own build
// of the program (corvan_phases.exe, CORVAN_PHASE_MARKS) records them; in corvan.exe a mark is an empty
// inline function, phase_marks.cpp compiles to nothing, and no code is left of either.

namespace platform {

#ifdef CORVAN_PHASE_MARKS
// Records the time at which the named phase ended.
void MarkPhase(const char* phase);
#else
inline void MarkPhase(const char*) {}
#endif

}  // namespace platform
