#include "app/single_instance.h"

namespace app {
namespace {

// A window that does not answer within this time is skipped, so a hung program elsewhere never holds a second start.
constexpr UINT kAnnounceTimeoutMs = 2000;

}  // namespace

bool AnotherCopyRuns() {
    // The handle is deliberately never closed: the mutex marks this copy until the process ends.
    static_cast<void>(CreateMutexA(nullptr, FALSE, kInstanceName));
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

void AnnounceToRunningCopy() {
    // Without this permission Windows refuses the running copy's SetForegroundWindow and only flashes its button.
    AllowSetForegroundWindow(ASFW_ANY);
    const UINT message = RegisterWindowMessageA(kInstanceName);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG | SMTO_NORMAL, kAnnounceTimeoutMs, &ignored);
}

void InstanceHook::Install(HWND mainWindow) {
    InstanceMsg = RegisterWindowMessageA(kInstanceName);
    SetWindowLongPtrW(mainWindow, 0, reinterpret_cast<LONG_PTR>(this));
    PrevMainWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InstanceHook::Procedure)));
}

void InstanceHook::Remove(HWND mainWindow) const {
    SetWindowLongPtrA(mainWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PrevMainWndProc));
}

LRESULT CALLBACK InstanceHook::Procedure(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const auto* self = reinterpret_cast<const InstanceHook*>(GetWindowLongPtrW(hwnd, 0));
    if (uMsg == self->InstanceMsg && self->InstanceMsg != 0) {
        // The main window's owner is the application window, which restores the program as a whole.
        const HWND application = GetWindow(hwnd, GW_OWNER);
        SendMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);
        SetForegroundWindow(application);
        return 0;
    }
    return CallWindowProcA(self->PrevMainWndProc, hwnd, uMsg, wParam, lParam);
}

}  // namespace app
