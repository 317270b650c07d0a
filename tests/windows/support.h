#pragma once
// What the Windows tests share: the program's window in this process, corvan.exe and the stand-ins as
// real processes, waits on conditions, guards that put the prefix back as they found it, message boxes
// and popup menus caught and closed, real input, pictures read back, and the shell's open command.

#include "app/application.h"
#include "app/main_window.h"
#include "i18n/catalogue.h"
#include "platform/handles.h"

#include <windows.h>

#include <array>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace test {

using namespace std::chrono_literals;

// ---- Files ----

std::string ExeDirectory();  // the folder of the test executable, with corvan.exe and the stand-ins beside it
std::string CorvanExe();
std::string TempPath(const std::string& name);                // a file in this process's temporary folder
std::vector<std::string> FileLines(const std::string& path);  // none when the file is missing

// A copy of a file put where it does not belong for the life of the object. What lay there before (and
// the folder, when the copy had to create it) comes back at the end.
class PlantedFile {
public:
    PlantedFile(const std::string& from, std::string at);
    ~PlantedFile();
    PlantedFile(const PlantedFile&) = delete;
    PlantedFile& operator=(const PlantedFile&) = delete;
    bool Planted() const { return m_planted; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::string m_createdFolder;
    bool m_savedOriginal = false;
    bool m_planted = false;
};

// ---- Waiting on conditions ----

// Runs this thread's messages until `done` holds or the time is up; true when it held.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);
// Runs this thread's messages until none is left, including those that handling them posts: a marker
// message goes round until it comes back alone. What messages already sent or posted would do has been
// done when it returns, so a check after it that something did NOT happen needs no pause. True when a
// WM_QUIT came.
bool RunQueuedMessages(std::chrono::milliseconds limit = 5s);
bool PumpUntilQuit(std::chrono::milliseconds limit = 5s);  // true when WM_QUIT came within the time
// For what must not happen in another process, whose queue this thread cannot run: pumps for the whole
// duration and returns false as soon as `holds` stops holding.
bool HoldsThroughout(std::chrono::milliseconds duration, const std::function<bool()>& holds);

// ---- The program's window in this process ----

// The application object and main window, created in this process as corvan.exe creates them, and
// shown and active when the constructor returns.
struct ProgramWindow {
    app::Application application{GetModuleHandleW(nullptr)};
    app::TForm1 form{application};
    ProgramWindow();
    HWND Control(app::ControlId id) const { return form.Control(id); }
};

HWND ApplicationWindowOf(HWND mainWindow);  // the main window's owner, which carries the taskbar button
// Brings a window to the front and waits until the system reports it there.
void BringToFront(HWND window);

// Runs the application's own message loop (with its dialog manager) until `done` holds or the time is up.
bool RunLoopUntil(app::Application& application, const std::function<bool()>& done, std::chrono::milliseconds limit = 5s);
// Runs the application's own loop until it has handled everything queued, keys and clicks included:
// its timer message comes only when nothing else waits.
void RunLoopUntilIdle(app::Application& application);

// What a control tells its window when the user works it (BN_CLICKED, CBN_SELCHANGE, STN_CLICKED, ...).
void Notify(ProgramWindow& program, app::ControlId id, WORD code);
// Picks item `index` of the language list as a user would: the selection moves and the list tells the
// window, whose handler then runs.
void PickLanguage(ProgramWindow& program, int index);

// The twelve texts of a set in slot order, as the text stores hold them.
using Slots = std::array<std::wstring, 12>;
Slots SlotTexts(i18n::TextSet set);

std::wstring WideText(HWND window);
std::string AnsiText(HWND window);
std::string ClassNameOf(HWND window);
std::wstring WideItem(HWND combo, int index);  // "(none)" when there is no such item
std::string AnsiItem(HWND combo, int index);
std::vector<std::wstring> WideItems(HWND combo);
std::vector<std::string> AnsiItems(HWND combo);
std::wstring MenuCaption(HMENU menu, UINT item);
HWND TooltipOf(HWND owner);    // the tooltip control of this thread that `owner` owns
HWND FocusOf(DWORD threadId);  // the window with the keyboard focus in any process's thread
// Shown by its own style: Wine's IsWindowVisible sees no window of another desktop as visible.
bool Shown(HWND window);
POINT CentreOf(HWND window);  // on the screen

// ---- Other processes ----

// A process started from an executable; ended at destruction if still running.
class Process {
public:
    // On the named desktop of this window station, or on this process's own.
    Process(const std::string& path, const std::string& arguments = {}, const std::string& desktop = {});
    ~Process();
    Process(Process&&) = default;
    DWORD Id() const { return m_id; }
    bool WaitForExit(std::chrono::milliseconds limit);
    DWORD ExitCode() const;
    bool Running() const;

private:
    platform::UniqueHandle m_process;
    DWORD m_id = 0;
};

// The visible top-level window of a class that a process owns, once it has appeared; on another
// desktop when one is given.
HWND WaitForWindow(DWORD processId, const wchar_t* windowClass, std::chrono::milliseconds limit = 15s, HDESK desktop = nullptr);
std::vector<HWND> TopLevelWindows(DWORD processId, HDESK desktop = nullptr);
std::vector<DWORD> ProcessesNamed(const std::string& imageName);  // exact image names
void StopProcessesNamed(const std::string& imageName);

// ---- What this process holds ----

// Private bytes: PrivateUsage where the system counts it, else PagefileUsage, where Wine reports them.
// 0 when the system tells nothing.
size_t PrivateBytes();
// The GDI objects: GetGuiResources where it counts them, else a walk of Wine's handle table (Wine takes
// a handle without its reuse count in the high word as the slot's current object). -1 when neither works.
// USER objects have no such count under Wine and go unchecked.
int GdiObjectCount();

// ---- The registry ----

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& path, const std::string& name, REGSAM view = 0);

