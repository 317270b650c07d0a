#pragma once
// What the process asks of the system before it does anything else: DLLs from the system folder only,
// and no code run from data.

namespace platform {

// Takes the current directory out of the DLL search path and, where the system can, lets DLLs load
// from the system folder only, so that a DLL of a system name planted in the current directory or
// beside the program (a download folder, a share) is never loaded.
void RestrictDllSearchPath();

// Data execution prevention for the rest of the process's life. Windows Vista and later take it from the
// executable's header; Windows XP SP3, whose default policy leaves it to each program, needs the request.
// Refused where it is on already or cannot be changed (a 64-bit system), which is no failure.
void RequestDataExecutionPrevention();

}  // namespace platform
