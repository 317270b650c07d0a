#include "app/main_window.h"

#include "app/links.h"
#include "app/single_instance.h"
#include "i18n/catalogue.h"
#include "messenger/current_values.h"
#include "messenger/editor.h"
#include "messenger/restart.h"
#include "messenger/server_value.h"
#include "platform/menu.h"
#include "platform/system_folder.h"
#include "platform/text.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <windowsx.h>

namespace app {
namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr wchar_t kFontFace[] = L"Arial Unicode MS";
constexpr Px96 kWindowFontHeight{11};
constexpr Px96 kEdit1FontHeight{24};
constexpr Px96 kEdit2FontHeight{16};
constexpr Px96 kHintWidth{300};
constexpr int kDropDownCount = 8;  // items a drop-down list shows at once
constexpr int kFlagSize = 16;

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

platform::UniqueFont MakeFont(int height, int weight) {
    return platform::UniqueFont(CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFontFace));
}

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// A list filled in one go: room reserved up front, and no redrawing until the last item is in.
class ListFilling {
public:
    ListFilling(HWND list, size_t items, size_t characters) : m_list(list) {
        SendMessageW(m_list, CB_INITSTORAGE, items, items * characters * sizeof(wchar_t));
        SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    }
    ~ListFilling() { SendMessageW(m_list, WM_SETREDRAW, TRUE, 0); }
    ListFilling(const ListFilling&) = delete;
    ListFilling& operator=(const ListFilling&) = delete;

private:
    HWND m_list;
};

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
    // Owned by the application window, which carries the taskbar button instead.
    CreateWindowExW(0, kWindowClass, L"", kWindowStyle, kWindowLeft, kWindowTop, frame.right - frame.left,
                    frame.bottom - frame.top, m_app.Handle(), nullptr, instance, this);
    if (!m_handle) return false;
    m_app.AddWindow(m_handle);
    return true;
}

void TForm1::Show() { ShowWindow(m_handle, SW_SHOWNORMAL); }

void TForm1::CreateControls() {
    const HINSTANCE instance = m_app.Instance();
    m_windowFont = MakeFont(Scale(kWindowFontHeight, m_dpi), FW_NORMAL);
    m_edit1Font = MakeFont(Scale(kEdit1FontHeight, m_dpi), FW_BOLD);
    m_edit2Font = MakeFont(Scale(kEdit2FontHeight, m_dpi), FW_BOLD);
    m_editBrush.reset(CreateSolidBrush(kEditBackground));
    m_hints.Create(m_handle, instance, Scale(kHintWidth, m_dpi));

    // Pictures: the help icon at the system's large-icon size in its best colour depth, the globe and the flags.
    m_helpIcon.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_HELP_PICTURE), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    m_globe.reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_GLOBE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    m_images.reset(ImageList_Create(kFlagSize, kFlagSize, ILC_COLOR32, 44, 4));
    const platform::UniqueBitmap flags(
        static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_FLAGS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ImageList_Add(m_images.get(), flags.get(), nullptr);  // copies the pictures; the strip is freed here

    for (const ControlLayout& control : MainWindowLayout()) CreateControl(control);
    CreatePopupMenu();

    SetWindowTextA(Control(kLabel3), kMakersCaption);
    m_hints.Set(Control(kLabel3), platform::Widen(kMakersHint));
    SetWindowTextA(Control(kLabel5), kLicenseCaption);
    m_hints.Set(Control(kLabel5), platform::Widen(kLicenseHint));

    // The 8-bit list takes its items wide: "Català" and "Français" read right under every system code
    // page, not only under the one whose bytes they were.
    const HWND languages = Control(kComboBox2);
    {
        const ListFilling filling(languages, i18n::LanguageListItems().size(), 24);
        for (const char* item : i18n::LanguageListItems()) {
            SendMessageW(languages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::FromUtf8(item).c_str()));
        }
    }
    SendMessageA(languages, CB_SETCURSEL, 0, 0);

    const HWND servers = Control(kTntComboBox1);
    {
        const ListFilling filling(servers, messenger::ServerList().size(), 16);
        for (const char* address : messenger::ServerList()) {
            SendMessageW(servers, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Widen(address).c_str()));
        }
    }
    SendMessageW(servers, CB_SETCURSEL, 0, 0);  // shown, not applied

    i18n::FillTextStores(TextTargets());
}