// One registry value as it was, put back at destruction: its data and type, or its absence, and the
// keys on its path that did not exist before.
class SavedRegistryValue {
public:
    // An empty name is the default value; view KEY_WOW64_32KEY or KEY_WOW64_64KEY picks one of 64-bit Windows's views.
    SavedRegistryValue(HKEY root, std::string path, std::string name, REGSAM view = 0);
    ~SavedRegistryValue();
    SavedRegistryValue(const SavedRegistryValue&) = delete;
    SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;
    LONG Set(DWORD type, const void* data, DWORD size);  // creating the key when needed
    LONG SetString(const std::string& value);
    LONG Delete();

private:
    HKEY m_root;
    REGSAM m_view;
    std::string m_path;
    std::string m_name;
    std::string m_firstExisting;  // the deepest key of the path that already existed
    std::optional<RegistryValue> m_saved;
};

// ---- The client: HKCU\Software\Microsoft\MSNMessenger and the stand-in client ----
// Every test process starts without the client's key and ends with neither the key nor a running
// stand-in, whatever its test left behind.

void CreateClientKey();
void DeleteClientKey();
bool ClientKeyExists();
void SetServerValue(const std::string& value);
void SetServerValueOfType(DWORD type, const std::string& bytes);
std::string ServerValue();  // "(none)" when the value or key is missing
DWORD ServerValueType();

std::string ProgramFilesDirectory();
std::string ClientPath();  // where the program starts the client from

// Stops any running stand-in and installs it where the real client belongs; its log comes back through StandInLog().
void InstallStandIn(bool singleCopy = false);
std::vector<std::string> StandInLog();  // one line per start: "pid<TAB>value<TAB>path<TAB>folder"

// ---- Message boxes ----

// Records every message box this thread shows while alive, once each, and closes it with OK.
class BoxRecorder {
public:
    struct Box {
        std::string caption;
        std::string text;
        bool hasIcon;
        std::vector<int> buttons;  // ids of the visible push buttons
        bool ownerEnabled;         // false while the box is modal to its owner
        bool menuOpen;             // a popup menu of this thread was still on the screen
    };
    BoxRecorder();
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;
    const std::vector<Box>& Boxes() const;
};

// ---- Popup menus and the notification area ----

