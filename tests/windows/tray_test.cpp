// The notification-area icon: minimising into it, and where there is no notification area, the icon's
// mouse messages and popup menu, the ways back to the window and out of the program, a restarted
// shell, and many round trips.
//
// Whether an icon is in the notification area is asked of the shell itself (TrayIconShown). Wine's
// shell also drops the icons of a window when the window is destroyed, so the program's own removal
// is checked while its window still exists.

#include "support.h"

#include "i18n/catalogue.h"
#include "messenger/client.h"
#include "messenger/server_value.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace test;

// The rows of the parameterised tests below print as, and name their cases by, their `name`.
template <typename Row>
requires requires(const Row& row) { row.name; }
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }
constexpr auto RowName = [](const auto& info) { return std::string(info.param.name); };

void Minimise(HWND mainWindow) { SendMessageW(mainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0); }

// What the shell sends when the user does something with the mouse on the icon.
void IconMessage(HWND mainWindow, LPARAM mouseMessage) {
    SendMessageW(mainWindow, app::WM_TRAYICON, app::kTrayIconId, mouseMessage);
}

// What the popup menu's owner receives once the menu has closed on a chosen item.
void MenuCommand(HWND mainWindow, UINT item) { SendMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(item, 0), 0); }

bool SameRecord(const NOTIFYICONDATAA& a, const NOTIFYICONDATAA& b) { return std::memcmp(&a, &b, NOTIFYICONDATAA_V1_SIZE) == 0; }

// A point of the window's frame that answers WM_NCHITTEST with `hit`, such as a caption button.
POINT FramePoint(HWND window, LRESULT hit) {
    RECT frame{};
    GetWindowRect(window, &frame);
    for (int y = frame.top; y < frame.top + 40; y += 2) {
        for (int x = frame.right - 1; x > frame.left; x -= 2) {
            if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hit) return {x, y};
        }
    }
    return {-1, -1};
}

// The text set the program applies at start: the one of the system language.
const i18n::LanguageTexts& StartTexts() { return i18n::TextsOf(i18n::TextSetOfSystemLanguage(GetSystemDefaultLangID())); }

enum class State { S1AtStart, S2InTray, S3AfterDoubleClick, S4AfterOpenItem };

const char* Name(State state) {
    constexpr const char* kNames[] = {"S1AtStart", "S2InTray", "S3AfterDoubleClick", "S4AfterOpenItem"};
    return kNames[static_cast<int>(state)];
}

// Takes the window from the start to a state as the user would, and waits until it is there.
void Reach(HWND mainWindow, State state) {
    if (state == State::S1AtStart) return;
    Minimise(mainWindow);
    if (state == State::S3AfterDoubleClick) IconMessage(mainWindow, WM_LBUTTONDBLCLK);
    if (state == State::S4AfterOpenItem) MenuCommand(mainWindow, app::kAbrir2);
    const bool shown = state != State::S2InTray;
    const bool icon = state != State::S4AfterOpenItem;
    PumpUntil([&] { return (IsWindowVisible(mainWindow) != FALSE) == shown && TrayIconShown(mainWindow) == icon; });
}

// Records the messages of one number that this thread's windows are sent, by this thread or another, while alive.
class SentMessages {
public:
    explicit SentMessages(UINT message) {
        s_message = message;
        s_seen.clear();
        m_hook = SetWindowsHookExW(WH_CALLWNDPROC, &SentMessages::Record, nullptr, GetCurrentThreadId());
    }
    ~SentMessages() { UnhookWindowsHookEx(m_hook); }
    SentMessages(const SentMessages&) = delete;
    SentMessages& operator=(const SentMessages&) = delete;
    const std::vector<CWPSTRUCT>& Seen() const { return s_seen; }

private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == s_message) s_seen.push_back(*call);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline UINT s_message = 0;
    static inline std::vector<CWPSTRUCT> s_seen;
    HHOOK m_hook = nullptr;
};

class Tray : public testing::Test {
protected:
    ProgramWindow program;
    HWND main = program.form.Handle();
    HWND application = ApplicationWindowOf(main);

    const NOTIFYICONDATAA& Record() const { return program.form.Tray().Record(); }
};

