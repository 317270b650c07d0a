// The main window as built: every control's class, place and look, the two lists and the hidden text
// stores, the keyboard order, the fields' names for screen readers, the flag box and the other
// pictures, the hints, the popup menu, and the executable's version resource, manifest and icons.

#include "support.h"

#include "app/links.h"
#include "i18n/catalogue.h"
#include "messenger/client.h"
#include "messenger/server_value.h"
#include "platform/text.h"
#include "resource_ids.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <climits>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>

namespace {

using namespace test;
using app::ControlId;
using app::ControlKind;

RECT RectInClient(HWND control, HWND window) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::string UserName() {
    char name[256] = {};
    DWORD size = sizeof name;
    GetUserNameA(name, &size);
    return name;
}

const char* NameOf(HWND control) {
    const int id = GetDlgCtrlID(control);
    for (const app::ControlLayout& layout : app::MainWindowLayout()) {
        if (layout.id == id) return layout.name;
    }
    return control ? "(not a control of the layout)" : "(no control)";
}

// ---------------------------------------------------------------------------------------------------
// Controls: class, place, size and look at 96 dpi.

struct KindLook {
    ControlKind kind;
    const char* className;
    bool visible;
    bool tabStop;
    bool wide;  // fed UTF-16; the 8-bit ones are fed system code page text through the A functions
};

constexpr KindLook kKindLooks[] = {
    {ControlKind::Label, "Static", true, false, true},
    {ControlKind::AnsiLabel, "Static", true, false, false},
    {ControlKind::Image, "Static", true, false, true},
    {ControlKind::Panel, "Static", true, false, true},
    {ControlKind::AnsiDropDown, "ComboBox", true, true, false},
    {ControlKind::Button, "Button", true, true, true},
    {ControlKind::Edit, "Edit", true, true, true},
    {ControlKind::DropDown, "ComboBox", true, true, true},
    {ControlKind::TextStore, "ComboBox", false, false, true},
};

const KindLook& LookOf(ControlKind kind) {
    for (const KindLook& look : kKindLooks) {
        if (look.kind == kind) return look;
    }
    throw std::logic_error("kind without a row");
}

TEST(WindowControls, EveryControlHasItsClassPlaceAndSizeAt96Dpi) {
    ProgramWindow program;
    const HWND main = program.form.Handle();
    ASSERT_EQ(ScreenDpi(), 96) << "the layout's own resolution";
    int controls = 0;
    for (const app::ControlLayout& layout : app::MainWindowLayout()) {
        SCOPED_TRACE(layout.name + std::string(" #") + std::to_string(layout.id));
        const KindLook& look = LookOf(layout.kind);
        const HWND control = program.Control(layout.id);
        ASSERT_NE(control, nullptr);
        ++controls;
        EXPECT_EQ(GetParent(control), main);
        EXPECT_EQ(ClassNameOf(control), look.className);
        EXPECT_EQ(IsWindowVisible(control) != FALSE, look.visible);
        EXPECT_EQ((GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) != 0, look.tabStop);
        // Wine answers TRUE for every window of a system class, whichever function created it, so only
        // the wide ones can be told apart; the 8-bit lists and labels are checked by their texts.
        if (look.wide) {
            EXPECT_TRUE(IsWindowUnicode(control));
        }
        const RECT rect = RectInClient(control, main);
        EXPECT_EQ(rect.left, layout.left.value);
        EXPECT_EQ(rect.top, layout.top.value);
        EXPECT_EQ(rect.right - rect.left, layout.width.value);
        EXPECT_EQ(rect.bottom - rect.top, layout.height.value);
    }
    EXPECT_EQ(controls, 19 + 27);
    // Ids 1 and 2 would take Enter and Escape from the dialog manager.
    EXPECT_EQ(GetDlgItem(main, IDOK), nullptr);
    EXPECT_EQ(GetDlgItem(main, IDCANCEL), nullptr);
}

// The two 8-bit labels read as one line: the makers' name and ", ", then the licence notice.
TEST(WindowControls, BottomLabelsReadTheMakersAndTheLicence) {
    ProgramWindow program;
    const std::string text = AnsiText(program.Control(app::kLabel3));
    EXPECT_EQ(text, app::kMakersCaption);
    EXPECT_EQ(text.substr(text.size() - 2), ", ");
    EXPECT_EQ(AnsiText(program.Control(app::kLabel5)), app::kLicenseCaption);
    const RECT makers = RectInClient(program.Control(app::kLabel3), program.form.Handle());
    const RECT licence = RectInClient(program.Control(app::kLabel5), program.form.Handle());
    EXPECT_EQ(licence.left, makers.right);
    EXPECT_EQ(licence.top, makers.top);
}

TEST(WindowControls, DropDownListsAreClosedAt23WithItemsOf15) {
    ProgramWindow program;
    for (const ControlId id : {app::kComboBox2, app::kTntComboBox1}) {
        const HWND combo = program.Control(id);
        SCOPED_TRACE(NameOf(combo));
        EXPECT_EQ(GetWindowLongW(combo, GWL_STYLE) & 0x3, CBS_DROPDOWNLIST) << "no typing";
        RECT rect{};
        GetWindowRect(combo, &rect);
        EXPECT_EQ(rect.bottom - rect.top, 23);
        EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), 15);
        EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    }
}

