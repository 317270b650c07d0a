#pragma once
// What the Windows tests share: the program's window in this process, corvan.exe and the stand-in
// client as real processes, the client's registry key, and message boxes caught and closed.

#include "app/application.h"
#include "app/main_window.h"
#include "platform/handles.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace test {

using namespace std::chrono_literals;

std::string ExeDirectory();  // the folder of the test executable, with corvan.exe and msnmsgr.exe beside it

// Runs the message loop of this thread until `done` holds or the time is up; true when it held.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s);
void Pump(std::chrono::milliseconds duration);

// The application object and main window, created in this process as corvan.exe creates them.
struct ProgramWindow {
    app::Application application{GetModuleHandleW(nullptr)};
    app::TForm1 form{application};
    ProgramWindow();
    HWND Control(app::ControlId id) const { return form.Control(id); }
};

// A process started from an executable; ended at destruction if still running.
class Process {
public:
    // On the named desktop of this window station, or on this process's own.
    Process(const std::string& path, const std::string& arguments = {}, const std::string& desktop = {});
    ~Process();
    Process(Process&&) = default;
    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_process.get(); }
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

// HKCU\Software\Microsoft\MSNMessenger: set up, taken away, and its "Server" value.
void CreateClientKey();
void DeleteClientKey();
void SetServerValue(const std::string& value);
void SetServerValueOfType(DWORD type, const std::string& bytes);
std::string ServerValue();  // "(none)" when the value or key is missing
DWORD ServerValueType();
bool ClientKeyExists();

std::string ProgramFilesDirectory();
std::string ClientPath();  // where the program starts the client from

// Installs the stand-in client where the real one belongs; its log comes back through StandInLog().
void InstallStandIn(bool singleCopy = false);
std::vector<std::string> StandInLog();  // one line per start: "pid<TAB>value"
std::vector<DWORD> ProcessesNamed(const std::string& imageName);  // exact image names
void StopProcessesNamed(const std::string& imageName);

// Catches every message box this thread shows, records it and closes it.
class MessageBoxCatcher {
public:
    struct Box {
        std::string caption;
        std::string text;
        LONG style;
    };
    MessageBoxCatcher();
    ~MessageBoxCatcher();
    const std::vector<Box>& Boxes() const;
};

// Pixels read back from the system, as 0x00RRGGBB, row by row from the top.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // RGB() values
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Picture PictureOf(HBITMAP bitmap);                                 // any bitmap not selected into a DC
Picture PictureOfAlpha(HBITMAP bitmap, std::vector<BYTE>& alpha);  // also the fourth byte of each pixel
// What `draw` paints on a memory DC of the given size first filled with `ground`.
Picture DrawnPicture(int width, int height, COLORREF ground, const std::function<void(HDC)>& draw);
// What a control draws of its client area when asked to print it into a memory DC first filled with `ground`.
Picture PrintedClient(HWND control, COLORREF ground);
// What the screen shows in a rectangle of screen coordinates.
Picture ScreenPixels(const RECT& screen);

// Runs the application's own message loop (with its dialog manager) until `done` holds or the time is up.
bool RunLoopUntil(app::Application& application, const std::function<bool()>& done, std::chrono::milliseconds limit = 5s);
// One key pressed and released as the user would, optionally with Shift held.
void PressKey(WORD key, bool shift = false);

// The tooltip control of this thread that `owner` owns.
HWND TooltipOf(HWND owner);

std::string ClassNameOf(HWND window);

// The GDI objects this process holds: GetGuiResources where it counts them, else a walk of Wine's
// handle table (Wine takes a handle without its reuse count in the high word as the slot's current
// object). -1 when neither works.
int GdiObjectCount();

// Picks item `index` of the language list as a user would: the selection moves and the list tells the
// window, whose handler then runs.
void PickLanguage(ProgramWindow& program, int index);

std::wstring WideText(HWND window);
std::wstring MenuCaption(HMENU menu, UINT item);

// A bitmap's pixels, top row first, as 0x00RRGGBB; and picture `index` of an image list drawn as
// ShowLanguageFlag draws it, on a white 16 x 16 bitmap.
std::vector<DWORD> Pixels(HBITMAP bitmap);
std::vector<DWORD> ImageListPicture(HIMAGELIST images, int index);
// What `paint` draws on a white bitmap of the given size, as Pixels gives it.
std::vector<DWORD> DrawnOnWhite(int width, int height, const std::function<void(HDC)>& paint);

}  // namespace test

// ---- The notification area, popup menus, real input, message boxes in full, and the shell's open command ----

#include <initializer_list>

namespace test {

// Asks the shell whether the icon (window, id) is in the notification area: a modify request in the
// icon record's first form that changes nothing succeeds only while that icon exists.
bool TrayIconShown(HWND window, UINT id = app::kTrayIconId);
// The test's own add and remove requests for (window, id), as a restarting shell or a second program would make them.
bool AddTrayIcon(HWND window, UINT id = app::kTrayIconId);
bool RemoveTrayIcon(HWND window, UINT id = app::kTrayIconId);
// Screen point in the middle of the notification area's rightmost icon: where the first icon added sits.
POINT FirstTrayIconPoint();

// Real input through the system's input queue, as a user's mouse and keyboard make it.
void MouseClickAt(POINT screen, DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP, int clicks = 1);
void MouseButtonAt(POINT screen, DWORD flag);  // one press or one release
// Moves the cursor by real input and waits until the system reports it there and it stays there; true
// when it did.
bool MoveCursorTo(POINT screen);
void PressKeys(std::initializer_list<WORD> keys);  // pressed in order, released in reverse order

// Pumps this thread's messages until WM_QUIT comes; true when it came within the time.
bool PumpUntilQuit(std::chrono::milliseconds limit = 5s);

// Private bytes of this process (Wine reports them as PagefileUsage and leaves PrivateUsage at 0).
size_t PrivateBytes();

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

// Records every message box this thread shows, with what MessageBoxCatcher leaves out, and closes it with OK.
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

// Records the program's calls of ShellExecuteA in this process and passes each on to the shell unchanged,
// by swapping the function's entry in the test executable's import table while alive.
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

// Registers the stand-in browser (browser.exe beside the tests) as the open command of http and https
// addresses and starts its log afresh; the log has one line per start: "show<TAB>command line".
void InstallBrowserStandIn();
std::vector<std::string> BrowserLog();

}  // namespace test