// ---- Minimising ----

TEST_F(Tray, MinimiseHidesWindowBehindOneIconDescribedByTheRecord) {
    ASSERT_FALSE(TrayIconShown(main));
    ASSERT_EQ(Record().hWnd, nullptr);  // zero until the first minimising
    ASSERT_TRUE(IsWindowVisible(application));

    Reach(main, State::S2InTray);

    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main)) << "hidden, not minimised";
    EXPECT_FALSE(IsIconic(application));
    EXPECT_FALSE(IsWindowVisible(application)) << "the taskbar button goes with the window";
    EXPECT_TRUE(TrayIconShown(main));

    // The first version of the record, the one every Windows takes: 88 bytes, 104 with 64-bit handles.
    const NOTIFYICONDATAA& record = Record();
    EXPECT_EQ(record.cbSize, sizeof(void*) == 8 ? 104u : 88u);
    EXPECT_EQ(record.hWnd, main);
    EXPECT_EQ(record.uID, 105u);
    EXPECT_EQ(record.uFlags, 7u);
    EXPECT_EQ(record.uCallbackMessage, 0x0401u);
    EXPECT_EQ(record.hIcon, reinterpret_cast<HICON>(GetClassLongPtrW(main, GCLP_HICON)));
    EXPECT_NE(record.hIcon, nullptr);
    EXPECT_STREQ(record.szTip, "Corvan v1.2");

    // Exactly one: a single remove request of the test's own empties the place.
    EXPECT_TRUE(RemoveTrayIcon(main));
    EXPECT_FALSE(TrayIconShown(main));
}

struct MinimiseRow {
    const char* name;
    void (*minimise)(HWND mainWindow);
    bool intoTray;
};

class MinimiseCommand : public testing::TestWithParam<MinimiseRow> {};