TEST(WindowControls, OpenDropDownListsShowEightItems) {
    ProgramWindow program;
    for (const ControlId id : {app::kComboBox2, app::kTntComboBox1}) {
        const HWND combo = program.Control(id);
        SCOPED_TRACE(NameOf(combo));
        COMBOBOXINFO parts{};
        parts.cbSize = sizeof parts;
        ASSERT_TRUE(GetComboBoxInfo(combo, &parts));
        SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
        PumpUntil([&] { return IsWindowVisible(parts.hwndList) != FALSE; });
        EXPECT_TRUE(IsWindowVisible(parts.hwndList));
        RECT list{};
        GetClientRect(parts.hwndList, &list);
        EXPECT_EQ(list.bottom / 15, 8) << "list " << list.bottom << " high";
        RECT box{};
        RECT open{};
        GetWindowRect(combo, &box);
        GetWindowRect(parts.hwndList, &open);
        EXPECT_EQ(open.top, box.bottom) << "opens below the box";
        SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
        PumpUntil([&] { return !IsWindowVisible(parts.hwndList); });
    }
}

TEST(WindowControls, FontsAreArialUnicodeMsInTheirSizesAndWeights) {
    ProgramWindow program;
    // Edits have their own sizes; every other control with text takes the window font.
    const std::map<int, std::pair<int, int>> own = {{app::kTntEdit1, {24, FW_BOLD}}, {app::kTntEdit2, {16, FW_BOLD}}};
    for (const app::ControlLayout& layout : app::MainWindowLayout()) {
        if (layout.kind == ControlKind::Image || layout.kind == ControlKind::Panel) continue;
        SCOPED_TRACE(layout.name);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(program.Control(layout.id), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW logFont{};
        ASSERT_EQ(GetObjectW(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
        const auto expected = own.contains(layout.id) ? own.at(layout.id) : std::make_pair(11, FW_NORMAL);
        EXPECT_EQ(logFont.lfHeight, -expected.first) << "pixels, as character height";
        EXPECT_EQ(logFont.lfWeight, expected.second);
        EXPECT_EQ(std::wstring(logFont.lfFaceName), L"Arial Unicode MS") << "the horizontal face, without the \"@\"";
        EXPECT_EQ(logFont.lfCharSet, ANSI_CHARSET);
        EXPECT_FALSE(logFont.lfItalic);
    }
}

TEST(WindowControls, EditFieldsAreYellowAndAquaOnBlack) {
    ProgramWindow program;
    const struct {
        ControlId id;
        COLORREF text;
    } rows[] = {{app::kTntEdit1, RGB(255, 255, 0)}, {app::kTntEdit2, RGB(0, 255, 255)}};
    const platform::UniqueDc dc(CreateCompatibleDC(nullptr));
    for (const auto& row : rows) {
        const HWND edit = program.Control(row.id);
        SCOPED_TRACE(NameOf(edit));
        const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
            program.form.Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(edit)));
        ASSERT_NE(brush, nullptr);
        LOGBRUSH logBrush{};
        GetObjectW(brush, sizeof logBrush, &logBrush);
        EXPECT_EQ(logBrush.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(logBrush.lbColor, RGB(0, 0, 0));
        EXPECT_EQ(GetTextColor(dc.get()), row.text);
        EXPECT_EQ(GetBkColor(dc.get()), RGB(0, 0, 0));
        // The same brush every time: owned for the window's lifetime, not made per paint.
        EXPECT_EQ(SendMessageW(program.form.Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                               reinterpret_cast<LPARAM>(edit)),
                  reinterpret_cast<LRESULT>(brush));
    }
}

// Each separator bar: an outer and an inner lowered bevel, shadow above and left, highlight below and right.
TEST(WindowControls, SeparatorBarsShowTwoLoweredBevels) {
    ProgramWindow program;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(shadow, highlight);
    const auto expected = [&](int x, int y, int w, int h) {
        // DrawEdge's lowered frame: the right and bottom lines own the corners they share with the others.
        const auto frame = [&](int inset, COLORREF& colour) {
            const int right = w - 1 - inset;
            const int bottom = h - 1 - inset;
            if (x < inset || y < inset || x > right || y > bottom) return false;
            if (x == right || y == bottom)
                colour = highlight;
            else if (x == inset || y == inset)
                colour = shadow;
            else
                return false;
            return true;
        };
        COLORREF colour = face;
        if (!frame(0, colour)) frame(1, colour);
        return colour;
    };
    for (const ControlId id : {app::kPanel1, app::kPanel2, app::kPanel3, app::kPanel4}) {
        const HWND panel = program.Control(id);
        SCOPED_TRACE(NameOf(panel));
        const Picture shown = PrintedClient(panel, RGB(255, 0, 255));
        ASSERT_GT(shown.width, 0);
        int wrong = 0;
        for (int y = 0; y < shown.height; ++y) {
            for (int x = 0; x < shown.width; ++x) {
                if (shown.At(x, y) != expected(x, y, shown.width, shown.height) && wrong++ < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << shown.At(x, y);
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_EQ(WideText(panel), L"") << "no caption";
    }
}

// ---------------------------------------------------------------------------------------------------
// The lists and the hidden text stores.

TEST(WindowLists, LanguageListHoldsFortyEightBitNamesWithThePromptSelected) {
    ProgramWindow program;
    const HWND languages = program.Control(app::kComboBox2);
    // clang-format off
    const char* const expected[] = {
        "Select other language:", "Arabic", "Balear-Catal\xE0-Valenci\xE0", "Brazilian", "Bulgarian", "Chinese", "Croatian",
        "Czech", "Danish", "Deutsch", "Dutch", "English", "Esperanto", "Euskera", "Filipino", "Finnish", "Fran\xE7" "ais",
        "Galego", "Greek", "Hungarian", "Icelandic", "Irish Gaelic", "Italiano", "Japanese", "Korean", "Latin", "Norwegian",
        "Polish", "Portuguese", "Romanian", "Russian", "Serbian", "Simplified Chinese", "Slovenian", "Spanish Spain",
        "Spanish Argentina", "Swedish", "Thai", "Turkish", "Welsh",
    };
    // clang-format on
    ASSERT_EQ(SendMessageA(languages, CB_GETCOUNT, 0, 0), 40);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(AnsiItem(languages, i), expected[i]) << "item " << i;
    EXPECT_EQ(SendMessageA(languages, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(AnsiText(languages), "Select other language:");
    // Added wide, the accented names read right whatever the system code page, here 1252, whose
    // bytes the 8-bit items above are (SystemCodePage tests the others).
    EXPECT_EQ(WideItem(languages, 2), L"Balear-Catal\u00E0-Valenci\u00E0");
    EXPECT_EQ(WideItem(languages, 16), L"Fran\u00E7ais");
}

TEST(WindowLists, ServerListHoldsTheAddressesInOrderWithTheFirstSelectedButNotApplied) {
    // The client is set up with a value of its own: showing the list must not write or restart anything.
    CreateClientKey();
    SetServerValue("before.example;192.0.2.1:1863");
    InstallStandIn();
    {
        ProgramWindow program;
        RunQueuedMessages();  // a start would have happened by now, and the started client would be listed
        const HWND servers = program.Control(app::kTntComboBox1);
        const auto addresses = messenger::ServerList();
        ASSERT_EQ(addresses.size(), 338u);
        ASSERT_EQ(SendMessageW(servers, CB_GETCOUNT, 0, 0), 338);
        for (int i = 0; i < 338; ++i)
            EXPECT_EQ(WideItem(servers, i), platform::Widen(addresses[static_cast<size_t>(i)])) << "item " << i;
        EXPECT_EQ(SendMessageW(servers, CB_GETCURSEL, 0, 0), 0);
        EXPECT_EQ(WideText(servers), platform::Widen(addresses[0]));
    }
    EXPECT_EQ(ServerValue(), "before.example;192.0.2.1:1863");
    EXPECT_TRUE(ProcessesNamed("msnmsgr.exe").empty()) << "the client was started";
    EXPECT_TRUE(StandInLog().empty()) << "the client was started";
}

TEST(WindowLists, TextStoresAreHiddenUnfocusableAndHoldTwelveTextsEach) {
    ProgramWindow program;
    std::map<int, i18n::TextSet> setOfStore;
    for (int set = 0; set < i18n::kTextSetCount; ++set) {
        if (const auto store = i18n::StoreOf(static_cast<i18n::TextSet>(set)))
            setOfStore[*store] = static_cast<i18n::TextSet>(set);
    }
    ASSERT_EQ(setOfStore.size(), 27u);
    for (int store = 0; store < i18n::kTextStoreCount; ++store) {
        const HWND combo = program.Control(static_cast<ControlId>(app::kTntComboBox2 + store));
        SCOPED_TRACE("TntComboBox" + std::to_string(store + 2));
        ASSERT_NE(combo, nullptr);
        EXPECT_FALSE(IsWindowVisible(combo));
        EXPECT_FALSE(GetWindowLongW(combo, GWL_STYLE) & WS_TABSTOP);
        EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), 15);
        ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 12);
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
        const Slots slots = SlotTexts(setOfStore.at(store));
        for (int slot = 0; slot < 12; ++slot) EXPECT_EQ(WideItem(combo, slot), slots[slot]) << "slot " << slot;
    }
}

// ---------------------------------------------------------------------------------------------------
// Keyboard.

constexpr ControlId kTabOrder[] = {app::kComboBox2, app::kTntButton1, app::kTntButton2,  app::kTntButton3,
                                   app::kTntEdit1,  app::kTntEdit2,   app::kTntComboBox1};

TEST(WindowKeyboard, FirstActivationFocusesTheLanguageList) {
    ProgramWindow program;
    EXPECT_STREQ(NameOf(GetFocus()), "ComboBox2");
}

TEST(WindowKeyboard, ProgramStartsWithTheFocusOnTheLanguageList) {
    Process corvan(CorvanExe());
    const HWND main = WaitForWindow(corvan.Id(), L"TForm1");
    ASSERT_NE(main, nullptr);
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    const bool focused = PumpUntil([&] { return FocusOf(thread) == GetDlgItem(main, app::kComboBox2); }, 5s);
    EXPECT_TRUE(focused) << "focus on " << NameOf(FocusOf(thread));
}

TEST(WindowKeyboard, DialogManagerOrderWrapsBothWays) {
    ProgramWindow program;
    const HWND main = program.form.Handle();
    const size_t count = std::size(kTabOrder);
    for (size_t i = 0; i < count; ++i) {
        const HWND from = program.Control(kTabOrder[i]);
        EXPECT_EQ(GetNextDlgTabItem(main, from, FALSE), program.Control(kTabOrder[(i + 1) % count]))
            << "Tab from " << NameOf(from) << " goes to " << NameOf(GetNextDlgTabItem(main, from, FALSE));
        EXPECT_EQ(GetNextDlgTabItem(main, from, TRUE), program.Control(kTabOrder[(i + count - 1) % count]))
            << "Shift+Tab from " << NameOf(from) << " goes to " << NameOf(GetNextDlgTabItem(main, from, TRUE));
    }
}

// Real key presses through the program's own message loop and its dialog manager.
TEST(WindowKeyboard, TabAndShiftTabKeysMoveThroughSevenControlsAndWrap) {
    ProgramWindow program;
    const HWND main = program.form.Handle();
    ASSERT_EQ(GetForegroundWindow(), main) << "the keys would go elsewhere";
    ASSERT_EQ(GetFocus(), program.Control(app::kComboBox2));
    const size_t count = std::size(kTabOrder);
    for (const bool shift : {false, true}) {
        for (size_t step = 1; step <= count; ++step) {
            const size_t at = shift ? (count - step % count) % count : step % count;
            const HWND expected = program.Control(kTabOrder[at]);
            const HWND before = GetFocus();
            PressKeys(shift ? std::vector<WORD>{VK_SHIFT, VK_TAB} : std::vector<WORD>{VK_TAB});
            RunLoopUntil(
                program.application, [&] { return GetFocus() != before; }, 2s);
            EXPECT_EQ(GetFocus(), expected) << (shift ? "Shift+Tab" : "Tab") << " from " << NameOf(before) << " went to "
                                            << NameOf(GetFocus()) << ", not " << NameOf(expected);
        }
    }
}

TEST(WindowKeyboard, EnterAndEscapeInTheEditFieldsDoNothing) {
    CreateClientKey();
    SetServerValue("before.example;192.0.2.1:1863");
    InstallStandIn();
    {
        ProgramWindow program;
        BoxRecorder boxes;
        const HWND main = program.form.Handle();
        ASSERT_EQ(GetForegroundWindow(), main) << "the keys would go elsewhere";
        for (const ControlId id : {app::kTntEdit1, app::kTntEdit2}) {
            for (const WORD key : {WORD{VK_RETURN}, WORD{VK_ESCAPE}}) {
                const HWND edit = program.Control(id);
                SCOPED_TRACE(std::string(NameOf(edit)) + (key == VK_RETURN ? " Enter" : " Escape"));
                SetFocus(edit);
                SetWindowTextW(edit, L"192.0.2.7");
                PressKeys({key});
                RunLoopUntilIdle(program.application);
                EXPECT_TRUE(IsWindowVisible(main));
                EXPECT_EQ(GetFocus(), edit);
                EXPECT_EQ(WideText(edit), L"192.0.2.7");
            }
        }
        EXPECT_TRUE(boxes.Boxes().empty());
    }
    EXPECT_EQ(ServerValue(), "before.example;192.0.2.1:1863");
    EXPECT_TRUE(ProcessesNamed("msnmsgr.exe").empty()) << "the client was started";
    EXPECT_TRUE(StandInLog().empty()) << "the client was started";
}

// ---------------------------------------------------------------------------------------------------
// Screen readers.

// The name a screen reader gets for the control, through the accessibility interface.
std::wstring AccessibleName(HWND control) {
    IAccessible* accessible = nullptr;
    // The interface's id from the header: a static x86_64 link resolves IID_IAccessible to oleacc's
    // import thunk, and the call then asks for an interface of the thunk's bytes.
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&accessible))))
        return L"(no accessible object)";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT result = accessible->get_accName(self, &name);
    accessible->Release();
    std::wstring text = result == S_OK && name ? std::wstring(name, SysStringLen(name)) : L"(no name)";
    SysFreeString(name);
    return text;
}

