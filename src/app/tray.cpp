// The main window's life in the notification area: minimising hides it behind an icon whose menu
// brings it back, shows the current values and the credits, or ends the program.

#include "app/main_window.h"

namespace app {

void TForm1::FormSysCommand(WPARAM command, LPARAM lParam) {
    // Compared whole: only a plain SC_MINIMIZE goes to the tray.
    if (command != SC_MINIMIZE) {
        DefWindowProcW(Handle(), WM_SYSCOMMAND, command, lParam);
        return;
    }
    if (!m_tray.Add(Handle(), m_icon.get(), m_app.Title().c_str())) {
        // Hidden, the window could never be reached again: it is minimised the ordinary way, with the application.
        SendMessageW(m_app.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
    }
    ShowWindow(Handle(), SW_HIDE);
}

void TForm1::TrayIconNotify(LPARAM mouseMessage) {
    // The dialog manager's DM_SETDEFID arrives with this message number too; only mouse messages act.
    switch (mouseMessage) {
        case WM_LBUTTONDBLCLK: ShowWindow(Handle(), SW_SHOW); break;
        case WM_RBUTTONDOWN: TrackPopupMenuAtCursor(); break;
        default: break;
    }
}

void TForm1::TrackPopupMenuAtCursor() {
    SetForegroundWindow(Handle());
    POINT cursor{};
    GetCursorPos(&cursor);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(m_controls.PopupMenu(), TPM_CENTERALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                         cursor.x, cursor.y, 0, Handle(), nullptr));
    // Without a message after it, the menu may not close when the user clicks elsewhere the next time.
    PostMessageW(Handle(), WM_NULL, 0, 0);
    // The chosen item runs after the menu has closed.
    if (chosen != 0) SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

void TForm1::Abrir2Click() {
    PostMessageA(Handle(), WM_NULL, 0, 0);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    // The taskbar button stays away until the next change of a window's visibility.
    ShowWindow(m_app.Handle(), SW_HIDE);
    m_tray.Delete();
}

void TForm1::Cerrar2Click() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

void TForm1::FormClose() {
    if (m_tray.Shown()) m_tray.Delete();
}

}  // namespace app