TEST_P(MinimiseCommand, GoesToTheTrayOnlyForAWholeSCMinimizeToTheMainWindow) {
    ProgramWindow program;
    const HWND main = program.form.Handle();
    BringToFront(main);

    GetParam().minimise(main);
    PumpUntil([&] { return TrayIconShown(main) || IsIconic(main) || IsIconic(ApplicationWindowOf(main)); }, 3s);

    if (GetParam().intoTray) {
        EXPECT_TRUE(TrayIconShown(main));
        EXPECT_FALSE(IsWindowVisible(main));
        EXPECT_FALSE(IsIconic(main));
        EXPECT_EQ(program.form.Tray().Record().hWnd, main);
    } else {
        EXPECT_FALSE(TrayIconShown(main));
        EXPECT_EQ(program.form.Tray().Record().hWnd, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, MinimiseCommand,
    testing::Values(
        MinimiseRow{"SentSCMinimize", [](HWND main) { Minimise(main); }, true},
        MinimiseRow{"CaptionMinimiseButton",
                    [](HWND main) {
                        const POINT button = FramePoint(main, HTMINBUTTON);
                        ASSERT_NE(button.x, -1) << "no minimise button found on the caption";
                        MouseClickAt(button);
                    },
                    true},
        MinimiseRow{"SystemMenuMinimiseItem",
                    [](HWND main) {
                        // The system menu opens in its own modal loop; its Minimise item is chosen by a real click.
                        PopupMenuWatcher watcher(PopupMenuWatcher::ClickItem(SC_MINIMIZE));
                        PostMessageW(main, WM_SYSCOMMAND, SC_KEYMENU, ' ');
                        PumpUntil([&] { return !watcher.Menus().empty() && !IsWindowVisible(main); }, 5s);
                        ASSERT_EQ(watcher.Menus().size(), 1u) << "the system menu did not open";
                    },
                    true},
        // Compared whole: SC_MINIMIZE with its low bits set is left to the system.
        MinimiseRow{"SCMinimizeWithLowBitsSet", [](HWND main) { SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE | 2, 0); }, false},
        // The taskbar button minimises the whole program through the application window.
        MinimiseRow{"ApplicationWindowMinimised",
                    [](HWND main) { SendMessageW(ApplicationWindowOf(main), WM_SYSCOMMAND, SC_MINIMIZE, 0); }, false}),
    RowName);

// ---- A notification area that refuses the icon ----

// A desktop of the test's own whose shell has ended, as before the shell starts at logon or after it
// has gone: no window of the notification area is there to take an icon. Wine starts a shell for the
// desktop with its first window; that one is ended, never the shell of the test's own desktop.
class DesktopWithoutShell {
public:
    DesktopWithoutShell()
        : m_name("corvan-no-shell-" + std::to_string(GetCurrentProcessId())),
          m_desktop(CreateDesktopA(m_name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr)) {}
    ~DesktopWithoutShell() {
        if (m_desktop) CloseDesktop(m_desktop);
    }
    DesktopWithoutShell(const DesktopWithoutShell&) = delete;
    DesktopWithoutShell& operator=(const DesktopWithoutShell&) = delete;
    HDESK Handle() const { return m_desktop; }
    const std::string& Name() const { return m_name; }

    HWND NotificationArea() const {
        struct Find {
            static BOOL CALLBACK Window(HWND window, LPARAM result) {
                if (ClassNameOf(window) != "Shell_TrayWnd") return TRUE;
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
        };
        HWND found = nullptr;
        EnumDesktopWindows(m_desktop, &Find::Window, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    // True once the desktop has no notification area left.
    bool EndShell() const {
        DWORD shell = 0;
        GetWindowThreadProcessId(NotificationArea(), &shell);
        DWORD ownShell = 0;
        GetWindowThreadProcessId(FindWindowW(L"Shell_TrayWnd", nullptr), &ownShell);
        if (shell == 0 || shell == ownShell) return false;
        const platform::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, shell));
        if (!process || !TerminateProcess(process.get(), 0)) return false;
        WaitForSingleObject(process.get(), 5000);
        return PumpUntil([&] { return NotificationArea() == nullptr; }, 5s);
    }

private:
    std::string m_name;
    HDESK m_desktop;
};

TEST(TrayRefused, MinimisingWithoutANotificationAreaLeavesTheWindowWithinReach) {
    const DesktopWithoutShell desktop;
    ASSERT_NE(desktop.Handle(), nullptr);
    Process corvan(CorvanExe(), {}, desktop.Name());
    const HWND main = WaitForWindow(corvan.Id(), L"TForm1", 15s, desktop.Handle());
    ASSERT_NE(main, nullptr);
    const HWND application = ApplicationWindowOf(main);
    ASSERT_TRUE(desktop.EndShell()) << "the desktop still has a notification area";

    Minimise(main);
    // Minimised with the application, its taskbar button the way back, rather than hidden behind no icon.
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(application) != FALSE; }, 5s)) << "main window shown: " << Shown(main);
    EXPECT_TRUE(Shown(application));

    // A second start brings a minimised copy back; a hidden one it would have left hidden.
    Process second(CorvanExe(), {}, desktop.Name());
    ASSERT_TRUE(second.WaitForExit(20s));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(PumpUntil([&] { return Shown(main) && !IsIconic(application); }, 5s));
    EXPECT_TRUE(corvan.Running());
}

// ---- Back from the tray ----

TEST_F(Tray, DoubleClickShowsWindowKeepsIconAndMinimisingAgainLeavesOneIcon) {
    Minimise(main);
    const NOTIFYICONDATAA before = Record();

    IconMessage(main, WM_LBUTTONDBLCLK);
    PumpUntil([&] { return IsWindowVisible(main) != FALSE; });
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));
    EXPECT_TRUE(IsWindowVisible(application)) << "the taskbar button comes back with the window";
    EXPECT_TRUE(TrayIconShown(main));
    EXPECT_TRUE(SameRecord(Record(), before));

    // The add request fails on the icon already there; nothing is reported and one icon stays.
    BoxRecorder boxes;
    Minimise(main);
    PumpUntil([&] { return !IsWindowVisible(main); });
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(SameRecord(Record(), before));
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(RemoveTrayIcon(main));
    EXPECT_FALSE(TrayIconShown(main));
}