// A field's name is the static text just before it in the window order. Wine's oleacc names an edit
// box that way but a combo box by its own text, so the server list's prompt is checked by the order alone.
TEST(WindowAccessibility, EachFieldComesRightAfterItsPromptAndIsNamedByIt) {
    CoInitialize(nullptr);
    {
        ProgramWindow program;
        std::vector<std::string> windowOrder;
        for (HWND child = GetWindow(program.form.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            windowOrder.push_back(NameOf(child));
        std::vector<std::string> layoutOrder;
        for (const app::ControlLayout& layout : app::MainWindowLayout()) layoutOrder.push_back(layout.name);
        EXPECT_EQ(windowOrder, layoutOrder);

        const struct {
            ControlId prompt, field;
            bool namedByOleacc;
        } fields[] = {{app::kTntLabel1, app::kTntEdit1, true},
                      {app::kTntLabel2, app::kTntEdit2, true},
                      {app::kTntLabel4, app::kTntComboBox1, false}};
        for (const int language : {-1, 23 /* Japanese */}) {
            if (language >= 0) PickLanguage(program, language);
            for (const auto& row : fields) {
                const HWND field = program.Control(row.field);
                SCOPED_TRACE(std::string(NameOf(field)) + (language < 0 ? " in the start language" : " in Japanese"));
                EXPECT_STREQ(NameOf(GetWindow(field, GW_HWNDPREV)), NameOf(program.Control(row.prompt)));
                if (!row.namedByOleacc) continue;
                const std::wstring prompt = WideText(program.Control(row.prompt));
                ASSERT_FALSE(prompt.empty());
                EXPECT_EQ(AccessibleName(field), prompt);
            }
        }
    }
    CoUninitialize();
}

// ---------------------------------------------------------------------------------------------------
// The flag box, the globe and the help picture.

constexpr int kFlag = 16;
constexpr COLORREF kMagenta = RGB(255, 0, 255);  // in no picture: a ground that shows what a picture leaves out

Picture StripPicture(int index) {
    const platform::UniqueBitmap strip(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_FLAGS), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    const Picture whole = PictureOf(strip.get());
    Picture picture{kFlag, kFlag, {}};
    for (int y = 0; y < kFlag; ++y) {
        for (int x = 0; x < kFlag; ++x) picture.pixels.push_back(whole.At(index * kFlag + x, y));
    }
    return picture;
}

// The first few differing pixels, for the failure message.
std::string Differences(const Picture& shown, const Picture& expected) {
    if (shown.width != expected.width || shown.height != expected.height)
        return "size " + std::to_string(shown.width) + "x" + std::to_string(shown.height) + " instead of " +
               std::to_string(expected.width) + "x" + std::to_string(expected.height);
    std::string text;
    int count = 0;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            if (shown.At(x, y) == expected.At(x, y)) continue;
            if (count++ < 4) {
                char line[96];
                snprintf(line, sizeof line, " (%d,%d) %06lx not %06lx", x, y, shown.At(x, y), expected.At(x, y));
                text += line;
            }
        }
    }
    return count ? std::to_string(count) + " pixels differ:" + text : "";
}

