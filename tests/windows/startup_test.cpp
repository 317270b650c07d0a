// Start-up as a single copy, the second start, a start without a window, shutdown, and the window's frame.

#include "app/program.h"
#include "app/single_instance.h"
#include "platform/runtime_imports.h"
#include "platform/system_library.h"
#include "support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace {

using namespace test;

// Each pass of the tests runs in a prefix that reports one Windows version; the pass names it.
TEST(WindowsVersion, IsTheOneThisPassRunsUnder) {
    const char* expected = std::getenv("CORVAN_WINDOWS_VERSION");
    if (!expected) GTEST_SKIP() << "no version expected: run through scripts/corvan test";
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion), expected);
}

// GetThreadId, which the program answers for its C++ runtime, gives a thread's id whichever way it reads
// it: the system's function, or ntdll's thread information where the system has none (Windows XP).
DWORD WINAPI WaitForRelease(void* event) { return WaitForSingleObject(event, INFINITE); }

TEST(RuntimeImports, ThreadIdOfAHandleIsTheThreadsOwn) {
    const platform::UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    DWORD id = 0;
    const platform::UniqueHandle thread(CreateThread(nullptr, 0, &WaitForRelease, release.get(), 0, &id));
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(platform::ThreadId(thread.get()), id);
    EXPECT_EQ(platform::ThreadIdFromNtdll(thread.get()), id);
    EXPECT_EQ(platform::ThreadIdFromNtdll(GetCurrentThread()), GetCurrentThreadId());
    EXPECT_EQ(platform::ThreadIdFromNtdll(nullptr), 0u) << "no thread";
    SetEvent(release.get());
    EXPECT_EQ(WaitForSingleObject(thread.get(), 5000), WAIT_OBJECT_0);
}

// A function looked up at run time that is not there fails as the real one does when it finds nothing;
// once its DLL is bound, each entry is the system's own function.
TEST(LateBinding, StandInsFailAsTheRealFunctionsDoUntilTheSystemsOwnAreBound) {
    const platform::Shell32 shell{};
    EXPECT_EQ(shell.ShellExecuteA(nullptr, "open", "x", nullptr, nullptr, SW_SHOW), reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND));
    EXPECT_FALSE(shell.Shell_NotifyIconA(NIM_ADD, nullptr));
    const platform::Ws2_32 sockets{};
    WSADATA data{};
    EXPECT_EQ(sockets.WSAStartup(MAKEWORD(1, 1), &data), WSASYSNOTREADY);
    EXPECT_EQ(sockets.WSACleanup(), SOCKET_ERROR);
    EXPECT_EQ(sockets.inet_addr("127.0.0.1"), INADDR_NONE);
    EXPECT_EQ(sockets.gethostbyname("localhost"), nullptr);
    const platform::Kernel32 kernel{};
    EXPECT_EQ(kernel.CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(kernel.SetProcessDEPPolicy(PROCESS_DEP_ENABLE));
    EXPECT_EQ(kernel.GetThreadId(GetCurrentThread()), 0u);
    const platform::Ntdll nt{};
    EXPECT_LT(nt.NtQueryInformationThread(GetCurrentThread(), ThreadIsIoPending, nullptr, 0, nullptr), 0);

    EXPECT_EQ(platform::Kernel().GetThreadId(GetCurrentThread()), GetCurrentThreadId());
    EXPECT_EQ(reinterpret_cast<void*>(platform::Sockets().inet_addr),
              reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ws2_32.dll"), "inet_addr")));
}

TEST(SingleCopy, SecondStartRestoresMinimisedFirstCopyAndEndsWithoutWindow) {
    Process first(CorvanExe());
    const HWND main = WaitForWindow(first.Id(), L"TForm1");
    ASSERT_NE(main, nullptr);
    const HWND application = ApplicationWindowOf(main);
    ASSERT_NE(application, nullptr);

    SendMessageA(application, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    PumpUntil([&] { return IsIconic(application) && !IsWindowVisible(main); }, 3s);
    ASSERT_TRUE(IsIconic(application));
    ASSERT_FALSE(IsWindowVisible(main));

    Process second(CorvanExe());
    bool secondShowedWindow = false;
    PumpUntil([&] {
        for (HWND window : TopLevelWindows(second.Id())) secondShowedWindow |= IsWindowVisible(window) != FALSE;
        return !second.Running();
    }, 20s);
    ASSERT_TRUE(second.WaitForExit(0ms));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_FALSE(secondShowedWindow);

    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(application) && IsWindowVisible(main); }));
    EXPECT_TRUE(first.Running());
}

TEST(SingleCopy, SecondStartLeavesHiddenWindowHidden) {
    Process first(CorvanExe());
    const HWND main = WaitForWindow(first.Id(), L"TForm1");
    ASSERT_NE(main, nullptr);
    SendMessageA(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);  // into the notification area
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(main); }));

    Process second(CorvanExe());
    ASSERT_TRUE(second.WaitForExit(20s));
    // The first copy handled the second's announcement before the second ended; what that handling
    // might still post runs in the first copy's queue, which this process cannot run dry.
    EXPECT_TRUE(HoldsThroughout(300ms, [&] { return !IsWindowVisible(main); }));
    EXPECT_TRUE(first.Running());
}