// Minimises into the notification area and waits until the shell has drawn the icon where a real click goes.
void MinimiseUntilIconDrawn(HWND mainWindow) {
    const POINT centre = FirstTrayIconPoint();
    const int half = GetSystemMetrics(SM_CXSMICON) / 2;
    const RECT slot{centre.x - half, centre.y - half, centre.x + half, centre.y + half};
    const Picture empty = ScreenPixels(slot);
    Minimise(mainWindow);
    PumpUntil([&] { return ScreenPixels(slot) != empty; });
}

// The whole way through the shell: a real double click on the icon in the taskbar's notification area.
TEST_F(Tray, RealDoubleClickOnTheIconShowsWindow) {
    MinimiseUntilIconDrawn(main);
    ASSERT_TRUE(TrayIconShown(main));

    MouseClickAt(FirstTrayIconPoint(), MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(main) != FALSE; }, 5s)) << "the shell did not pass the double click on";
    EXPECT_TRUE(TrayIconShown(main));
    EXPECT_EQ(Record().hWnd, main);
}

TEST_F(Tray, OpenItemShowsWindowInFrontRemovesIconAndKeepsTaskbarButtonAway) {
    Minimise(main);
    ASSERT_TRUE(TrayIconShown(main));

    MenuCommand(main, app::kAbrir2);
    PumpUntil([&] { return IsWindowVisible(main) && GetForegroundWindow() == main; });
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(IsIconic(main));
    EXPECT_EQ(GetForegroundWindow(), main);
    EXPECT_FALSE(TrayIconShown(main));
    EXPECT_EQ(Record().hWnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(application)) << "no taskbar button although the window shows";

    // The next change of visibility, a message box, brings the button back.
    BoxRecorder boxes;
    MenuCommand(main, app::kCreditos1);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(IsWindowVisible(application));
}

// ---- Mouse messages that do nothing ----

struct IgnoredRow {
    const char* name;
    WPARAM wParam;
    LPARAM lParam;
};

constexpr IgnoredRow kIgnored[] = {
    {"mouse move", app::kTrayIconId, WM_MOUSEMOVE},
    {"left press", app::kTrayIconId, WM_LBUTTONDOWN},
    {"left release", app::kTrayIconId, WM_LBUTTONUP},
    {"right release", app::kTrayIconId, WM_RBUTTONUP},
    {"right double click", app::kTrayIconId, WM_RBUTTONDBLCLK},
    {"middle press", app::kTrayIconId, WM_MBUTTONDOWN},
    {"middle release", app::kTrayIconId, WM_MBUTTONUP},
    {"middle double click", app::kTrayIconId, WM_MBUTTONDBLCLK},
    // The dialog manager's DM_SETDEFID shares the number WM_USER + 1: a control id, lParam 0.
    {"DM_SETDEFID", app::kTntButton1, 0},
    {"DM_SETDEFID of no button", 0, 0},
};

TEST_F(Tray, OtherMouseMessagesAndDefaultButtonRequestsChangeNothing) {
    PopupMenuWatcher menus;
    // The dialog manager itself sends DM_SETDEFID while Tab moves the focus (Windows does; Wine, for a
    // window that is no dialog, does not).
    SetForegroundWindow(main);
    SetFocus(program.Control(app::kComboBox2));
    for (int step = 0; step < 12; ++step) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        IsDialogMessageW(main, &tab);
        RunQueuedMessages();
    }
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_FALSE(TrayIconShown(main));
    for (const State state : {State::S1AtStart, State::S2InTray}) {
        SCOPED_TRACE(Name(state));
        Reach(main, state);
        const bool visible = IsWindowVisible(main) != FALSE;
        const bool iconShown = TrayIconShown(main);
        const NOTIFYICONDATAA record = Record();
        for (const IgnoredRow& row : kIgnored) {
            SCOPED_TRACE(row.name);
            SendMessageW(main, app::WM_TRAYICON, row.wParam, row.lParam);
            RunQueuedMessages();
            EXPECT_EQ(IsWindowVisible(main) != FALSE, visible);
            EXPECT_EQ(IsWindowVisible(application) != FALSE, visible);
            EXPECT_FALSE(IsIconic(main));
            EXPECT_EQ(TrayIconShown(main), iconShown);
            EXPECT_TRUE(SameRecord(Record(), record));
        }
    }
    EXPECT_TRUE(menus.Menus().empty()) << "a popup menu opened";
}

