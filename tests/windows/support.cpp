#include "support.h"

#include "messenger/server_value.h"
#include "platform/system_library.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <utility>

namespace test {

// ---- Files ----

std::string ExeDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\'));
}

std::string CorvanExe() { return ExeDirectory() + "\\corvan.exe"; }

std::string TempPath(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return temp + name;
}

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

namespace {

std::string ParentOf(const std::string& path) {
    const size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string SavedOriginalOf(const std::string& path) { return path + ".corvan-test-saved"; }

}  // namespace

PlantedFile::PlantedFile(const std::string& from, std::string at) : m_path(std::move(at)) {
    if (CreateDirectoryA(ParentOf(m_path).c_str(), nullptr)) m_createdFolder = ParentOf(m_path);
    m_savedOriginal = MoveFileExA(m_path.c_str(), SavedOriginalOf(m_path).c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    m_planted = CopyFileA(from.c_str(), m_path.c_str(), FALSE) != FALSE;
}

PlantedFile::~PlantedFile() {
    DeleteFileA(m_path.c_str());
    if (m_savedOriginal) MoveFileExA(SavedOriginalOf(m_path).c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!m_createdFolder.empty()) RemoveDirectoryA(m_createdFolder.c_str());
}

// ---- Waiting on conditions ----

namespace {

constexpr UINT kMarkerMessage = WM_APP + 0x3A7;
bool g_markerBack = false;

LRESULT CALLBACK MarkerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kMarkerMessage) {
        g_markerBack = true;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A window of its own for the marker: a message box's or menu's modal loop dispatches it too, where
// a thread message would be dropped.
HWND MarkerWindow() {
    static const HWND window = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &MarkerWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"CorvanTestMarker";
        RegisterClassW(&windowClass);
        return CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance,
                               nullptr);
    }();
    return window;
}

// Dispatches what this thread's queue holds now, counting what is neither a timer tick nor the marker;
// true when a WM_QUIT came, which it takes and stops at.
bool Drain(int* counted = nullptr) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return true;
        if (counted && message.message != WM_TIMER && message.hwnd != MarkerWindow()) ++*counted;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return false;
}

void WaitForMessage() { MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT); }

}  // namespace

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;; WaitForMessage()) {
        Drain();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
    }
}

bool RunQueuedMessages(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        g_markerBack = false;
        PostMessageW(MarkerWindow(), kMarkerMessage, 0, 0);
        int others = 0;
        for (;; WaitForMessage()) {
            if (Drain(&others)) return true;
            if (g_markerBack) break;
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "this thread's messages did not run dry within " << limit.count() << " ms";
                return false;
            }
        }
        if (others == 0) return false;
    }
}

bool PumpUntilQuit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;; WaitForMessage()) {
        if (Drain()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
    }
}

bool HoldsThroughout(std::chrono::milliseconds duration, const std::function<bool()>& holds) {
    return !PumpUntil([&] { return !holds(); }, duration);
}

// ---- The program's window in this process ----

ProgramWindow::ProgramWindow() {
    application.Initialize();
    application.SetTitle(app::kApplicationTitle);
    form.Create();
    form.Show();
    const HWND main = form.Handle();
    PumpUntil([&] { return IsWindowVisible(main) && GetForegroundWindow() == main && IsChild(main, GetFocus()); }, 5s);
}

HWND ApplicationWindowOf(HWND mainWindow) { return GetWindow(mainWindow, GW_OWNER); }

void BringToFront(HWND window) {
    SetForegroundWindow(window);
    PumpUntil([&] { return GetForegroundWindow() == window; }, 3s);
}

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// The top-level windows of this thread, and the first of them that `wanted` picks.
HWND ThreadWindow(const std::function<bool(HWND)>& wanted) {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    const auto found = std::find_if(windows.begin(), windows.end(), wanted);
    return found == windows.end() ? nullptr : *found;
}

