// The main window's life in the notification area: minimising hides it behind an icon whose menu
// brings it back, shows the current values and the credits, or ends the program.

#include "app/main_window.h"
#include "platform/system_library.h"

#include <windowsx.h>

#include <iterator>

namespace app {
namespace {

constexpr UINT kTrayFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

// A modify request that changes nothing succeeds only while the notification area shows the icon.
bool IconShown(const NOTIFYICONDATAA& icon) {
    NOTIFYICONDATAA query{};
    query.cbSize = NOTIFYICONDATAA_V1_SIZE;
    query.hWnd = icon.hWnd;
    query.uID = icon.uID;
    return platform::Shell().Shell_NotifyIconA(NIM_MODIFY, &query) != FALSE;
}

}  // namespace

void TForm1::FormSysCommand(WPARAM command, LPARAM lParam) {
    // Compared whole: only a plain SC_MINIMIZE goes to the tray.
    if (command != SC_MINIMIZE) {
        DefWindowProcW(m_handle, WM_SYSCOMMAND, command, lParam);
        return;
    }
    TrayIconData = {};
    TrayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    TrayIconData.hWnd = m_handle;
    TrayIconData.uID = kTrayIconId;
    TrayIconData.uFlags = kTrayFlags;
    TrayIconData.uCallbackMessage = WM_TRAYICON;
    TrayIconData.hIcon = m_icon.get();
    lstrcpynA(TrayIconData.szTip, m_app.Title().c_str(), static_cast<int>(std::size(TrayIconData.szTip)));
    // When the icon is already there the add fails and that one icon stays.
    if (!platform::Shell().Shell_NotifyIconA(NIM_ADD, &TrayIconData) && !IconShown(TrayIconData)) {
        // No notification area took the icon (the shell has not started yet, or has gone). Hidden, the
        // window could never be reached again, so it is minimised the ordinary way, with the application.
        TrayIconData.hWnd = nullptr;
        SendMessageW(m_app.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
    }
    ShowWindow(m_handle, SW_HIDE);
}

void TForm1::TrayIconNotify(LPARAM mouseMessage) {
    // The dialog manager's DM_SETDEFID arrives with this message number too; only mouse messages act.
    switch (mouseMessage) {
        case WM_LBUTTONDBLCLK: ShowWindow(m_handle, SW_SHOW); break;
        case WM_RBUTTONDOWN: TrackPopupMenuAtCursor(); break;
        default: break;
    }
}

void TForm1::TrackPopupMenuAtCursor() {
    SetForegroundWindow(m_handle);
    POINT cursor{};
    GetCursorPos(&cursor);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(m_popupMenu.get(), TPM_CENTERALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                         cursor.x, cursor.y, 0, m_handle, nullptr));
    // Without a message after it, the menu may not close when the user clicks elsewhere the next time.
    PostMessageW(m_handle, WM_NULL, 0, 0);
    // The chosen item runs after the menu has closed.
    if (chosen != 0) SendMessageW(m_handle, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

void TForm1::Abrir2Click() {
    PostMessageA(m_handle, WM_NULL, 0, 0);
    ShowWindow(m_handle, SW_SHOW);
    SetForegroundWindow(m_handle);
    // The taskbar button stays away until the next change of a window's visibility.
    ShowWindow(m_app.Handle(), SW_HIDE);
    static_cast<void>(platform::Shell().Shell_NotifyIconA(NIM_DELETE, &TrayIconData));
    TrayIconData.hWnd = nullptr;
}

void TForm1::Cerrar2Click() { PostMessageW(m_handle, WM_CLOSE, 0, 0); }

void TForm1::FormClose() {
    if (TrayIconData.hWnd) static_cast<void>(platform::Shell().Shell_NotifyIconA(NIM_DELETE, &TrayIconData));
}

void TForm1::OnTaskbarCreated() {
    // A restarted shell has forgotten the icon: put it back while the program believes it is shown.
    if (TrayIconData.hWnd) static_cast<void>(platform::Shell().Shell_NotifyIconA(NIM_ADD, &TrayIconData));
}

}  // namespace app