// ---- The popup menu ----

std::vector<std::wstring> ExpectedMenuItems() {
    const i18n::LanguageTexts& texts = StartTexts();
    return {platform::FromUtf8(texts.MenuOpenCaption.utf8),    L"", platform::Widen(messenger::CurrentUserName() + " MSN"), L"",
            platform::FromUtf8(texts.MenuCreditsCaption.utf8), L"", platform::FromUtf8(texts.MenuCloseCaption.utf8)};
}

TEST_F(Tray, RightPressOpensTheMenuCentredOnTheCursorWhileHidden) {
    Minimise(main);
    const POINT cursor{500, 300};
    ASSERT_TRUE(MoveCursorTo(cursor));

    HWND foreground = nullptr;
    PopupMenuWatcher watcher([&](HWND, HMENU) {
        foreground = GetForegroundWindow();
        EndMenu();
    });
    IconMessage(main, WM_RBUTTONDOWN);  // returns when the menu has closed

    MSG posted{};
    EXPECT_TRUE(PeekMessageW(&posted, main, WM_NULL, WM_NULL, PM_NOREMOVE)) << "no WM_NULL posted after the menu";
    ASSERT_EQ(watcher.Menus().size(), 1u);
    const PopupMenuWatcher::Menu& menu = watcher.Menus()[0];
    EXPECT_EQ(menu.items, ExpectedMenuItems());
    EXPECT_EQ(menu.ids, (std::vector<UINT>{app::kAbrir2, 0, app::kMSNValues1, 0, app::kCreditos1, 0, app::kCerrar2}));
    EXPECT_NEAR((menu.rect.left + menu.rect.right) / 2, cursor.x, 1) << "centred on the cursor";
    EXPECT_EQ(menu.rect.top, cursor.y) << "top at the cursor; the cursor was at " << menu.cursor.x << "," << menu.cursor.y;
    EXPECT_EQ(foreground, main);

    // Closed unchosen: nothing changed.
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(TrayIconShown(main));
}

bool g_menuForcedClosed = false;

void CALLBACK ForceMenuClosed(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    g_menuForcedClosed = true;
    EndMenu();
}

// The tray etiquette: with the window in front and a message after the menu, a click elsewhere closes it.
TEST_F(Tray, ClickElsewhereClosesTheMenuUnchosen) {
    Minimise(main);
    ASSERT_TRUE(MoveCursorTo({500, 300}));
    g_menuForcedClosed = false;
    UINT_PTR fallback = 0;
    PopupMenuWatcher watcher([&](HWND, HMENU) {
        MouseClickAt({100, 100});  // the bare desktop, far from the menu
        fallback = SetTimer(nullptr, 0, 3000, ForceMenuClosed);
    });
    BoxRecorder boxes;
    IconMessage(main, WM_RBUTTONDOWN);
    KillTimer(nullptr, fallback);

    ASSERT_EQ(watcher.Menus().size(), 1u);
    EXPECT_FALSE(g_menuForcedClosed) << "the menu stayed open after a click elsewhere";
    EXPECT_FALSE(RunQueuedMessages()) << "the program ended";
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(TrayIconShown(main));
}

// The whole way through the shell: a real right-button press on the icon in the notification area.
TEST_F(Tray, RealRightPressOnTheIconOpensTheMenu) {
    MinimiseUntilIconDrawn(main);
    ASSERT_TRUE(TrayIconShown(main));

    PopupMenuWatcher watcher;
    const SentMessages iconMessages(app::WM_TRAYICON);
    const POINT icon = FirstTrayIconPoint();
    MouseButtonAt(icon, MOUSEEVENTF_RIGHTDOWN);
    EXPECT_TRUE(PumpUntil([&] { return !watcher.Menus().empty(); }, 5s)) << "the shell did not pass the press on";
    MouseButtonAt(icon, MOUSEEVENTF_RIGHTUP);
    // The release, which opens nothing, has reached the window.
    PumpUntil(
        [&] {
            const auto& seen = iconMessages.Seen();
            return std::any_of(seen.begin(), seen.end(), [](const CWPSTRUCT& call) { return call.lParam == WM_RBUTTONUP; });
        },
        5s);
    ASSERT_EQ(watcher.Menus().size(), 1u);
    EXPECT_EQ(watcher.Menus()[0].items, ExpectedMenuItems());
    EXPECT_FALSE(IsWindowVisible(main));
}