HWND TForm1::CreateControl(const ControlLayout& control) {
    const int left = Scale(control.left, m_dpi);
    const int top = Scale(control.top, m_dpi);
    const int width = Scale(control.width, m_dpi);
    const int height = Scale(control.height, m_dpi);
    const HINSTANCE instance = m_app.Instance();
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id));
    constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
    const int listHeight = height + kDropDownCount * Scale(kItemHeight, m_dpi) + 2;

    HWND created = nullptr;
    HFONT font = m_windowFont.get();
    switch (control.kind) {
        case ControlKind::Label:
            created = CreateWindowExW(0, L"STATIC", L"", kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX, left, top, width, height, m_handle, menu,
                                      instance, nullptr);
            break;
        case ControlKind::AnsiLabel:
            created = CreateWindowExA(0, "STATIC", "", kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, left, top, width, height,
                                      m_handle, menu, instance, nullptr);
            m_hints.Add(created);
            break;
        case ControlKind::Image:
            created = CreateWindowExW(0, L"STATIC", L"", kChild | SS_OWNERDRAW | SS_NOTIFY, left, top, width, height, m_handle,
                                      menu, instance, nullptr);
            if (control.id != kTntImage2) m_hints.Add(created);  // the globe never gets a hint
            break;
        case ControlKind::Panel:
            created = CreateWindowExW(0, L"STATIC", L"", kChild | SS_OWNERDRAW, left, top, width, height, m_handle, menu,
                                      instance, nullptr);
            break;
        case ControlKind::AnsiDropDown:
            created = CreateWindowExA(0, "COMBOBOX", "", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, left, top, width,
                                      listHeight, m_handle, menu, instance, nullptr);
            break;
        case ControlKind::Button:
            created = CreateWindowExW(0, L"BUTTON", L"", kChild | WS_TABSTOP | BS_PUSHBUTTON, left, top, width, height, m_handle,
                                      menu, instance, nullptr);
            m_hints.Add(created);
            break;
        case ControlKind::Edit:
            created = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", kChild | WS_TABSTOP | ES_AUTOHSCROLL, left, top, width,
                                      height, m_handle, menu, instance, nullptr);
            font = control.id == kTntEdit1 ? m_edit1Font.get() : m_edit2Font.get();
            m_hints.Add(created);
            break;
        case ControlKind::DropDown:
            created = CreateWindowExW(0, L"COMBOBOX", L"", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, left, top, width,
                                      listHeight, m_handle, menu, instance, nullptr);
            m_hints.Add(created);
            break;
        case ControlKind::TextStore:
            // Never shown: the simple style keeps its list a child window, so no pop-up window is made for it.
            created = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_SIMPLE, left, top, width, height, m_handle, menu,
                                      instance, nullptr);
            break;
    }
    SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (control.kind == ControlKind::AnsiDropDown || control.kind == ControlKind::DropDown) {
        SendMessageW(created, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - 6);  // the closed box, frame included
        // Common controls 6 size the open list by this count (30 unless told), not by the window's height.
        SendMessageW(created, CB_SETMINVISIBLE, kDropDownCount, 0);
    }
    if (control.kind == ControlKind::AnsiDropDown || control.kind == ControlKind::DropDown ||
        control.kind == ControlKind::TextStore) {
        // A combo box that does not draw its own items passes CB_SETITEMHEIGHT on to its list only when
        // it is owner-drawn (Wine), and otherwise keeps the font's height: tell the list itself.
        const int itemHeight = Scale(kItemHeight, m_dpi);
        SendMessageW(created, CB_SETITEMHEIGHT, 0, itemHeight);
        COMBOBOXINFO parts{};
        parts.cbSize = sizeof parts;
        if (GetComboBoxInfo(created, &parts)) SendMessageW(parts.hwndList, LB_SETITEMHEIGHT, 0, itemHeight);
    }
    return created;
}

void TForm1::CreatePopupMenu() {
    m_popupMenu.reset(::CreatePopupMenu());
    const HMENU menu = m_popupMenu.get();
    AppendMenuW(menu, MF_STRING, kAbrir2, L"Abrir");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);  // N2
    AppendMenuW(menu, MF_STRING, kMSNValues1, L"MSN Values");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);  // N1
    AppendMenuW(menu, MF_STRING, kCreditos1, L"Creditos");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);  // N3
    AppendMenuW(menu, MF_STRING, kCerrar2, L"Cerrar");
}