std::function<bool()> g_loopDone;
std::chrono::steady_clock::time_point g_loopDeadline;

void CALLBACK CheckLoop(HWND, UINT, UINT_PTR, DWORD) {
    if (g_loopDone() || std::chrono::steady_clock::now() > g_loopDeadline) PostQuitMessage(0);
}

}  // namespace

bool RunLoopUntil(app::Application& application, const std::function<bool()>& done, std::chrono::milliseconds limit) {
    g_loopDone = done;
    g_loopDeadline = std::chrono::steady_clock::now() + limit;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &CheckLoop);
    application.Run();
    KillTimer(nullptr, timer);
    return done();
}

void RunLoopUntilIdle(app::Application& application) {
    RunLoopUntil(application, [] { return HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0; });
}

void Notify(ProgramWindow& program, app::ControlId id, WORD code) {
    SendMessageW(program.form.Handle(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(program.Control(id)));
}

void PickLanguage(ProgramWindow& program, int index) {
    SendMessageA(program.Control(app::kComboBox2), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(program, app::kComboBox2, CBN_SELCHANGE);
}

Slots SlotTexts(i18n::TextSet set) {
    static_assert(i18n::kSlotCount == std::tuple_size_v<Slots>);
    Slots slots;
    for (int slot = 0; slot < i18n::kSlotCount; ++slot) {
        slots[static_cast<size_t>(slot)] = platform::FromUtf8(i18n::SlotText(i18n::TextsOf(set), static_cast<i18n::Slot>(slot)).utf8);
    }
    return slots;
}

std::wstring WideText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(wcslen(text.c_str()));
    return text;
}

std::string AnsiText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(strlen(text.c_str()));
    return text;
}

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::wstring WideItem(HWND combo, int index) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return L"(none)";
    std::wstring item(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
    item.resize(wcslen(item.c_str()));
    return item;
}

std::string AnsiItem(HWND combo, int index) {
    const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return "(none)";
    std::string item(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.data()));
    item.resize(strlen(item.c_str()));
    return item;
}

std::vector<std::wstring> WideItems(HWND combo) {
    std::vector<std::wstring> items;
    const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) items.push_back(WideItem(combo, item));
    return items;
}

std::vector<std::string> AnsiItems(HWND combo) {
    std::vector<std::string> items;
    const auto count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) items.push_back(AnsiItem(combo, item));
    return items;
}

std::wstring MenuCaption(HMENU menu, UINT item) {
    const int length = GetMenuStringW(menu, item, nullptr, 0, MF_BYCOMMAND);
    std::wstring caption(static_cast<size_t>(length), L'\0');
    GetMenuStringW(menu, item, caption.data(), length + 1, MF_BYCOMMAND);
    return caption;
}

HWND TooltipOf(HWND owner) {
    return ThreadWindow(
        [&](HWND window) { return ClassNameOf(window) == "tooltips_class32" && GetWindow(window, GW_OWNER) == owner; });
}

HWND FocusOf(DWORD threadId) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId, &info) ? info.hwndFocus : nullptr;
}

bool Shown(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

POINT CentreOf(HWND window) {
    RECT box{};
    GetWindowRect(window, &box);
    return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

// ---- Other processes ----

Process::Process(const std::string& path, const std::string& arguments, const std::string& desktop) {
    std::string commandLine = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    std::string desktopName = desktop;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!desktopName.empty()) startup.lpDesktop = desktopName.data();
    PROCESS_INFORMATION info{};
    if (CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        m_process.reset(info.hProcess);
        m_id = info.dwProcessId;
    }
}

Process::~Process() {
    if (m_process && Running()) {
        TerminateProcess(m_process.get(), 1);
        WaitForSingleObject(m_process.get(), 5000);
    }
}

bool Process::WaitForExit(std::chrono::milliseconds limit) {
    return m_process && WaitForSingleObject(m_process.get(), static_cast<DWORD>(limit.count())) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process.get(), &code);
    return code;
}