struct ChoiceRow {
    const char* name;
    UINT item;
    DWORD down, up;  // the mouse button that chooses the item
};

class MenuChoice : public testing::TestWithParam<ChoiceRow> {};

// The item is chosen by a real click in the open menu; its handler runs once the menu has closed.
TEST_P(MenuChoice, RunsTheItemsHandlerAfterTheMenuCloses) {
    ProgramWindow program;
    const HWND main = program.form.Handle();
    Minimise(main);
    ASSERT_TRUE(MoveCursorTo({500, 300}));

    BoxRecorder boxes;
    PopupMenuWatcher watcher(PopupMenuWatcher::ClickItem(GetParam().item, GetParam().down, GetParam().up));
    IconMessage(main, WM_RBUTTONDOWN);
    const bool ended = RunQueuedMessages();
    ASSERT_EQ(watcher.Menus().size(), 1u);
    EXPECT_EQ(ended, GetParam().item == app::kCerrar2) << "only the close item ends the message loop";

    switch (GetParam().item) {
        case app::kAbrir2:
            EXPECT_TRUE(IsWindowVisible(main));
            EXPECT_EQ(GetForegroundWindow(), main);
            EXPECT_FALSE(TrayIconShown(main));
            EXPECT_EQ(program.form.Tray().Record().hWnd, nullptr);
            EXPECT_FALSE(IsWindowVisible(ApplicationWindowOf(main)));
            break;
        case app::kMSNValues1:
        case app::kCreditos1: {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            const BoxRecorder::Box& box = boxes.Boxes()[0];
            EXPECT_FALSE(box.menuOpen) << "the box came while the menu was still open";
            if (GetParam().item == app::kCreditos1) {
                EXPECT_EQ(box.text.rfind("Thanks To:\r", 0), 0u);
            } else {
                EXPECT_EQ(box.caption, "Corvan v1.2");
                const messenger::Client& client = program.form.Client();
                EXPECT_EQ(box.text, messenger::CurrentValuesText(messenger::CurrentUserName(), {client.DomainPart(), client.AddressPart()}));
            }
            EXPECT_FALSE(IsWindowVisible(main));
            EXPECT_TRUE(TrayIconShown(main));
            break;
        }
        case app::kCerrar2:
            ASSERT_TRUE(IsWindow(main));
            EXPECT_FALSE(TrayIconShown(main));
            break;
        default: FAIL() << "no expectation for this item";
    }
}

