// The main window's controls: created from the layout with their fonts and pictures, the two lists
// filled, the popup menu, and the hints.

#include "app/controls.h"

#include "app/links.h"
#include "messenger/server_value.h"
#include "platform/phase_marks.h"
#include "platform/text.h"
#include "resource_ids.h"

#include <commctrl.h>

namespace app {
namespace {

// The window's face: "Arial Unicode MS", which came with some versions of Office, where it is installed;
// otherwise Tahoma, which every Windows from XP on has, which holds Latin, Greek, Cyrillic, Arabic and Thai
// itself, and which Windows links to its Chinese, Japanese and Korean fonts.
constexpr wchar_t kFontFace[] = L"Arial Unicode MS";
constexpr wchar_t kFallbackFace[] = L"Tahoma";
constexpr Px96 kWindowFontHeight{11};
constexpr Px96 kEdit1FontHeight{24};
constexpr Px96 kEdit2FontHeight{16};
constexpr Px96 kHintWidth{300};
constexpr int kDropDownCount = 8;  // items a drop-down list shows at once

int CALLBACK StopAtFirst(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM) { return 0; }

// Asked of the font enumeration: CreateFont gives a font of some face for any name.
bool FaceInstalled(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, static_cast<int>(std::size(wanted.lfFaceName)));
    const HDC screen = GetDC(nullptr);
    // The enumeration gives the callback's 0 when it found the face, and its own 1 when it found none.
    const bool installed = EnumFontFamiliesExW(screen, &wanted, &StopAtFirst, 0, 0) == 0;
    ReleaseDC(nullptr, screen);
    return installed;
}

platform::UniqueFont MakeFont(const wchar_t* face, int height, int weight) {
    return platform::UniqueFont(CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
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

// What each kind of control is made of; where it goes, its font and its hint come from the layout.
struct ControlClass {
    ControlKind kind;
    bool wide;  // created as a Unicode window, or as an 8-bit one
    const wchar_t* wideName;
    const char* ansiName;
    DWORD style;
    DWORD exStyle;
    bool dropDown;  // a closed box that opens its list
    bool list;      // a combo box: its items are kItemHeight high
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDropDownList = kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr ControlClass kControlClasses[] = {
    {ControlKind::Label, true, L"STATIC", nullptr, kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, false, false},
    {ControlKind::AnsiLabel, false, nullptr, "STATIC", kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, 0, false, false},
    {ControlKind::Image, true, L"STATIC", nullptr, kChild | SS_OWNERDRAW | SS_NOTIFY, 0, false, false},
    {ControlKind::Panel, true, L"STATIC", nullptr, kChild | SS_OWNERDRAW, 0, false, false},
    {ControlKind::AnsiDropDown, false, nullptr, "COMBOBOX", kDropDownList, 0, true, true},
    {ControlKind::Button, true, L"BUTTON", nullptr, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, false, false},
    {ControlKind::Edit, true, L"EDIT", nullptr, kChild | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, false, false},
    {ControlKind::DropDown, true, L"COMBOBOX", nullptr, kDropDownList, 0, true, true},
    // Never shown: the simple style keeps its list a child window, so no pop-up window is made for it.
    {ControlKind::TextStore, true, L"COMBOBOX", nullptr, WS_CHILD | CBS_SIMPLE, 0, false, true},
};

constexpr bool InKindOrder() {
    for (size_t i = 0; i < std::size(kControlClasses); ++i) {
        if (static_cast<size_t>(kControlClasses[i].kind) != i) return false;
    }
    return true;
}
static_assert(InKindOrder(), "one row per control kind, in the order of ControlKind");

}  // namespace

void Controls::Create(HWND parent, HINSTANCE instance, int dpi) {
    platform::MarkPhase("main window until WM_CREATE");
    m_dpi = dpi;
    const wchar_t* face = FaceInstalled(kFontFace) ? kFontFace : kFallbackFace;
    m_windowFont = MakeFont(face, Scale(kWindowFontHeight, dpi), FW_NORMAL);
    m_edit1Font = MakeFont(face, Scale(kEdit1FontHeight, dpi), FW_BOLD);
    m_edit2Font = MakeFont(face, Scale(kEdit2FontHeight, dpi), FW_BOLD);
    m_editBrush.reset(CreateSolidBrush(kEditBackground));
    m_hints.Create(parent, instance, Scale(kHintWidth, dpi));

    // Pictures: the help icon at the system's large-icon size in its best colour depth, the globe and the flags.
    m_helpIcon.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_HELP_PICTURE), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
    m_globe.reset(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_GLOBE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    m_images.reset(ImageList_Create(kFlagSize, kFlagSize, ILC_COLOR32, 44, 4));
    const platform::UniqueBitmap flags(
        static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_FLAGS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ImageList_Add(m_images.get(), flags.get(), nullptr);  // copies the pictures; the strip is freed here
    platform::MarkPhase("fonts, hints, icons, globe, image list");

    for (const ControlLayout& control : MainWindowLayout()) {
        if (control.id == kTntComboBox1) platform::MarkPhase("controls before the server list");
        m_handles[static_cast<size_t>(control.id - kFirstControlId)] = Create(parent, instance, control);
        if (control.id == kTntComboBox1) platform::MarkPhase("the server list");
    }
    platform::MarkPhase("the 27 text stores");
    CreatePopupMenu();
    FillLists();
}

HWND Controls::operator[](ControlId id) const {
    const int index = id - kFirstControlId;
    return index >= 0 && index < kControlCount ? m_handles[static_cast<size_t>(index)] : nullptr;
}

void Controls::FillLists() {
    SetWindowTextA((*this)[kLabel3], kMakersCaption);
    SetWindowTextA((*this)[kLabel5], kLicenseCaption);

    // The 8-bit list takes its items wide: "Català" and "Français" read right under every system code
    // page, not only under the one whose bytes they were.
    const HWND languages = (*this)[kComboBox2];
    {
        const ListFilling filling(languages, i18n::LanguageListItems().size(), 24);
        for (const char* item : i18n::LanguageListItems()) {
            SendMessageW(languages, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::FromUtf8(item).c_str()));
        }
    }
    SendMessageA(languages, CB_SETCURSEL, 0, 0);
    platform::MarkPhase("popup menu, labels, the language list");

    const HWND servers = (*this)[kTntComboBox1];
    {
        const ListFilling filling(servers, messenger::ServerList().size(), 16);
        for (const char* address : messenger::ServerList()) {
            SendMessageW(servers, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::Widen(address).c_str()));
        }
    }
    SendMessageW(servers, CB_SETCURSEL, 0, 0);  // shown, not applied
    platform::MarkPhase("filling the server list");
}

// The hint tools come last: a tool subclasses its control, and under Wine every message to a subclassed
// control then costs two window-property requests to the window server (338 list items, fonts, sizes).
void Controls::AddHints() {
    for (const ControlLayout& control : MainWindowLayout()) {
        if (control.hint) m_hints.Add((*this)[control.id]);
    }
    SetHint(kLabel3, platform::Widen(kMakersHint));
    SetHint(kLabel5, platform::Widen(kLicenseHint));
}

void Controls::SetHint(ControlId id, const std::wstring& text, i18n::ReadingOrder order) { m_hints.Set((*this)[id], text, order); }

LRESULT Controls::OnNotify(NMHDR& header) const {
    if (header.hwndFrom == m_hints.Tooltip() && header.code == NM_CUSTOMDRAW)
        return m_hints.CustomDraw(*reinterpret_cast<NMTTCUSTOMDRAW*>(&header));
    return 0;
}

void Controls::ShowFlag(int index) {
    m_flag.Show(m_images.get(), index);
    InvalidateRect((*this)[kImage2], nullptr, TRUE);
}

HWND Controls::Create(HWND parent, HINSTANCE instance, const ControlLayout& control) const {
    const ControlClass& type = kControlClasses[static_cast<size_t>(control.kind)];
    const int left = Scale(control.left, m_dpi);
    const int top = Scale(control.top, m_dpi);
    const int width = Scale(control.width, m_dpi);
    const int height = Scale(control.height, m_dpi);
    const int itemHeight = Scale(kItemHeight, m_dpi);
    // A drop-down list's window reaches down over its open list.
    const int windowHeight = type.dropDown ? height + kDropDownCount * itemHeight + 2 : height;
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id));
    const HWND created =
        type.wide ? CreateWindowExW(type.exStyle, type.wideName, L"", type.style, left, top, width, windowHeight, parent, menu, instance, nullptr)
                  : CreateWindowExA(type.exStyle, type.ansiName, "", type.style, left, top, width, windowHeight, parent, menu, instance, nullptr);
    SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(control.font)), FALSE);
    if (type.dropDown) {
        SendMessageW(created, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - 6);  // the closed box, frame included
        // Common controls 6 size the open list by this count (30 unless told), not by the window's height.
        SendMessageW(created, CB_SETMINVISIBLE, kDropDownCount, 0);
    }
    if (type.list) {
        // A combo box that does not draw its own items passes CB_SETITEMHEIGHT on to its list only when
        // it is owner-drawn (Wine), and otherwise keeps the font's height: tell the list itself.
        SendMessageW(created, CB_SETITEMHEIGHT, 0, itemHeight);
        COMBOBOXINFO parts{};
        parts.cbSize = sizeof parts;
        if (GetComboBoxInfo(created, &parts)) SendMessageW(parts.hwndList, LB_SETITEMHEIGHT, 0, itemHeight);
    }
    return created;
}

HFONT Controls::FontOf(ControlFont font) const {
    switch (font) {
        case ControlFont::Edit1: return m_edit1Font.get();
        case ControlFont::Edit2: return m_edit2Font.get();
        case ControlFont::Window: break;
    }
    return m_windowFont.get();
}

void Controls::CreatePopupMenu() {
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

}  // namespace app