bool Process::Running() const { return m_process && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT; }

std::vector<HWND> TopLevelWindows(DWORD processId, HDESK desktop) {
    std::vector<HWND> windows;
    if (desktop)
        EnumDesktopWindows(desktop, &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    else
        EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
    std::erase_if(windows, [&](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        return owner != processId;
    });
    return windows;
}

HWND WaitForWindow(DWORD processId, const wchar_t* windowClass, std::chrono::milliseconds limit, HDESK desktop) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId, desktop)) {
                wchar_t name[64] = {};
                GetClassNameW(window, name, 64);
                const bool visible = desktop ? Shown(window) : IsWindowVisible(window) != FALSE;
                if (std::wstring(name) == windowClass && visible) found = window;
            }
            return found != nullptr;
        },
        limit);
    return found;
}

std::vector<DWORD> ProcessesNamed(const std::string& imageName) {
    std::vector<DWORD> found;
    const platform::UniqueHandle snapshot = platform::OwnFileHandle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    const std::wstring wanted(imageName.begin(), imageName.end());
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (wanted == entry.szExeFile) found.push_back(entry.th32ProcessID);
    }
    return found;
}

void StopProcessesNamed(const std::string& imageName) {
    for (DWORD id : ProcessesNamed(imageName)) {
        const platform::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (!process) continue;
        TerminateProcess(process.get(), 0);
        WaitForSingleObject(process.get(), 5000);
    }
}

// ---- What this process holds ----

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return 0;
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

namespace {

int WalkGdiTable() {
    int count = 0;
    for (UINT_PTR slot = 1; slot <= 0xFFFF; ++slot) count += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
    return count;
}

}  // namespace

int GdiObjectCount() {
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(counted);
    // The walk must see a new object, or it counts nothing.
    const int before = WalkGdiTable();
    const platform::UniqueBrush probe(CreateSolidBrush(RGB(1, 2, 3)));
    return WalkGdiTable() == before + 1 ? before : -1;
}

// ---- The registry ----

namespace {

bool KeyExists(HKEY root, const std::string& path, REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& path, const std::string& name, REGSAM view) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) return std::nullopt;
    const platform::UniqueKey key(opened);
    RegistryValue value;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    value.data.resize(size);
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

SavedRegistryValue::SavedRegistryValue(HKEY root, std::string path, std::string name, REGSAM view)
    : m_root(root), m_view(view), m_path(std::move(path)), m_name(std::move(name)), m_firstExisting(m_path) {
    while (!m_firstExisting.empty() && !KeyExists(m_root, m_firstExisting, m_view)) m_firstExisting = ParentOf(m_firstExisting);
    m_saved = ReadRegistryValue(m_root, m_path, m_name, m_view);
}

SavedRegistryValue::~SavedRegistryValue() {
    if (m_saved)
        Set(m_saved->type, m_saved->data.data(), static_cast<DWORD>(m_saved->data.size()));
    else
        Delete();
    // RegDeleteKey takes only keys without subkeys: what the test created, from the deepest up.
    for (std::string key = m_path; !key.empty() && key != m_firstExisting; key = ParentOf(key))
        RegDeleteKeyExA(m_root, key.c_str(), m_view, 0);
}

