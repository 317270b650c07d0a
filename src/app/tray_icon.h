#pragma once
// The program's icon in the notification area: its record, put in and taken out through the shell, and put
// back when a restarted shell has forgotten it.

#include <windows.h>

#include <shellapi.h>

namespace app {

// The icon's callback message, as the program has always had it: WM_USER + 1 is also the dialog manager's
// DM_SETDEFID, which the window tells apart by its lParam, never a mouse message.
inline constexpr UINT WM_TRAYICON = WM_USER + 1;
inline constexpr UINT kTrayIconId = 105;

class TrayIcon {
public:
    TrayIcon() : m_taskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")) {}

    // Puts the icon of `window` into the notification area; false, and no icon believed shown, when no
    // notification area took it (the shell has not started yet, or has gone). An icon already there stays.
    bool Add(HWND window, HICON icon, const char* tip);
    // Takes the icon out, and the program believes it shown no longer.
    void Delete();
    // While the program believes the icon shown, the record names the window.
    bool Shown() const { return TrayIconData.hWnd != nullptr; }
    // The message a restarted shell broadcasts: its notification area has forgotten every icon.
    bool IsTaskbarCreated(UINT message) const { return message == m_taskbarCreated && m_taskbarCreated != 0; }
    // Puts the icon back after a restarted shell, while the program believes it shown.
    void Restore();

    const NOTIFYICONDATAA& Record() const { return TrayIconData; }

private:
    NOTIFYICONDATAA TrayIconData{};
    UINT m_taskbarCreated;
};

}  // namespace app
