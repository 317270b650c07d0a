#include "messenger/restart.h"

#include "messenger/client.h"
#include "messenger/registry.h"
#include "messenger/server_value.h"
#include "platform/system_library.h"

namespace messenger {
namespace {

constexpr DWORD kEndWaitMs = 5000;  // for all stopped clients together

// The 8-bit process entry, whatever the character set the headers default to (the wide one is 556 bytes,
// 568 on x86_64).
using ProcessEntry = tagPROCESSENTRY32;
static_assert(sizeof(ProcessEntry) == (sizeof(void*) == 8 ? 304 : 296));

platform::UniqueHandle StopProcess(DWORD processId) {
    // SYNCHRONIZE lets the restart wait for the end; without it the process is stopped all the same.
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!process) process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
    if (!process) return nullptr;
    static_cast<void>(Processes().TerminateProcess(process, 0));  // a process that will not stop goes on running
    return platform::UniqueHandle(process);
}

}  // namespace

ProcessCalls& Processes() {
    static ProcessCalls calls;
    return calls;
}

std::string GetProgramFilesDir() {
    // Read rights only: a standard user under UAC may not open this key for writing. The client is a
    // 32-bit program, so its folder is the one 32-bit programs are given: on 64-bit Windows the 32-bit
    // view says "Program Files (x86)" to a 64-bit build too; 32-bit Windows ignores the flag.
    const platform::UniqueKey key =
        OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", KEY_QUERY_VALUE | KEY_WOW64_32KEY);
    if (!key) return {};
    const RegistryString value = ReadRegistryString(key.get(), "ProgramFilesDir");
    return value.status == RegistryString::Found ? value.text : std::string();
}

void Client::ReadClientCommandLine() { ClientCommandLine = GetProgramFilesDir() + kClientSubPath; }

std::vector<platform::UniqueHandle> TerminateProcessesByName(std::string_view name) {
    std::vector<platform::UniqueHandle> stopped;
    // The snapshot functions are taken from kernel32 by name: without them no process is found.
    platform::Kernel32& kernel = platform::Kernel();
    const platform::UniqueHandle snapshot = platform::OwnFileHandle(kernel.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return stopped;

    ProcessEntry entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = kernel.Process32First(snapshot.get(), &entry); more; more = kernel.Process32Next(snapshot.get(), &entry)) {
        const std::string exeFile(entry.szExeFile, strnlen(entry.szExeFile, std::size(entry.szExeFile)));
        if (!ImageNameMatches(exeFile, name)) continue;
        if (platform::UniqueHandle process = StopProcess(entry.th32ProcessID)) stopped.push_back(std::move(process));
    }
    return stopped;
}

void WaitForEnd(const std::vector<platform::UniqueHandle>& processes) {
    const DWORD deadline = GetTickCount() + kEndWaitMs;
    for (const platform::UniqueHandle& process : processes) {
        const DWORD now = GetTickCount();
        const DWORD left = static_cast<LONG>(deadline - now) > 0 ? deadline - now : 0;
        Processes().WaitForSingleObject(process.get(), left);
    }
}

void StartClient(const std::string& commandLine) {
    // The path is named as the application and quoted on the command line, so that with spaces in it
    // Windows never tries "C:\Program.exe" first.
    std::string quoted = QuotedCommandLine(commandLine);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    // The client starts in its own folder, so that it finds its own DLLs first and never this program's folder's.
    const size_t folderEnd = commandLine.find_last_of('\\');
    std::string folder = folderEnd == std::string::npos ? std::string() : commandLine.substr(0, folderEnd);
    if (folder.ends_with(':')) folder += '\\';  // "C:" alone would name the drive's current directory
    PROCESS_INFORMATION started{};
    if (!Processes().CreateProcessA(commandLine.c_str(), quoted.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                    folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        return;  // a path that leads nowhere starts nothing, silently
    // The client runs on its own; its handles are not needed.
    const platform::UniqueHandle thread(started.hThread);
    const platform::UniqueHandle process(started.hProcess);
}

}  // namespace messenger