LONG SavedRegistryValue::Set(DWORD type, const void* data, DWORD size) {
    HKEY created = nullptr;
    const LONG status = RegCreateKeyExA(m_root, m_path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | m_view, nullptr, &created, nullptr);
    if (status != ERROR_SUCCESS) return status;
    const platform::UniqueKey key(created);
    return RegSetValueExA(key.get(), m_name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

LONG SavedRegistryValue::SetString(const std::string& value) {
    return Set(REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

LONG SavedRegistryValue::Delete() {
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(m_root, m_path.c_str(), 0, KEY_SET_VALUE | m_view, &opened);
    if (status != ERROR_SUCCESS) return status;
    const platform::UniqueKey key(opened);
    return RegDeleteValueA(key.get(), m_name.c_str());
}

// ---- The client ----

namespace {

constexpr char kClientKeyPath[] = "Software\\Microsoft\\MSNMessenger";

std::string StandInLogPath() { return TempPath("corvan-standin.log"); }

// A value of the wrong type left in the prefix's registry would hold the window's start-up behind an
// error box; a stand-in left running would be counted by the next test.
class FreshClientSetting : public testing::Environment {
public:
    void SetUp() override { DeleteClientKey(); }
    void TearDown() override {
        StopProcessesNamed("msnmsgr.exe");
        DeleteClientKey();
    }
};

const testing::Environment* const kFreshClientSetting = testing::AddGlobalTestEnvironment(new FreshClientSetting);

}  // namespace

void CreateClientKey() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kClientKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);
}

void DeleteClientKey() { RegDeleteKeyA(HKEY_CURRENT_USER, kClientKeyPath); }

bool ClientKeyExists() { return KeyExists(HKEY_CURRENT_USER, kClientKeyPath); }

void SetServerValueOfType(DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, kClientKeyPath, 0, KEY_SET_VALUE, &key);
    RegSetValueExA(key, "Server", 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void SetServerValue(const std::string& value) { SetServerValueOfType(REG_SZ, std::string(value.c_str(), value.size() + 1)); }

std::string ServerValue() {
    const auto read = ReadRegistryValue(HKEY_CURRENT_USER, kClientKeyPath, "Server");
    if (!read) return "(none)";
    std::string value(read->data.begin(), read->data.end());
    if (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
}

DWORD ServerValueType() {
    const auto read = ReadRegistryValue(HKEY_CURRENT_USER, kClientKeyPath, "Server");
    return read ? read->type : REG_NONE;
}

std::string ProgramFilesDirectory() {
    // The folder of 32-bit programs, where the client lives, whatever this test program's own bitness.
    const auto read = ReadRegistryValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                                        KEY_WOW64_32KEY);
    if (!read) return {};
    return std::string(read->data.begin(), std::find(read->data.begin(), read->data.end(), '\0'));
}

std::string ClientPath() { return ProgramFilesDirectory() + "\\MSN Messenger\\msnmsgr.exe"; }

void InstallStandIn(bool singleCopy) {
    StopProcessesNamed("msnmsgr.exe");  // a running copy would keep its file from being replaced
    CreateDirectoryA((ProgramFilesDirectory() + "\\MSN Messenger").c_str(), nullptr);
    CopyFileA((ExeDirectory() + "\\msnmsgr.exe").c_str(), ClientPath().c_str(), FALSE);
    DeleteFileA(StandInLogPath().c_str());
    SetEnvironmentVariableA("CORVAN_STANDIN_LOG", StandInLogPath().c_str());
    SetEnvironmentVariableA("CORVAN_STANDIN_SINGLE", singleCopy ? "1" : nullptr);
}

std::vector<std::string> StandInLog() { return FileLines(StandInLogPath()); }

// ---- Message boxes ----

namespace {

std::vector<BoxRecorder::Box> g_boxes;
std::set<HWND> g_boxesOnScreen;  // each box is recorded once, however often it is activated
HHOOK g_boxHook = nullptr;

// The visible popup menu window of this thread, if one is open.
HWND OpenMenuWindow() {
    return ThreadWindow([](HWND window) { return ClassNameOf(window) == "#32768" && IsWindowVisible(window); });
}

BoxRecorder::Box ReadBox(HWND window) {
    BoxRecorder::Box box{};
    box.caption = AnsiText(window);
    box.text = AnsiText(GetDlgItem(window, 0xFFFF));
    // The box itself is not on the screen yet: what counts is each control's own visible style.
    const auto shown = [](HWND control) { return control && (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE); };
    for (int id : {0x0014, 0x0440}) {  // the icon's static control: 0x0014 on Windows, 0x0440 on Wine
        const HWND icon = GetDlgItem(window, id);
        if (shown(icon) && SendMessageA(icon, STM_GETICON, 0, 0)) box.hasIcon = true;
    }
    for (int id = IDOK; id <= IDCONTINUE; ++id) {
        if (shown(GetDlgItem(window, id))) box.buttons.push_back(id);
    }
    const HWND owner = GetWindow(window, GW_OWNER);
    box.ownerEnabled = owner && IsWindowEnabled(owner);
    box.menuOpen = OpenMenuWindow() != nullptr;
    return box;
}

LRESULT CALLBACK RecordBox(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && ClassNameOf(window) == "#32770" && g_boxesOnScreen.insert(window).second) {
        g_boxes.push_back(ReadBox(window));
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    if (code == HCBT_DESTROYWND) g_boxesOnScreen.erase(window);
    return CallNextHookEx(g_boxHook, code, wParam, lParam);
}

}  // namespace

BoxRecorder::BoxRecorder() {
    g_boxes.clear();
    g_boxesOnScreen.clear();
    g_boxHook = SetWindowsHookExA(WH_CBT, RecordBox, nullptr, GetCurrentThreadId());
}

BoxRecorder::~BoxRecorder() { UnhookWindowsHookEx(g_boxHook); }

const std::vector<BoxRecorder::Box>& BoxRecorder::Boxes() const { return g_boxes; }

// ---- Popup menus and the notification area ----

namespace {

PopupMenuWatcher* g_watcher = nullptr;

NOTIFYICONDATAA IconRequest(HWND window, UINT id) {
    NOTIFYICONDATAA request{};
    request.cbSize = NOTIFYICONDATAA_V1_SIZE;
    request.hWnd = window;
    request.uID = id;
    return request;
}

}  // namespace

PopupMenuWatcher::Action PopupMenuWatcher::ClickItem(UINT id, DWORD downFlag, DWORD upFlag) {
    return [=](HWND, HMENU menu) {
        for (int position = 0; position < GetMenuItemCount(menu); ++position) {
            if (GetMenuItemID(menu, position) != id) continue;
            RECT item{};
            GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &item);
            MouseClickAt({(item.left + item.right) / 2, (item.top + item.bottom) / 2}, downFlag, upFlag);
            return;
        }
        EndMenu();  // no such item: close the menu rather than leave the test hanging in it
    };
}

PopupMenuWatcher::PopupMenuWatcher(Action action) : m_action(std::move(action)) {
    g_watcher = this;
    m_timer = SetTimer(nullptr, 0, 20, &PopupMenuWatcher::Tick);
}

PopupMenuWatcher::~PopupMenuWatcher() {
    KillTimer(nullptr, m_timer);
    g_watcher = nullptr;
}

void CALLBACK PopupMenuWatcher::Tick(HWND, UINT, UINT_PTR, DWORD) {
    PopupMenuWatcher* self = g_watcher;
    if (!self) return;
    const HWND window = OpenMenuWindow();
    if (!window || window == self->m_open) {
        self->m_open = window;
        return;
    }
    self->m_open = window;
    Menu seen{};
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        wchar_t caption[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), caption, static_cast<int>(std::size(caption)), MF_BYPOSITION);
        seen.items.push_back(caption);
        seen.ids.push_back(GetMenuItemID(menu, position));
    }
    GetWindowRect(window, &seen.rect);
    GetCursorPos(&seen.cursor);
    self->m_menus.push_back(seen);
    self->m_action(window, menu);
}