INSTANTIATE_TEST_SUITE_P(Items, MenuChoice,
                         testing::Values(ChoiceRow{"Abrir2", app::kAbrir2, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                                         ChoiceRow{"MSNValues1", app::kMSNValues1, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                                         ChoiceRow{"Creditos1", app::kCreditos1, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                                         ChoiceRow{"Creditos1WithRightButton", app::kCreditos1, MOUSEEVENTF_RIGHTDOWN,
                                                   MOUSEEVENTF_RIGHTUP},
                                         ChoiceRow{"Cerrar2", app::kCerrar2, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}),
                         RowName);

// ---- Closing ----

struct CloseRow {
    const char* name;
    State state;
    void (*close)(ProgramWindow& program);
};

class CloseWithIcon : public testing::TestWithParam<CloseRow> {};

TEST_P(CloseWithIcon, RemovesTheIconAndEndsTheLoop) {
    ProgramWindow program;
    const HWND main = program.form.Handle();
    Reach(main, GetParam().state);
    ASSERT_TRUE(TrayIconShown(main));

    GetParam().close(program);
    EXPECT_TRUE(PumpUntilQuit());
    ASSERT_TRUE(IsWindow(main)) << "the window must still exist, or the shell would drop the icon by itself";
    EXPECT_FALSE(TrayIconShown(main));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CloseWithIcon,
    testing::Values(CloseRow{"CloseItemInTray", State::S2InTray,
                             [](ProgramWindow& program) { MenuCommand(program.form.Handle(), app::kCerrar2); }},
                    CloseRow{"CloseItemAfterDoubleClick", State::S3AfterDoubleClick,
                             [](ProgramWindow& program) { MenuCommand(program.form.Handle(), app::kCerrar2); }},
                    CloseRow{"SentSCClose", State::S3AfterDoubleClick,
                             [](ProgramWindow& program) { SendMessageW(program.form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
                    CloseRow{"CaptionCloseButton", State::S3AfterDoubleClick,
                             [](ProgramWindow& program) {
                                 const HWND main = program.form.Handle();
                                 BringToFront(main);
                                 const POINT button = FramePoint(main, HTCLOSE);
                                 ASSERT_NE(button.x, -1) << "no close button found on the caption";
                                 MouseClickAt(button);
                             }},
                    CloseRow{"AltF4", State::S3AfterDoubleClick,
                             [](ProgramWindow& program) {
                                 BringToFront(program.form.Handle());
                                 // A focused combo box keeps Alt+F4 to itself under Wine.
                                 SetFocus(program.Control(app::kTntButton1));
                                 PressKeys({VK_MENU, VK_F4});
                             }}),
    RowName);

// After the open item the record is cleared: closing makes no remove request. An icon the test puts
// under the same window and id stays where a second request would have taken it away.
TEST_F(Tray, CloseAfterOpenItemMakesNoSecondRemoveRequest) {
    Minimise(main);
    MenuCommand(main, app::kAbrir2);
    ASSERT_FALSE(TrayIconShown(main));
    ASSERT_TRUE(AddTrayIcon(main));

    SendMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(PumpUntilQuit());
    ASSERT_TRUE(IsWindow(main));
    EXPECT_TRUE(TrayIconShown(main)) << "the program asked to remove an icon it had already removed";
    RemoveTrayIcon(main);
}

// corvan.exe itself, closed from outside the way a user closes it. Wine's shell drops the icons of a
// window that is destroyed, so "no icon left" here cannot tell the program's removal from the shell's;
// CloseWithIcon shows the program's own. What these add: every path ends the real program with code 0.
struct ProcessCloseRow {
    const char* name;
    State state;
    void (*close)(HWND mainWindow, DWORD threadId);
};

class CloseProgram : public testing::TestWithParam<ProcessCloseRow> {};

TEST_P(CloseProgram, EndsWithCodeZeroAndNoIconLeft) {
    Process corvan(CorvanExe());
    const HWND main = WaitForWindow(corvan.Id(), L"TForm1");
    ASSERT_NE(main, nullptr);
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);

    Minimise(main);
    ASSERT_TRUE(PumpUntil([&] { return TrayIconShown(main); }, 5s));
    if (GetParam().state == State::S3AfterDoubleClick) {
        IconMessage(main, WM_LBUTTONDBLCLK);
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(main) != FALSE; }, 5s));
    }

    GetParam().close(main, thread);
    ASSERT_TRUE(corvan.WaitForExit(15s));
    EXPECT_EQ(corvan.ExitCode(), 0u);
    EXPECT_FALSE(TrayIconShown(main));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CloseProgram,
    testing::Values(ProcessCloseRow{"CloseItemInTray", State::S2InTray,
                                    [](HWND main, DWORD) { PostMessageW(main, WM_COMMAND, MAKEWPARAM(app::kCerrar2, 0), 0); }},
                    ProcessCloseRow{"SCCloseAfterDoubleClick", State::S3AfterDoubleClick,
                                    [](HWND main, DWORD) { PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0); }},
                    ProcessCloseRow{"AltF4AfterDoubleClick", State::S3AfterDoubleClick,
                                    [](HWND main, DWORD thread) {
                                        BringToFront(main);
                                        // Tab, through the program's dialog manager, until no combo box has the focus:
                                        // a focused combo box keeps Alt+F4 to itself under Wine.
                                        for (int step = 0; step < 12; ++step) {
                                            const HWND focus = FocusOf(thread);
                                            if (focus && _stricmp(ClassNameOf(focus).c_str(), "ComboBox") != 0) break;
                                            PressKeys({VK_TAB});
                                            PumpUntil([&] { return FocusOf(thread) != focus; }, 2s);
                                        }
                                        PressKeys({VK_MENU, VK_F4});
                                    }}),
    RowName);

// ---- A restarted shell ----

struct ShellRestartRow {
    State state;
    bool iconBack;
};

void PrintTo(const ShellRestartRow& row, std::ostream* out) { *out << Name(row.state); }

class ShellRestart : public Tray, public testing::WithParamInterface<ShellRestartRow> {};

// "TaskbarCreated" is what a newly started shell sends; the icons the old one showed are gone by then.
TEST_P(ShellRestart, TaskbarCreatedAddsTheIconAgainOnlyWhileTheRecordSaysItIsShown) {
    Reach(main, GetParam().state);
    const bool visible = IsWindowVisible(main) != FALSE;
    const NOTIFYICONDATAA record = Record();
    RemoveTrayIcon(main);  // the old shell's icon went with it
    ASSERT_FALSE(TrayIconShown(main));

    SendMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    RunQueuedMessages();
    EXPECT_EQ(TrayIconShown(main), GetParam().iconBack);
    // Nor is an icon added from a cleared or empty record, which would have no window to report to.
    EXPECT_FALSE(TrayIconShown(nullptr, app::kTrayIconId));
    EXPECT_FALSE(TrayIconShown(nullptr, 0));
    EXPECT_EQ(IsWindowVisible(main) != FALSE, visible);
    EXPECT_TRUE(SameRecord(Record(), record));
}

INSTANTIATE_TEST_SUITE_P(States, ShellRestart,
                         testing::Values(ShellRestartRow{State::S1AtStart, false}, ShellRestartRow{State::S2InTray, true},
                                         ShellRestartRow{State::S3AfterDoubleClick, true},
                                         ShellRestartRow{State::S4AfterOpenItem, false}),
                         [](const testing::TestParamInfo<ShellRestartRow>& info) { return std::string(Name(info.param.state)); });

// ---- Many round trips ----

void MinimiseAndRestore(HWND mainWindow) {
    Minimise(mainWindow);
    IconMessage(mainWindow, WM_LBUTTONDBLCLK);
}

TEST_F(Tray, TwoHundredMinimiseAndRestoreCyclesLeaveOneIconAndFlatMemory) {
    for (int i = 0; i < 20; ++i) MinimiseAndRestore(main);  // the shell connection, caches and heaps settle first
    RunQueuedMessages();
    const size_t before = PrivateBytes();
    ASSERT_GT(before, 0u);

    for (int i = 0; i < 200; ++i) {
        MinimiseAndRestore(main);
        RunQueuedMessages();
    }
    const size_t after = PrivateBytes();

    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_LE(after, before + 256 * 1024) << "private bytes grew from " << before << " to " << after;
    EXPECT_TRUE(TrayIconShown(main));
    EXPECT_TRUE(RemoveTrayIcon(main));
    EXPECT_FALSE(TrayIconShown(main)) << "more than one icon";
}

TEST_F(Tray, TwoHundredCyclesLeaveGdiObjectsFlat) {
    for (int i = 0; i < 20; ++i) MinimiseAndRestore(main);
    const int gdi = GdiObjectCount();
    if (gdi < 0) GTEST_SKIP() << "no way to count this process's GDI objects here";
    for (int i = 0; i < 200; ++i) MinimiseAndRestore(main);
    EXPECT_LE(GdiObjectCount(), gdi + 2);
}

// ---- The tooltip in every language ----

TEST_F(Tray, TooltipIsTheSameUnderEveryTextSet) {
    const int count = static_cast<int>(SendMessageA(program.Control(app::kComboBox2), CB_GETCOUNT, 0, 0));
    ASSERT_EQ(count, i18n::kLanguageListSize);
    for (int item = 1; item < count; ++item) {
        PickLanguage(program, item);
        Minimise(main);
        EXPECT_STREQ(Record().szTip, "Corvan v1.2") << "language item " << item;
        IconMessage(main, WM_LBUTTONDBLCLK);
    }
    EXPECT_TRUE(TrayIconShown(main));
}

}  // namespace