// How the box shows a picture: at its top-left, pixels of the bottom-left pixel's colour left out.
Picture ShownTransparently(const Picture& picture, int boxWidth, int boxHeight, COLORREF face) {
    const COLORREF transparent = picture.At(0, picture.height - 1);
    Picture box{boxWidth, boxHeight, std::vector<COLORREF>(static_cast<size_t>(boxWidth) * boxHeight, face)};
    for (int y = 0; y < std::min(boxHeight, picture.height); ++y) {
        for (int x = 0; x < std::min(boxWidth, picture.width); ++x) {
            if (picture.At(x, y) != transparent) box.pixels[static_cast<size_t>(y) * boxWidth + x] = picture.At(x, y);
        }
    }
    return box;
}

TEST(WindowFlag, StartsWithTheStar) {
    ProgramWindow program;
    ASSERT_NE(program.form.Parts().FlagPicture(), nullptr);
    ASSERT_EQ(ImageList_GetImageCount(program.form.Parts().Images()), 40);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(program.form.Parts().Images(), &width, &height);
    EXPECT_EQ(width, kFlag);
    EXPECT_EQ(height, kFlag);
    const Picture flag = PictureOf(program.form.Parts().FlagPicture());
    EXPECT_EQ(Differences(flag, ImageListPicture(program.form.Parts().Images(), 0, kMagenta)), "");
    EXPECT_EQ(Differences(flag, StripPicture(0)), "");
    // The star is a gold shape on black.
    EXPECT_EQ(flag.At(0, 15), RGB(0, 0, 0));
    EXPECT_NE(flag.At(7, 7), RGB(0, 0, 0));
}

