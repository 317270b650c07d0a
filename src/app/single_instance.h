#pragma once
// One copy per logon session: a named mutex marks the running copy, and a second start announces
// itself with a registered message that brings the running copy to the front.

#include <windows.h>

namespace app {

inline constexpr char kInstanceName[] = "D10EDI";

// Program-wide, set while the main window is created: the announcement's message id and the
// main window's own procedure, which the announcement hook chains to and gives back at the end.
extern UINT InstanceMsg;
extern WNDPROC PrevMainWndProc;

// True when another copy already runs (the mutex existed); any other outcome counts as the first copy.
bool AnotherCopyRuns();

// The second start's whole life: let the running copy take the foreground, then announce.
void AnnounceToRunningCopy();

LRESULT CALLBACK InstanceWndProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

}  // namespace app