bool TrayIconShown(HWND window, UINT id) {
    NOTIFYICONDATAA request = IconRequest(window, id);
    return Shell_NotifyIconA(NIM_MODIFY, &request) != FALSE;
}

bool AddTrayIcon(HWND window, UINT id) {
    NOTIFYICONDATAA request = IconRequest(window, id);
    request.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    request.uCallbackMessage = WM_APP;
    request.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    strcpy_s(request.szTip, sizeof request.szTip, "test icon");
    return Shell_NotifyIconA(NIM_ADD, &request) != FALSE;
}

bool RemoveTrayIcon(HWND window, UINT id) {
    NOTIFYICONDATAA request = IconRequest(window, id);
    return Shell_NotifyIconA(NIM_DELETE, &request) != FALSE;
}

POINT FirstTrayIconPoint() {
    // Wine's taskbar lines its icons up from the right edge, each a small icon plus a 2-pixel border around it.
    RECT tray{};
    GetWindowRect(FindWindowW(L"Shell_TrayWnd", nullptr), &tray);
    const int slot = GetSystemMetrics(SM_CXSMICON) + 4;
    return {tray.right - slot / 2, (tray.top + tray.bottom) / 2};
}

// ---- Real input ----

namespace {

INPUT MouseInput(POINT screen, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    input.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

INPUT KeyInput(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

}  // namespace

void MouseButtonAt(POINT screen, DWORD flag) {
    INPUT input = MouseInput(screen, flag);
    SendInput(1, &input, sizeof input);
}

bool MoveCursorTo(POINT screen) {
    const auto there = [&] {
        POINT cursor{};
        GetCursorPos(&cursor);
        return cursor.x == screen.x && cursor.y == screen.y;
    };
    // SetCursorPos does not always take under Wine once another process has moved the pointer by input,
    // and input an earlier test sent may still arrive afterwards and move it back: move until it stays
    // past the 100 ms after which Wine asks the display itself.
    for (int attempt = 0; attempt < 3; ++attempt) {
        MouseButtonAt(screen, 0);
        if (PumpUntil(there, 2s) && HoldsThroughout(200ms, there)) return true;
    }
    return false;
}

void MouseClickAt(POINT screen, DWORD downFlag, DWORD upFlag, int clicks) {
    std::vector<INPUT> inputs{MouseInput(screen, 0)};
    for (int i = 0; i < clicks; ++i) {
        inputs.push_back(MouseInput(screen, downFlag));
        inputs.push_back(MouseInput(screen, upFlag));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) inputs.push_back(KeyInput(key, 0));
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) inputs.push_back(KeyInput(*key, KEYEVENTF_KEYUP));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// ---- Pictures ----

namespace {

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// 0x00RRGGBB as the DIB stores it (blue first) to RGB().
COLORREF FromDib(DWORD pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

Picture FromDibBits(int width, int height, const DWORD* bits) {
    Picture picture{width, height, {}};
    picture.pixels.reserve(static_cast<size_t>(width) * height);
    for (int i = 0; i < width * height; ++i) picture.pixels.push_back(FromDib(bits[i]));
    return picture;
}

// A 32-bit top-down DIB section selected into a memory DC for the life of the object.
struct DibCanvas {
    DibCanvas(int width, int height) : width(width), height(height) {
        BITMAPINFO info = TopDown32(width, height);
        bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
        dc.reset(CreateCompatibleDC(nullptr));
        previous = SelectObject(dc.get(), bitmap.get());
    }
    ~DibCanvas() { SelectObject(dc.get(), previous); }
    Picture Read() {
        GdiFlush();
        return FromDibBits(width, height, bits);
    }
    int width, height;
    DWORD* bits = nullptr;
    platform::UniqueBitmap bitmap;
    platform::UniqueDc dc;
    HGDIOBJ previous = nullptr;
};

}  // namespace

void PrintTo(const Picture& picture, std::ostream* out) { *out << picture.width << " x " << picture.height << " picture"; }

Picture PictureOfAlpha(HBITMAP bitmap, std::vector<BYTE>& alpha) {
    BITMAP header{};
    alpha.clear();
    if (!bitmap || !GetObjectW(bitmap, sizeof header, &header)) return {};
    BITMAPINFO info = TopDown32(header.bmWidth, header.bmHeight);
    std::vector<DWORD> bits(static_cast<size_t>(header.bmWidth) * header.bmHeight);
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(header.bmHeight), bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (DWORD pixel : bits) alpha.push_back(static_cast<BYTE>(pixel >> 24));
    return FromDibBits(header.bmWidth, header.bmHeight, bits.data());
}

Picture PictureOf(HBITMAP bitmap) {
    std::vector<BYTE> alpha;
    return PictureOfAlpha(bitmap, alpha);
}

Picture DrawnPicture(int width, int height, COLORREF ground, const std::function<void(HDC)>& draw) {
    DibCanvas canvas(width, height);
    const platform::UniqueBrush brush(CreateSolidBrush(ground));
    const RECT whole{0, 0, width, height};
    FillRect(canvas.dc.get(), &whole, brush.get());
    draw(canvas.dc.get());
    return canvas.Read();
}

Picture ImageListPicture(HIMAGELIST images, int index, COLORREF ground) {
    return DrawnPicture(16, 16, ground, [&](HDC dc) { ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL); });
}

Picture PrintedClient(HWND control, COLORREF ground) {
    RECT client{};
    GetClientRect(control, &client);
    return DrawnPicture(client.right, client.bottom, ground,
                        [&](HDC dc) { SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT); });
}

Picture ScreenPixels(const RECT& screen) {
    DibCanvas canvas(screen.right - screen.left, screen.bottom - screen.top);
    const HDC desktop = GetDC(nullptr);
    BitBlt(canvas.dc.get(), 0, 0, canvas.width, canvas.height, desktop, screen.left, screen.top, SRCCOPY);
    ReleaseDC(nullptr, desktop);
    return canvas.Read();
}

// ---- The shell ----

namespace {

using ShellExecuteAFunction = decltype(platform::Shell32::ShellExecuteA);
ShellExecuteAFunction g_realShellExecute = nullptr;
std::vector<ShellExecuteRecorder::Call> g_shellCalls;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    g_shellCalls.push_back(
        {owner, verb ? verb : "(null)", file ? file : "(null)", parameters == nullptr, directory == nullptr, show});
    return g_realShellExecute(owner, verb, file, parameters, directory, show);
}

std::string BrowserLogPath() { return TempPath("corvan-browser.log"); }

}  // namespace