TEST(WindowFlag, ShowLanguageFlagShowsThePictureOfTheIndex) {
    ProgramWindow program;
    const HBITMAP bitmap = program.form.Parts().FlagPicture();
    for (const int index : {11, 1, 2, 6, 21, 39, 0, 39}) {
        SCOPED_TRACE("picture " + std::to_string(index));
        program.form.ShowLanguageFlag(index);
        EXPECT_EQ(program.form.Parts().FlagPicture(), bitmap) << "the picture is drawn over, not replaced";
        const Picture flag = PictureOf(program.form.Parts().FlagPicture());
        EXPECT_EQ(Differences(flag, ImageListPicture(program.form.Parts().Images(), index, kMagenta)), "");
        EXPECT_EQ(Differences(flag, StripPicture(index)), "");
    }
}

TEST(WindowFlag, IndexOutsideTheListLeavesTheWipedPictureAndNoFlag) {
    ProgramWindow program;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const HWND box = program.Control(app::kImage2);
    const Picture white{kFlag, kFlag, std::vector<COLORREF>(kFlag * kFlag, RGB(255, 255, 255))};
    const Picture nothing{25, 17, std::vector<COLORREF>(25 * 17, face)};
    for (const int index : {-1, 40, 41, INT_MIN, INT_MAX}) {
        SCOPED_TRACE("index " + std::to_string(index));
        program.form.ShowLanguageFlag(5);  // a flag to wipe
        program.form.ShowLanguageFlag(index);
        ASSERT_NE(program.form.Parts().FlagPicture(), nullptr);
        EXPECT_EQ(Differences(PictureOf(program.form.Parts().FlagPicture()), white), "");
        EXPECT_EQ(Differences(PrintedClient(box, RGB(255, 0, 255)), nothing), "") << "white is the transparent colour";
    }
}

