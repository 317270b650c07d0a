// The main window Form1: its class and creation, FormCreate and FormDestroy, and the one place its
// messages and commands are dispatched. Its controls, events, painting and tray life have files of their own.

#include "app/main_window.h"

#include "app/phase_marks.h"
#include "app/single_instance.h"
#include "i18n/apply.h"
#include "messenger/current_values.h"
#include "messenger/restart.h"
#include "messenger/server_value.h"
#include "platform/menu.h"
#include "platform/text.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace app {
namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;

// Every command the window answers, in one table. A menu item comes without a control, whatever its
// notification; its id is matched only among the menu's.
enum class From { Menu, Control };

struct CommandHandler {
    int id;
    From from;
    WORD notification;
    void (TForm1::*handler)();
};

constexpr CommandHandler kCommandHandlers[] = {
    {kAbrir2, From::Menu, 0, &TForm1::Abrir2Click},
    {kMSNValues1, From::Menu, 0, &TForm1::MSNValues1Click},
    {kCreditos1, From::Menu, 0, &TForm1::Creditos1Click},
    {kCerrar2, From::Menu, 0, &TForm1::Cerrar2Click},
    {kTntButton1, From::Control, BN_CLICKED, &TForm1::TntButton1Click},
    {kTntButton2, From::Control, BN_CLICKED, &TForm1::TntButton2Click},
    {kTntButton3, From::Control, BN_CLICKED, &TForm1::TntButton3Click},
    {kTntComboBox1, From::Control, CBN_SELCHANGE, &TForm1::TntComboBox1Change},
    {kComboBox2, From::Control, CBN_SELCHANGE, &TForm1::ComboBox2Click},
    {kImage2, From::Control, STN_CLICKED, &TForm1::Image2Click},
    {kTntImage1, From::Control, STN_CLICKED, &TForm1::TntImage1Click},
    {kTntImage2, From::Control, STN_CLICKED, &TForm1::TntImage2Click},
    {kLabel3, From::Control, STN_CLICKED, &TForm1::Label3Click},
    {kLabel5, From::Control, STN_CLICKED, &TForm1::Label5Click},
};

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

TForm1::TForm1(Application& application) : m_app(application) {}

TForm1::~TForm1() {
    if (m_handle) DestroyWindow(m_handle);
    // The class names m_icon, which goes with this object: a later TForm1 registers the class afresh.
    UnregisterClassW(kWindowClass, m_app.Instance());
}

bool TForm1::Create() {
    const HINSTANCE instance = m_app.Instance();
    m_icon.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_CORVAN), IMAGE_ICON, 32, 32, 0)));

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &TForm1::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = m_icon.get();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);

    m_dpi = ScreenDpi();
    const int border = Scale(kInnerBorder, m_dpi);
    RECT frame{0, 0, Scale(kClientWidth, m_dpi) + 2 * border, Scale(kClientHeight, m_dpi) + 2 * border};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    MarkPhase("main window class, icon");
    // Owned by the application window, which carries the taskbar button instead.
    CreateWindowExW(0, kWindowClass, L"", kWindowStyle, kWindowLeft, kWindowTop, frame.right - frame.left,
                    frame.bottom - frame.top, m_app.Handle(), nullptr, instance, this);
    if (!m_handle) return false;
    m_app.AddWindow(m_handle);
    return true;
}

void TForm1::Show() { ShowWindow(m_handle, SW_SHOWNORMAL); }