ShellExecuteRecorder::ShellExecuteRecorder() {
    g_shellCalls.clear();
    g_realShellExecute = std::exchange(platform::Shell().ShellExecuteA, &RecordShellExecute);
}

ShellExecuteRecorder::~ShellExecuteRecorder() {
    platform::Shell().ShellExecuteA = g_realShellExecute;
    g_realShellExecute = nullptr;
}

bool ShellExecuteRecorder::Installed() const { return g_realShellExecute != nullptr; }

const std::vector<ShellExecuteRecorder::Call>& ShellExecuteRecorder::Calls() const { return g_shellCalls; }

BrowserStandIn::BrowserStandIn() {
    const std::string command = messenger::QuotedCommandLine(ExeDirectory() + "\\browser.exe") + " \"%1\"";
    for (const char* scheme : {"http", "https"}) {
        const std::string path = std::string(scheme) + "\\shell\\open\\command";
        // The user's own association, which Windows prefers; Wine 8's shell reads only the merged
        // classes root, whose writes land in the machine's classes of this private prefix.
        m_openCommands.emplace_back(HKEY_CURRENT_USER, "Software\\Classes\\" + path, "").SetString(command);
        m_openCommands.emplace_back(HKEY_CLASSES_ROOT, path, "").SetString(command);
    }
    DeleteFileA(BrowserLogPath().c_str());
    SetEnvironmentVariableA("CORVAN_BROWSER_LOG", BrowserLogPath().c_str());
}

std::vector<std::string> BrowserStandIn::Log() const { return FileLines(BrowserLogPath()); }

bool BrowserStandIn::AllEnded() const { return ProcessesNamed("browser.exe").empty(); }

}  // namespace test