TEST(WindowFlag, FlagBoxLeavesOutTheBottomLeftColour) {
    ProgramWindow program;
    const HWND box = program.Control(app::kImage2);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Black ground (0, 11, 21), and the three pictures whose bottom-left pixel is not black (2, 6, 39).
    for (const int index : {0, 2, 6, 11, 21, 39}) {
        SCOPED_TRACE("picture " + std::to_string(index));
        program.form.ShowLanguageFlag(index);
        const Picture expected = ShownTransparently(StripPicture(index), 25, 17, face);
        EXPECT_EQ(Differences(PrintedClient(box, RGB(255, 0, 255)), expected), "");
        // And what the screen shows once the window has painted.
        RedrawWindow(program.form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        // Its last column lies under ComboBox2, which comes later in the layout and is drawn over it.
        RECT screen{};
        GetWindowRect(box, &screen);
        --screen.right;
        const Picture visible = ShownTransparently(StripPicture(index), 24, 17, face);
        PumpUntil([&] { return ScreenPixels(screen) == visible; }, 2s);  // the painting has reached the screen
        EXPECT_EQ(Differences(ScreenPixels(screen), visible), "") << "on the screen";
    }
}

TEST(WindowFlag, GlobeShowsItsLeftColumnsWithoutItsBlackGround) {
    ProgramWindow program;
    const platform::UniqueBitmap globe(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_GLOBE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP header{};
    GetObjectW(globe.get(), sizeof header, &header);
    EXPECT_EQ(header.bmWidth, 27);
    EXPECT_EQ(header.bmHeight, 31);
    EXPECT_EQ(header.bmBitsPixel, 24);
    const Picture picture = PictureOf(globe.get());
    ASSERT_EQ(picture.At(0, 30), RGB(0, 0, 0)) << "a black ground";
    const Picture expected = ShownTransparently(picture, 25, 33, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Differences(PrintedClient(program.Control(app::kTntImage2), RGB(255, 0, 255)), expected), "");
}

TEST(WindowFlag, HelpPictureShowsTheLargeIconImage) {
    ProgramWindow program;
    const int size = GetSystemMetrics(SM_CXICON);
    EXPECT_EQ(size, 32);
    const platform::UniqueIcon icon(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_HELP_PICTURE), IMAGE_ICON, size, size, 0)));
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const Picture expected =
        DrawnPicture(33, 33, face, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL); });
    const Picture shown = PrintedClient(program.Control(app::kTntImage1), RGB(255, 0, 255));
    EXPECT_EQ(Differences(shown, expected), "");
    // Unscaled: nothing of the picture beyond its 32 columns and rows.
    for (int i = 0; i < 33; ++i) {
        EXPECT_EQ(shown.At(32, i), face);
        EXPECT_EQ(shown.At(i, 32), face);
    }
}

void ShowThousandFlags(app::TForm1& form) {
    for (int call = 0; call < 1000; ++call) form.ShowLanguageFlag(call % 43 - 1);  // -1 to 41, in and out of the list
}

TEST(WindowFlag, ThousandCallsKeepTheBitmapAndTheMemoryFlat) {
    ProgramWindow program;
    ShowThousandFlags(program.form);  // warm-up: caches and heaps settle
    const HBITMAP bitmap = program.form.Parts().FlagPicture();
    const size_t before = PrivateBytes();
    ShowThousandFlags(program.form);
    const size_t after = PrivateBytes();
    EXPECT_EQ(program.form.Parts().FlagPicture(), bitmap) << "the picture is drawn over, not replaced";
    EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    // Coarse: 1,000 leaked device contexts cost Wine about 1.3 MB; a leaked brush is too small to see here.
    EXPECT_LT(after, before + 256 * 1024) << "private bytes grew from " << before << " to " << after;
}

TEST(WindowFlag, ThousandCallsKeepTheGdiObjectCountFlat) {
    ProgramWindow program;
    ShowThousandFlags(program.form);
    const int before = GdiObjectCount();
    if (before < 0) GTEST_SKIP() << "no way to count GDI objects here (GetGuiResources returns 0 under Wine)";
    ShowThousandFlags(program.form);
    EXPECT_EQ(GdiObjectCount(), before);
}

// ---------------------------------------------------------------------------------------------------
// Hints.

std::map<HWND, std::wstring> ToolsOf(HWND tooltip) {
    std::map<HWND, std::wstring> tools;
    const auto count = static_cast<int>(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[1024] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.lpszText = text;
        if (!SendMessageW(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tool))) continue;
        tools[(tool.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.uId) : nullptr] = text;
    }
    return tools;
}

TEST(WindowHints, OnlyTheControlsThatShowHintsAreTools) {
    ProgramWindow program;
    const HWND tooltip = TooltipOf(program.form.Handle());
    ASSERT_NE(tooltip, nullptr);
    const std::map<HWND, std::wstring> tools = ToolsOf(tooltip);
    const std::set<ControlId> withHints = {app::kLabel3,     app::kLabel5,      app::kImage2,     app::kTntImage1,
                                           app::kTntButton1, app::kTntButton2,  app::kTntButton3, app::kTntEdit1,
                                           app::kTntEdit2,   app::kTntComboBox1};
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(withHints.size()));
    for (const app::ControlLayout& layout : app::MainWindowLayout()) {
        SCOPED_TRACE(layout.name);
        const HWND control = program.Control(layout.id);
        const auto tool = tools.find(control);
        if (!withHints.contains(layout.id)) {
            EXPECT_EQ(tool, tools.end()) << "a tooltip tool";
            EXPECT_EQ(program.form.Parts().Hint(layout.id), L"");
            continue;
        }
        ASSERT_NE(tool, tools.end()) << "no tooltip tool";
        EXPECT_EQ(tool->second, program.form.Parts().Hint(layout.id)) << "the tooltip shows what the hint says";
        EXPECT_NE(tool->second, L"");
    }
    // Both are set to show hints but never get a text.
    EXPECT_EQ(program.form.Parts().Hint(app::kTntImage2), L"");
    EXPECT_EQ(program.form.Parts().Hint(app::kComboBox2), L"");
}