void TForm1::FormCreate() {
    InstanceMsg = RegisterWindowMessageA(kInstanceName);
    PrevMainWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(m_handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InstanceWndProc)));
    ShowLanguageFlag(static_cast<int>(SendMessageA(Control(kComboBox2), CB_GETCURSEL, 0, 0)));
    // A value of the wrong type is reported, and the window still comes up whole.
    if (messenger::ReadServerSetting() == messenger::ReadResult::InvalidType) {
        m_app.ShowMessage(messenger::InvalidDataTypeMessage(), MB_ICONERROR);
    }
    platform::SetMenuCaption(m_popupMenu.get(), kMSNValues1, platform::Widen(messenger::CurrentUserName() + " MSN"));
    i18n::ApplySystemLanguage(TextTargets());
    messenger::ReadClientCommandLine();
    const std::string image2Hint = platform::Narrow(platform::MenuCaption(m_popupMenu.get(), kMSNValues1));
    m_hints.Set(Control(kImage2), platform::Widen(image2Hint));
    MarkPhase("FormCreate");
}

HWND TForm1::Control(ControlId id) const {
    const auto layout = MainWindowLayout();
    const auto control = std::find_if(layout.begin(), layout.end(), [id](const ControlLayout& c) { return c.id == id; });
    const auto index = static_cast<size_t>(control - layout.begin());
    return index < m_controls.size() ? m_controls[index] : nullptr;
}

void TForm1::FormDestroy() { SetWindowLongPtrA(m_handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PrevMainWndProc)); }

void TForm1::ShowLanguageFlag(int index) {
    m_flag.Show(m_images.get(), index);
    InvalidateRect(Control(kImage2), nullptr, TRUE);
}

LRESULT TForm1::OnNotify(NMHDR& header) {
    if (header.hwndFrom == m_hints.Tooltip() && header.code == NM_CUSTOMDRAW)
        return m_hints.CustomDraw(*reinterpret_cast<NMTTCUSTOMDRAW*>(&header));
    return 0;
}

bool TForm1::OnSetCursor(HWND control) {
    if (control != Control(kLabel3) && control != Control(kLabel5) && control != Control(kTntImage2)) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

void TForm1::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const WORD notification = HIWORD(wParam);
    const From from = lParam == 0 ? From::Menu : From::Control;
    for (const CommandHandler& handler : kCommandHandlers) {
        if (handler.id != id || handler.from != from) continue;
        if (from == From::Menu || handler.notification == notification) (this->*handler.handler)();
    }
}

void TForm1::OnActivate(WPARAM state) {
    // Focus comes back to where it was, and the first time to the language list.
    if (LOWORD(state) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(m_handle, focus)) m_lastFocus = focus;
        return;
    }
    SetFocus(m_lastFocus ? m_lastFocus : Control(kComboBox2));
}

void TForm1::OnWindowPosChanged(const WINDOWPOS& position) {
    if (position.flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) m_app.UpdateVisible();
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == m_taskbarCreated && m_taskbarCreated != 0) {
        OnTaskbarCreated();
        return 0;
    }
    switch (message) {
        case WM_CREATE: CreateControls(); FormCreate(); return 0;
        case WM_NCCALCSIZE: return OnNcCalcSize(wParam, lParam);
        case WM_NCPAINT: return OnNcPaint(wParam, lParam);
        case WM_COMMAND: OnCommand(wParam, lParam); return 0;
        case WM_DRAWITEM: OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_CTLCOLOREDIT: return OnCtlColorEdit(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: return OnCtlColorText(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
            break;
        case WM_SYSCOMMAND: FormSysCommand(wParam, lParam); return 0;
        case WM_TRAYICON: TrayIconNotify(lParam); return 0;
        case WM_ACTIVATE: OnActivate(wParam); return 0;
        case WM_WINDOWPOSCHANGED: OnWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lParam)); break;
        case WM_CLOSE: FormClose(); m_app.Terminate(); return 0;
        case WM_DESTROY: FormDestroy(); return 0;
        default: break;
    }
    return DefWindowProcW(m_handle, message, wParam, lParam);
}

LRESULT CALLBACK TForm1::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_handle = window;
        self->m_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TForm1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        self->m_handle = nullptr;
        self->m_controls.clear();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // An exception must not unwind through the system's frames: the message gets the default handling.
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace app
