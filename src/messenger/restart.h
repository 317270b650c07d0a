#pragma once
// Stopping every running client and starting it again, so that it reads the new setting.

#include "platform/handles.h"

#include <string>
#include <string_view>
#include <vector>

namespace messenger {

// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion "ProgramFilesDir" as 32-bit programs see it, empty when it
// cannot be read.
std::string GetProgramFilesDir();

// Stops every process whose image matches the name; what it returns lets the caller wait for their end.
std::vector<platform::UniqueHandle> TerminateProcessesByName(std::string_view name);

// A stopped client still ending would take over a new one and quit with it: wait a bounded time.
void WaitForEnd(const std::vector<platform::UniqueHandle>& processes);

// Starts the client's own executable and nothing else, even with spaces in its path.
void StartClient(const std::string& commandLine);

// The system calls through which a restart stops, waits and starts, in one table: the tests put
// recorders in their place to see the order in which they come.
struct ProcessCalls {
    decltype(&::TerminateProcess) TerminateProcess = &::TerminateProcess;
    decltype(&::WaitForSingleObject) WaitForSingleObject = &::WaitForSingleObject;
    decltype(&::CreateProcessA) CreateProcessA = &::CreateProcessA;
};
ProcessCalls& Processes();

}  // namespace messenger