TEST(WindowHints, FlagBoxHintIsTheCurrentValuesCaption) {
    ProgramWindow program;
    const std::wstring caption = platform::Widen(UserName() + " MSN");
    EXPECT_EQ(program.form.Parts().Hint(app::kImage2), caption);
    EXPECT_EQ(program.form.Parts().Hint(app::kImage2), MenuCaption(program.form.Parts().PopupMenu(), app::kMSNValues1));
    EXPECT_EQ(program.form.Parts().Hint(app::kLabel3), platform::Widen(app::kMakersHint));
    EXPECT_EQ(program.form.Parts().Hint(app::kLabel5), platform::Widen(app::kLicenseHint));
}

TEST(WindowHints, LongHintsWrap) {
    ProgramWindow program;
    const HWND tooltip = TooltipOf(program.form.Handle());
    ASSERT_NE(tooltip, nullptr);
    const LRESULT width = SendMessageW(tooltip, TTM_GETMAXTIPWIDTH, 0, 0);
    EXPECT_GT(width, 0) << "one line as wide as the text";
    EXPECT_LE(width, GetSystemMetrics(SM_CXSCREEN) / 2);
}

// ---------------------------------------------------------------------------------------------------
// The popup menu.

TEST(WindowMenu, SevenItemsInOrderWithTheStartLanguageCaptions) {
    ProgramWindow program;
    const HMENU menu = program.form.Parts().PopupMenu();
    ASSERT_NE(menu, nullptr);
    const i18n::LanguageTexts& texts = i18n::TextsOf(i18n::TextSetOfSystemLanguage(GetSystemDefaultLangID()));
    const struct {
        const char* name;
        UINT id;  // 0 for a separator
        std::wstring caption;
    } rows[] = {
        {"Abrir2", app::kAbrir2, platform::FromUtf8(texts.MenuOpenCaption.utf8)},
        {"N2", 0, L""},
        {"MSNValues1", app::kMSNValues1, platform::Widen(UserName() + " MSN")},
        {"N1", 0, L""},
        {"Creditos1", app::kCreditos1, platform::FromUtf8(texts.MenuCreditsCaption.utf8)},
        {"N3", 0, L""},
        {"Cerrar2", app::kCerrar2, platform::FromUtf8(texts.MenuCloseCaption.utf8)},
    };
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(std::size(rows)));
    for (UINT position = 0; position < std::size(rows); ++position) {
        const auto& row = rows[position];
        SCOPED_TRACE(row.name);
        wchar_t caption[256] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        item.dwTypeData = caption;
        item.cch = static_cast<UINT>(std::size(caption));
        ASSERT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &item));
        EXPECT_EQ(item.hSubMenu, nullptr);
        if (row.id == 0) {
            EXPECT_TRUE(item.fType & MFT_SEPARATOR);
            continue;
        }
        EXPECT_FALSE(item.fType & MFT_SEPARATOR);
        EXPECT_EQ(item.wID, row.id);
        EXPECT_EQ(std::wstring(caption), row.caption);
    }
    if (GetSystemDefaultLangID() == 0x0409) {
        EXPECT_EQ(rows[0].caption, L"Open");
        EXPECT_EQ(rows[4].caption, L"Credits");
        EXPECT_EQ(rows[6].caption, L"Close");
    }
}

// ---------------------------------------------------------------------------------------------------
// The executable's resources: version, manifest, icons.

std::string VersionString(const std::vector<char>& block, const char* key, bool& found) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + key;
    found = VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) != FALSE;
    return found && value ? std::string(value, strnlen(value, length)) : std::string();
}

TEST(WindowResources, VersionResourceReadsBack) {
    const std::string exe = CorvanExe();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010002u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u) << "one translation";
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04E4);

    const struct {
        const char* key;
        const char* value;
    } exact[] = {
        {"FileDescription", "MSN tool"}, {"FileVersion", "1.2.0.0"}, {"ProductName", "Corvan v1.2"},
        {"ProductVersion", "1.2.0.0"},   {"InternalName", ""},       {"OriginalFilename", ""},
    };
    for (const auto& row : exact) {
        bool found = false;
        EXPECT_EQ(VersionString(block, row.key, found), row.value) << row.key;
        EXPECT_TRUE(found) << row.key;
    }
    bool found = false;
    EXPECT_NE(VersionString(block, "CompanyName", found).find("the Corvan developers"), std::string::npos);
    EXPECT_NE(VersionString(block, "LegalCopyright", found).find("the Corvan developers"), std::string::npos);
    EXPECT_NE(VersionString(block, "Comments", found).find(app::kHomePage), std::string::npos);
    EXPECT_EQ(std::string(app::kHomePage), "https://corvan.example.org/");
}

// One element of an XML text: from "<name" to the next ">".
std::string Element(const std::string& xml, const std::string& name, size_t from = 0) {
    const size_t start = xml.find("<" + name, from);
    if (start == std::string::npos) return {};
    return xml.substr(start, xml.find('>', start) - start + 1);
}

TEST(WindowResources, ManifestAsksForCommonControls6AndDpiAwareness) {
    const HMODULE exe = LoadLibraryExA(CorvanExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    const HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(exe, found))), SizeofResource(exe, found));
    FreeLibrary(exe);

    const std::string own = Element(manifest, "assemblyIdentity");
    EXPECT_NE(own.find("type=\"win32\""), std::string::npos) << own;
    EXPECT_NE(own.find("version=\"1.0.0.0\""), std::string::npos) << own;
    EXPECT_NE(own.find("processorArchitecture=\"*\""), std::string::npos) << own;

    const std::string controls = Element(manifest, "assemblyIdentity", manifest.find("<dependentAssembly"));
    for (const char* attribute : {"type=\"win32\"", "name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
                                  "processorArchitecture=\"*\"", "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\""}) {
        EXPECT_NE(controls.find(attribute), std::string::npos) << attribute << " in " << controls;
    }
    EXPECT_NE(manifest.find("<dpiAware>true</dpiAware>"), std::string::npos);
}