TEST(SingleCopy, HungWindowElsewhereDoesNotHoldSecondStart) {
    Process first(CorvanExe());
    ASSERT_NE(WaitForWindow(first.Id(), L"TForm1"), nullptr);

    // A top-level window whose thread stops answering.
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread hung([&] {
        const HWND window = CreateWindowExW(0, L"STATIC", L"hung", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
        SetEvent(created);
        WaitForSingleObject(release, 60000);
        DestroyWindow(window);
    });
    WaitForSingleObject(created, 5000);

    Process second(CorvanExe());
    const bool ended = second.WaitForExit(20s);
    SetEvent(release);
    hung.join();
    CloseHandle(created);
    CloseHandle(release);
    ASSERT_TRUE(ended);
    EXPECT_EQ(second.ExitCode(), 0u);
}

class Closing : public testing::TestWithParam<std::pair<UINT, WPARAM>> {};

TEST_P(Closing, EndsProcessWithExitCodeZero) {
    Process corvan(CorvanExe());
    const HWND main = WaitForWindow(corvan.Id(), L"TForm1");
    ASSERT_NE(main, nullptr);
    PostMessageA(main, GetParam().first, GetParam().second, 0);
    ASSERT_TRUE(corvan.WaitForExit(15s));
    EXPECT_EQ(corvan.ExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(ByMessage, Closing,
                         testing::Values(std::make_pair(UINT{WM_CLOSE}, WPARAM{0}), std::make_pair(UINT{WM_SYSCOMMAND}, WPARAM{SC_CLOSE})));

// The system refuses a window when a CBT hook says no to its creation, as it does when the process
// has used up its window handles: the program then ends with a failure code, not with the 0 of a
// normal end. The hook refuses one class at a time, in this thread, where the program runs here.
std::wstring g_refusedClass;
int g_refusals = 0;

LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        wchar_t name[64] = {};
        GetClassNameW(reinterpret_cast<HWND>(wParam), name, static_cast<int>(std::size(name)));
        if (g_refusedClass == name) {
            ++g_refusals;
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Should the window come up after all, its message loop ends here and the code tells.
void CALLBACK EndLoop(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

// The whole program as WinMain runs it, app::Main, in this process, where no other copy runs.
class StartFailure : public testing::TestWithParam<const wchar_t*> {};

TEST_P(StartFailure, WindowThatCannotBeCreatedEndsTheProgramWithAFailureCode) {
    g_refusedClass = GetParam();
    g_refusals = 0;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseCreation, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const UINT_PTR fallback = SetTimer(nullptr, 0, 5000, EndLoop);
    const int code = app::Main(GetModuleHandleW(nullptr));
    KillTimer(nullptr, fallback);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(g_refusals, 1);
    EXPECT_EQ(code, app::kExitNoWindow);
}

INSTANTIATE_TEST_SUITE_P(Refused, StartFailure, testing::Values(L"TApplication", L"TForm1"),
                         [](const testing::TestParamInfo<const wchar_t*>& info) {
                             return std::wstring(info.param) == L"TForm1" ? "MainWindow" : "ApplicationWindow";
                         });

// Before anything else the program takes the current directory out of the DLL search and asks for DEP.
// app::Main runs here as a second start (the test holds the running copy's mutex) and returns once it has
// announced itself.
TEST(Entry, TheProcessIsHardenedBeforeAnythingElse) {
    // A DLL of a name of its own, in the current directory only, loads by its bare name to begin with.
    const PlantedFile planted(ExeDirectory() + "\\..\\planted\\planted.dll", TempPath("corvan-planted\\planted.dll"));
    ASSERT_TRUE(planted.Planted());
    char previousDirectory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previousDirectory);
    ASSERT_TRUE(SetCurrentDirectoryA(TempPath("corvan-planted").c_str()));
    const HMODULE before = LoadLibraryA("planted.dll");
    ASSERT_NE(before, nullptr) << "the current directory is searched before the program restricts it";
    FreeLibrary(before);
    // A 64-bit process always runs with DEP, and has no policy to ask for; a 32-bit one asks.
    constexpr bool kDepIsAsked = sizeof(void*) == 4;
    DWORD depFlags = 0;
    BOOL depPermanent = TRUE;
    if constexpr (kDepIsAsked) {
        ASSERT_TRUE(GetProcessDEPPolicy(GetCurrentProcess(), &depFlags, &depPermanent));
        ASSERT_FALSE(depPermanent) << "DEP is not yet fixed for this process";
    }

    const platform::UniqueHandle runningCopy(CreateMutexA(nullptr, FALSE, app::kInstanceName));
    EXPECT_EQ(app::Main(GetModuleHandleW(nullptr)), 0);

    EXPECT_EQ(LoadLibraryA("planted.dll"), nullptr) << "loaded from the current directory";
    SetCurrentDirectoryA(previousDirectory);
    if constexpr (kDepIsAsked) {
        ASSERT_TRUE(GetProcessDEPPolicy(GetCurrentProcess(), &depFlags, &depPermanent));
        EXPECT_TRUE(depFlags & PROCESS_DEP_ENABLE);
        EXPECT_TRUE(depPermanent) << "DEP asked for stays on for the rest of the process's life";
    }
}

TEST(MainWindow, FrameCaptionSizeAndPlace) {
    ProgramWindow program;
    const HWND main = program.form.Handle();
    EXPECT_EQ(AnsiText(main), "Corvan v1.2");
    EXPECT_EQ(AnsiText(program.application.Handle()), "Corvan v1.2");

    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 243);
    EXPECT_EQ(client.bottom, 393);

    const LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);

    RECT frame{};
    GetWindowRect(main, &frame);
    EXPECT_EQ(frame.left, 251);
    EXPECT_EQ(frame.top, 63);

    // Owned by the application window, which alone carries the taskbar button.
    EXPECT_EQ(ApplicationWindowOf(main), program.application.Handle());
    EXPECT_TRUE(IsWindowVisible(program.application.Handle()));
}

}  // namespace