i18n::TextTargets TForm1::TextTargets() {
    i18n::TextTargets targets{};
    targets.window = m_handle;
    targets.ipPrompt = Control(kTntLabel1);
    targets.ipEdit = Control(kTntEdit1);
    targets.changeButton = Control(kTntButton1);
    targets.domainPrompt = Control(kTntLabel2);
    targets.domainEdit = Control(kTntEdit2);
    targets.serverListPrompt = Control(kTntLabel4);
    targets.serverList = Control(kTntComboBox1);
    targets.factoryButton = Control(kTntButton2);
    targets.helpImage = Control(kTntImage1);
    targets.domainButton = Control(kTntButton3);
    targets.menu = m_popupMenu.get();
    targets.openItem = kAbrir2;
    targets.closeItem = kCerrar2;
    targets.creditsItem = kCreditos1;
    for (int store = 0; store < kTextStoreCount; ++store) {
        targets.stores[static_cast<size_t>(store)] = Control(static_cast<ControlId>(kTntComboBox2 + store));
    }
    targets.setHint = [this](HWND control, const std::wstring& hint, i18n::ReadingOrder order) {
        m_hints.Set(control, hint, order);
    };
    return targets;
}

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
}

void TForm1::FormDestroy() { SetWindowLongPtrA(m_handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PrevMainWndProc)); }

std::wstring TForm1::WideText(ControlId id) const { return platform::WindowText(Control(id)); }

void TForm1::ShowWriteFailure() { m_app.ShowMessage(messenger::FailedToSetDataMessage(), MB_ICONERROR); }

// The three entry actions differ only in where the text comes from and which lookup completes it.
void TForm1::ApplyEntryFrom(ControlId source, messenger::Entry kind) {
    if (messenger::ApplyEntry(kind, platform::Narrow(WideText(source))) == messenger::ActionResult::WriteFailed) ShowWriteFailure();
}

void TForm1::TntButton1Click() { ApplyEntryFrom(kTntEdit1, messenger::Entry::Address); }

void TForm1::TntButton3Click() { ApplyEntryFrom(kTntEdit2, messenger::Entry::Domain); }

void TForm1::TntComboBox1Change() { ApplyEntryFrom(kTntComboBox1, messenger::Entry::Address); }

void TForm1::TntButton2Click() {
    if (messenger::ApplyFactoryValue() == messenger::ActionResult::WriteFailed) ShowWriteFailure();
}

void TForm1::ShowCurrentValues() {
    if (messenger::ReadServerSetting() == messenger::ReadResult::InvalidType) {
        m_app.ShowMessage(messenger::InvalidDataTypeMessage(), MB_ICONERROR);
        return;
    }
    m_app.ShowMessage(messenger::CurrentValuesMessage(), MB_OK);
}

void TForm1::Image2Click() { ShowCurrentValues(); }

void TForm1::MSNValues1Click() { ShowCurrentValues(); }

void TForm1::ComboBox2Click() {
    const HWND languages = Control(kComboBox2);
    ShowLanguageFlag(static_cast<int>(SendMessageA(languages, CB_GETCURSEL, 0, 0)));
    // Read wide: a name the system code page cannot hold would come back as other bytes and match nothing.
    const std::string itemText = platform::ToUtf8(platform::WindowText(languages));
    if (const auto set = i18n::TextSetOfName(itemText)) i18n::ApplyLanguage(*set, TextTargets());
}

void TForm1::TntImage2Click() {
    // The system's regional and language settings, at their first page, through the system's own rundll32.
    const std::string rundll32 = platform::SystemFilePath("rundll32.exe");
    if (rundll32.empty()) return;
    static_cast<void>(ShellExecuteA(m_handle, nullptr, rundll32.c_str(), "shell32.dll,Control_RunDLL intl.cpl,,0", nullptr, SW_SHOW));
}

void TForm1::TntImage1Click() { OpenPage(m_handle, kHelpPage); }

void TForm1::Label3Click() { OpenPage(m_handle, kHomePage); }

void TForm1::Label5Click() { OpenPage(m_handle, kLicensePage); }

void TForm1::Creditos1Click() { m_app.ShowMessage(CreditsText(), MB_OK); }

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