// While alive, watches for a popup menu opened by this thread: records it once per opening and hands
// it to an action (by default the menu is closed unchosen). Works inside the menu's own modal loop,
// which dispatches this thread's timer messages.
class PopupMenuWatcher {
public:
    struct Menu {
        std::vector<std::wstring> items;  // captions in order; separators as empty strings
        std::vector<UINT> ids;
        RECT rect;     // the menu window on the screen
        POINT cursor;  // the cursor when the menu was found
    };
    using Action = std::function<void(HWND menuWindow, HMENU menu)>;
    static void Close(HWND, HMENU) { EndMenu(); }
    // An action that chooses the item with this id by a real click of the given mouse button.
    static Action ClickItem(UINT id, DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP);

    explicit PopupMenuWatcher(Action action = &PopupMenuWatcher::Close);
    ~PopupMenuWatcher();
    PopupMenuWatcher(const PopupMenuWatcher&) = delete;
    PopupMenuWatcher& operator=(const PopupMenuWatcher&) = delete;
    const std::vector<Menu>& Menus() const { return m_menus; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    Action m_action;
    UINT_PTR m_timer = 0;
    HWND m_open = nullptr;
    std::vector<Menu> m_menus;
};

// Asks the shell whether the icon (window, id) is in the notification area: a modify request in the
// icon record's first form that changes nothing succeeds only while that icon exists.
bool TrayIconShown(HWND window, UINT id = app::kTrayIconId);
// The test's own add and remove requests for (window, id), as a restarting shell or a second program would make them.
bool AddTrayIcon(HWND window, UINT id = app::kTrayIconId);
bool RemoveTrayIcon(HWND window, UINT id = app::kTrayIconId);
// Screen point in the middle of the notification area's rightmost icon: where the first icon added sits.
POINT FirstTrayIconPoint();

// ---- Real input through the system's input queue, as a user's mouse and keyboard make it ----

void MouseClickAt(POINT screen, DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP, int clicks = 1);
void MouseButtonAt(POINT screen, DWORD flag);  // one press or one release
// Moves the cursor by real input and waits until the system reports it there and it stays there; true
// when it did.
bool MoveCursorTo(POINT screen);
void PressKeys(const std::vector<WORD>& keys);  // pressed in order, released in reverse order

// ---- Pictures read back from the system, as RGB() values row by row from the top ----

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool operator==(const Picture&) const = default;
};
void PrintTo(const Picture& picture, std::ostream* out);

Picture PictureOf(HBITMAP bitmap);                                 // any bitmap not selected into a DC
Picture PictureOfAlpha(HBITMAP bitmap, std::vector<BYTE>& alpha);  // also the fourth byte of each pixel
// What `draw` paints on a memory DC of the given size first filled with `ground`.
Picture DrawnPicture(int width, int height, COLORREF ground, const std::function<void(HDC)>& draw);
// Picture `index` of an image list drawn as ShowLanguageFlag draws it, on a 16 x 16 ground.
Picture ImageListPicture(HIMAGELIST images, int index, COLORREF ground = RGB(255, 255, 255));
// What a control draws of its client area when asked to print it into a memory DC first filled with `ground`.
Picture PrintedClient(HWND control, COLORREF ground);
// What the screen shows in a rectangle of screen coordinates.
Picture ScreenPixels(const RECT& screen);

// ---- The shell: the program's ShellExecuteA calls and the stand-in browser ----

// Records the program's calls of ShellExecuteA in this process and passes each on to the shell unchanged,
// by swapping the function's entry in the program's shell32 table while alive.
class ShellExecuteRecorder {
public:
    struct Call {
        HWND owner;
        std::string verb;  // "(null)" for a null verb
        std::string file;
        bool parametersNull;
        bool directoryNull;
        int show;
    };
    ShellExecuteRecorder();
    ~ShellExecuteRecorder();
    ShellExecuteRecorder(const ShellExecuteRecorder&) = delete;
    ShellExecuteRecorder& operator=(const ShellExecuteRecorder&) = delete;
    bool Installed() const;
    const std::vector<Call>& Calls() const;
};

// While alive, the stand-in browser (browser.exe beside the tests) is the open command of http and https
// addresses, with its log started afresh; the commands the prefix had come back at the end.
class BrowserStandIn {
public:
    BrowserStandIn();
    std::vector<std::string> Log() const;  // one line per start: "show<TAB>command line"
    bool AllEnded() const;                 // no browser it started still runs, so the log is complete

private:
    std::deque<SavedRegistryValue> m_openCommands;  // a deque: guards are made in place and never move
};

}  // namespace test
