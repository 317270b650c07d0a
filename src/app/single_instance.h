#pragma once
// One copy per logon session: a named mutex marks the running copy, and a second start announces
// itself with a registered message that brings the running copy to the front.

#include <windows.h>

namespace app {

inline constexpr char kInstanceName[] = "D10EDI";

// True when another copy already runs (the mutex existed); any other outcome counts as the first copy.
bool AnotherCopyRuns();

// The second start's whole life: let the running copy take the foreground, then announce.
void AnnounceToRunningCopy();

// The running copy's side: a procedure in front of the main window's own that answers the announcement.
// It is put in with the 8-bit SetWindowLongPtrA and calls on with CallWindowProcA, as the program has
// always hooked its window; the system converts the messages between it and the wide procedure behind.
class InstanceHook {
public:
    // The window's own bytes that the main window's class reserves for the hook, which keeps itself there.
    static constexpr int kWindowBytes = sizeof(InstanceHook*);

    // Registers the announcement and puts the hook in front of the window's own procedure.
    void Install(HWND mainWindow);
    // Gives the window its own procedure back.
    void Remove(HWND mainWindow) const;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    UINT InstanceMsg = 0;
    WNDPROC PrevMainWndProc = nullptr;
};

}  // namespace app
