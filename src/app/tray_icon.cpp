#include "app/tray_icon.h"

#include "platform/system_library.h"

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

bool TrayIcon::Add(HWND window, HICON icon, const char* tip) {
    TrayIconData = {};
    TrayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    TrayIconData.hWnd = window;
    TrayIconData.uID = kTrayIconId;
    TrayIconData.uFlags = kTrayFlags;
    TrayIconData.uCallbackMessage = WM_TRAYICON;
    TrayIconData.hIcon = icon;
    lstrcpynA(TrayIconData.szTip, tip, static_cast<int>(std::size(TrayIconData.szTip)));
    // When the icon is already there the add fails and that one icon stays.
    if (platform::Shell().Shell_NotifyIconA(NIM_ADD, &TrayIconData) || IconShown(TrayIconData)) return true;
    TrayIconData.hWnd = nullptr;
    return false;
}

void TrayIcon::Delete() {
    static_cast<void>(platform::Shell().Shell_NotifyIconA(NIM_DELETE, &TrayIconData));
    TrayIconData.hWnd = nullptr;
}

void TrayIcon::Restore() {
    if (Shown()) static_cast<void>(platform::Shell().Shell_NotifyIconA(NIM_ADD, &TrayIconData));
}

}  // namespace app