// The test executable carries the same manifest as corvan.exe, so its controls come from the same library.
TEST(WindowResources, ControlsComeFromCommonControls6) {
    ProgramWindow program;
    ASSERT_NE(TooltipOf(program.form.Handle()), nullptr);
    const HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(controls, nullptr);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(controls, path, MAX_PATH);
    // Wine's build of version 6 reports 5.81 through DllGetVersion and its version resource alike, so
    // the library is known by where the activation context took it from: the side-by-side assembly.
    std::string where = platform::Narrow(path);
    CharLowerBuffA(where.data(), static_cast<DWORD>(where.size()));
    // A 64-bit process takes the amd64 assembly.
    const std::string assembly = sizeof(void*) == 8 ? "amd64_microsoft.windows.common-controls_6595b64144ccf1df_6.0."
                                                    : "x86_microsoft.windows.common-controls_6595b64144ccf1df_6.0.";
    EXPECT_NE(where.find("\\winsxs\\" + assembly), std::string::npos) << where;
}

#pragma pack(push, 2)
struct IconDirectoryEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// The images of an icon resource of corvan.exe as (size, bits per pixel).
std::multiset<std::pair<int, int>> IconImages(int id) {
    std::multiset<std::pair<int, int>> images;
    const HMODULE exe = LoadLibraryExA(CorvanExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!exe) return images;
    if (const HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(id), RT_GROUP_ICON)) {
        const auto* header = static_cast<const WORD*>(LockResource(LoadResource(exe, found)));
        const auto* entries = reinterpret_cast<const IconDirectoryEntry*>(header + 3);
        for (int i = 0; i < header[2]; ++i) images.insert({entries[i].width ? entries[i].width : 256, entries[i].bitCount});
    }
    FreeLibrary(exe);
    return images;
}

TEST(WindowResources, IconResourcesHoldTheirImages) {
    EXPECT_EQ(IconImages(IDI_CORVAN), (std::multiset<std::pair<int, int>>{{32, 32}})) << "the program's main icon";
    EXPECT_EQ(IconImages(IDI_HELP_PICTURE),
              (std::multiset<std::pair<int, int>>{
                  {48, 4}, {32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}, {64, 32}, {48, 32}, {32, 32}, {16, 32}}));
}

TEST(WindowResources, WindowIconIs32By32WithAlpha) {
    ProgramWindow program;
    const HWND main = program.form.Handle();
    auto icon = reinterpret_cast<HICON>(SendMessageW(main, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(main, GCLP_HICON));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    const platform::UniqueBitmap colour(info.hbmColor);
    const platform::UniqueBitmap mask(info.hbmMask);
    ASSERT_NE(colour, nullptr);
    BITMAP header{};
    GetObjectW(colour.get(), sizeof header, &header);
    EXPECT_EQ(header.bmWidth, 32);
    EXPECT_EQ(header.bmHeight, 32);
    EXPECT_EQ(header.bmBitsPixel, 32);
    std::vector<BYTE> alpha;
    PictureOfAlpha(colour.get(), alpha);
    std::set<BYTE> levels(alpha.begin(), alpha.end());
    EXPECT_TRUE(levels.contains(0)) << "transparent pixels";
    EXPECT_TRUE(levels.contains(255)) << "opaque pixels";
    EXPECT_GT(levels.size(), 2u) << "soft edges";
}

// ---------------------------------------------------------------------------------------------------
// Another resolution: corvan.exe started at 120 dpi scales its layout.

TEST(WindowDpi, At120DpiTheProgramScalesItsLayout) {
    constexpr int kDpi = 120;
    // Wine 10, like Windows 8.1 and later, hands this process another process's window coordinates scaled
    // to its own resolution (96 dpi) unless it is aware of each monitor's: then it reads them as they are.
    using SetThreadDpiAwarenessContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (const auto setContext = reinterpret_cast<SetThreadDpiAwarenessContextFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")))) {
        setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
    }
    std::optional<Process> corvan;
    HWND main = nullptr;
    {
        // Read by the new process as it starts; put back for the other tests.
        SavedRegistryValue systemDpi(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels");
        const DWORD dpi = kDpi;
        systemDpi.Set(REG_DWORD, &dpi, sizeof dpi);
        corvan.emplace(CorvanExe());
        main = WaitForWindow(corvan->Id(), L"TForm1");
    }
    ASSERT_NE(main, nullptr);
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 304);
    EXPECT_EQ(client.bottom, 491);
    for (const app::ControlLayout& layout : app::MainWindowLayout()) {
        SCOPED_TRACE(layout.name);
        const RECT rect = RectInClient(GetDlgItem(main, layout.id), main);
        EXPECT_EQ(rect.left, app::Scale(layout.left, kDpi));
        EXPECT_EQ(rect.top, app::Scale(layout.top, kDpi));
        EXPECT_EQ(rect.right - rect.left, app::Scale(layout.width, kDpi));
        EXPECT_EQ(rect.bottom - rect.top, app::Scale(layout.height, kDpi));
    }
    EXPECT_EQ(SendMessageW(GetDlgItem(main, app::kComboBox2), CB_GETITEMHEIGHT, 0, 0), app::Scale(app::kItemHeight, kDpi));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(corvan->WaitForExit(10s));
}

}  // namespace
