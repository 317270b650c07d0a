// The main window Form1: its creation from the layout, FormCreate and FormDestroy, the one place its
// messages and commands are routed, and its frame. The handlers have files of their own (events.cpp,
// tray.cpp), and so do its parts.

#include "app/main_window.h"

#include "app/language_view.h"
#include "messenger/server_value.h"
#include "platform/menu.h"
#include "platform/phase_marks.h"
#include "platform/text.h"
#include "resource_ids.h"

#include <commctrl.h>

namespace app {
namespace {

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

TForm1::TForm1(Application& application)
    : m_app(application),
      m_icon(static_cast<HICON>(LoadImageW(application.Instance(), MAKEINTRESOURCEW(IDI_CORVAN), IMAGE_ICON, 32, 32, 0))),
      m_class(application.Instance(), {.name = L"TForm1",
                                       .procedure = &TForm1::Procedure,
                                       .icon = m_icon.get(),
                                       .cursor = LoadCursorW(nullptr, IDC_ARROW),
                                       .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                       .extraBytes = InstanceHook::kWindowBytes}) {}

TForm1::~TForm1() {
    if (Handle()) DestroyWindow(Handle());
}

bool TForm1::Create() {
    m_dpi = ScreenDpi();
    const int border = Scale(kInnerBorder, m_dpi);
    RECT frame{0, 0, Scale(kClientWidth, m_dpi) + 2 * border, Scale(kClientHeight, m_dpi) + 2 * border};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    platform::MarkPhase("main window class, icon");
    // Owned by the application window, which carries the taskbar button instead.
    CreateWindowExW(0, m_class.Name(), L"", kWindowStyle, kWindowLeft, kWindowTop, frame.right - frame.left,
                    frame.bottom - frame.top, m_app.Handle(), nullptr, m_app.Instance(), this);
    if (!Handle()) return false;
    m_app.AddWindow(Handle());
    return true;
}

void TForm1::Show() { ShowWindow(Handle(), SW_SHOWNORMAL); }

void TForm1::FormCreate() {
    m_instanceHook.Install(Handle());
    ShowLanguageFlag(static_cast<int>(SendMessageA(Control(kComboBox2), CB_GETCURSEL, 0, 0)));
    // A value of the wrong type is reported, and the window still comes up whole.
    if (m_client.ReadServerSetting() == messenger::ReadResult::InvalidType) {
        m_app.ShowMessage(messenger::InvalidDataTypeMessage(), MB_ICONERROR);
    }
    platform::SetMenuCaption(m_controls.PopupMenu(), kMSNValues1, platform::Widen(messenger::CurrentUserName() + " MSN"));
    ApplySystemLanguage(Handle(), m_controls);
    m_client.ReadClientCommandLine();
    const std::string image2Hint = platform::Narrow(platform::MenuCaption(m_controls.PopupMenu(), kMSNValues1));
    m_controls.SetHint(kImage2, platform::Widen(image2Hint));
    platform::MarkPhase("FormCreate");
}

void TForm1::FormDestroy() { m_instanceHook.Remove(Handle()); }

void TForm1::ShowLanguageFlag(int index) { m_controls.ShowFlag(index); }

bool TForm1::OnSetCursor(HWND control) const {
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
        if (focus && IsChild(Handle(), focus)) m_lastFocus = focus;
        return;
    }
    SetFocus(m_lastFocus ? m_lastFocus : Control(kComboBox2));
}

LRESULT TForm1::OnCtlColorText(UINT message, HDC dc, HWND control) {
    // Wine's labels and buttons draw without reading WS_EX_RTLREADING; the DC's text alignment carries
    // the control's reading order to them.
    const bool rightToLeft = (GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
    const UINT align = GetTextAlign(dc);
    SetTextAlign(dc, rightToLeft ? align | TA_RTLREADING : align & ~TA_RTLREADING);
    return DefWindowProcW(Handle(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

LRESULT TForm1::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    // The inner border of the window lies outside its client area.
    const LRESULT result = DefWindowProcW(Handle(), WM_NCCALCSIZE, wParam, lParam);
    auto* client = reinterpret_cast<RECT*>(lParam);
    const int border = Scale(kInnerBorder, m_dpi);
    InflateRect(client, -border, -border);
    return result;
}

LRESULT TForm1::OnNcPaint(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProcW(Handle(), WM_NCPAINT, wParam, lParam);
    RECT window;
    GetWindowRect(Handle(), &window);
    RECT client;
    GetClientRect(Handle(), &client);
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    RECT ring = client;
    const int border = Scale(kInnerBorder, m_dpi);
    InflateRect(&ring, border, border);
    const HDC dc = GetWindowDC(Handle());
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    FillRect(dc, &ring, GetSysColorBrush(COLOR_BTNFACE));
    ReleaseDC(Handle(), dc);
    return result;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_tray.IsTaskbarCreated(message)) {
        m_tray.Restore();
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            m_controls.Create(Handle(), m_app.Instance(), m_dpi);
            FillTextStores(m_controls);
            platform::MarkPhase("filling the 27 text stores");
            m_controls.AddHints();
            FormCreate();
            return 0;
        case WM_NCCALCSIZE: return OnNcCalcSize(wParam, lParam);
        case WM_NCPAINT: return OnNcPaint(wParam, lParam);
        case WM_COMMAND: OnCommand(wParam, lParam); return 0;
        case WM_DRAWITEM: m_controls.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
        case WM_CTLCOLOREDIT:
            if (const HBRUSH brush = m_controls.ColourEdit(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
                return reinterpret_cast<LRESULT>(brush);
            break;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: return OnCtlColorText(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_NOTIFY: return m_controls.OnNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
            break;
        case WM_SYSCOMMAND: FormSysCommand(wParam, lParam); return 0;
        case WM_TRAYICON: TrayIconNotify(lParam); return 0;
        case WM_ACTIVATE: OnActivate(wParam); return 0;
        case WM_WINDOWPOSCHANGED:
            if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) m_app.UpdateVisible();
            break;
        case WM_CLOSE: FormClose(); m_app.Terminate(); return 0;
        case WM_DESTROY: FormDestroy(); return 0;
        case WM_NCDESTROY: m_controls.Forget(); break;
        default: break;
    }
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

}  // namespace app
