#include "support.h"

#include "messenger/server_value.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <fstream>
#include <sstream>
#include <thread>

namespace test {
namespace {

constexpr char kClientKeyPath[] = "Software\\Microsoft\\MSNMessenger";

std::string LogPath() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "corvan-standin.log";
}

std::vector<MessageBoxCatcher::Box> g_boxes;
HHOOK g_hook = nullptr;

LRESULT CALLBACK CatchBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        const auto window = reinterpret_cast<HWND>(wParam);
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::string(className) == "#32770") {
            char caption[256] = {};
            GetWindowTextA(window, caption, sizeof caption);
            const HWND textControl = GetDlgItem(window, 0xFFFF);
            std::string text(static_cast<size_t>(GetWindowTextLengthA(textControl)) + 1, '\0');
            GetWindowTextA(textControl, text.data(), static_cast<int>(text.size()));
            text.resize(strlen(text.c_str()));
            bool hasIcon = false;  // the icon's static control: 0x0014 on Windows, 0x0440 on Wine
            for (int id : {0x0014, 0x0440}) {
                const HWND icon = GetDlgItem(window, id);
                if (icon && SendMessageA(icon, STM_GETICON, 0, 0)) hasIcon = true;
            }
            g_boxes.push_back({caption, text, hasIcon ? MB_ICONERROR : 0});
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

std::string ExeDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\'));
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Pump(std::chrono::milliseconds duration) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    PumpUntil([&] { return std::chrono::steady_clock::now() > deadline; }, duration + 1s);
}

ProgramWindow::ProgramWindow() {
    application.Initialize();
    application.SetTitle(app::kApplicationTitle);
    form.Create();
    form.Show();
    Pump(100ms);
}

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
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    struct Collect {
        static BOOL CALLBACK Window(HWND window, LPARAM context) {
            auto* search = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search->processId) search->found.push_back(window);
            return TRUE;
        }
    };
    if (desktop) {
        EnumDesktopWindows(desktop, &Collect::Window, reinterpret_cast<LPARAM>(&search));
    } else {
        EnumWindows(&Collect::Window, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

HWND WaitForWindow(DWORD processId, const wchar_t* windowClass, std::chrono::milliseconds limit, HDESK desktop) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId, desktop)) {
                wchar_t name[64] = {};
                GetClassNameW(window, name, 64);
                // Wine's IsWindowVisible sees no window of another desktop as visible: its style tells there.
                const bool visible =
                    desktop ? (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0 : IsWindowVisible(window) != FALSE;
                if (std::wstring(name) == windowClass && visible) found = window;
            }
            return found != nullptr;
        },
        limit);
    return found;
}

void CreateClientKey() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kClientKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);
}

void DeleteClientKey() { RegDeleteKeyA(HKEY_CURRENT_USER, kClientKeyPath); }

bool ClientKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kClientKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void SetServerValueOfType(DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, kClientKeyPath, 0, KEY_SET_VALUE, &key);
    RegSetValueExA(key, "Server", 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void SetServerValue(const std::string& value) { SetServerValueOfType(REG_SZ, std::string(value.c_str(), value.size() + 1)); }

std::string ServerValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kClientKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "(none)";
    DWORD size = 0;
    DWORD type = 0;
    std::string value = "(none)";
    if (RegQueryValueExA(key, "Server", nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        value.assign(size, '\0');
        RegQueryValueExA(key, "Server", nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size);
        if (!value.empty() && value.back() == '\0') value.pop_back();
    }
    RegCloseKey(key);
    return value;
}

DWORD ServerValueType() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kClientKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return REG_NONE;
    DWORD type = REG_NONE;
    RegQueryValueExA(key, "Server", nullptr, &type, nullptr, nullptr);
    RegCloseKey(key);
    return type;
}

std::string ProgramFilesDirectory() {
    char value[MAX_PATH] = {};
    DWORD size = sizeof value;
    RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", RRF_RT_REG_SZ, nullptr,
                 value, &size);
    return value;
}

std::string ClientPath() { return ProgramFilesDirectory() + "\\MSN Messenger\\msnmsgr.exe"; }

void InstallStandIn(bool singleCopy) {
    CreateDirectoryA((ProgramFilesDirectory() + "\\MSN Messenger").c_str(), nullptr);
    CopyFileA((ExeDirectory() + "\\msnmsgr.exe").c_str(), ClientPath().c_str(), FALSE);
    DeleteFileA(LogPath().c_str());
    SetEnvironmentVariableA("CORVAN_STANDIN_LOG", LogPath().c_str());
    SetEnvironmentVariableA("CORVAN_STANDIN_SINGLE", singleCopy ? "1" : nullptr);
}

std::vector<std::string> StandInLog() {
    std::ifstream log(LogPath());
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
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

MessageBoxCatcher::MessageBoxCatcher() {
    g_boxes.clear();
    g_hook = SetWindowsHookExA(WH_CBT, CatchBox, nullptr, GetCurrentThreadId());
}

MessageBoxCatcher::~MessageBoxCatcher() { UnhookWindowsHookEx(g_hook); }

const std::vector<MessageBoxCatcher::Box>& MessageBoxCatcher::Boxes() const { return g_boxes; }

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

std::function<bool()> g_loopDone;
std::chrono::steady_clock::time_point g_loopDeadline;

void CALLBACK CheckLoop(HWND, UINT, UINT_PTR, DWORD) {
    if (g_loopDone() || std::chrono::steady_clock::now() > g_loopDeadline) PostQuitMessage(0);
}

}  // namespace

Picture PictureOfAlpha(HBITMAP bitmap, std::vector<BYTE>& alpha) {
    BITMAP header{};
    GetObjectW(bitmap, sizeof header, &header);
    BITMAPINFO info = TopDown32(header.bmWidth, header.bmHeight);
    std::vector<DWORD> bits(static_cast<size_t>(header.bmWidth) * header.bmHeight);
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(header.bmHeight), bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    alpha.clear();
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

bool RunLoopUntil(app::Application& application, const std::function<bool()>& done, std::chrono::milliseconds limit) {
    g_loopDone = done;
    g_loopDeadline = std::chrono::steady_clock::now() + limit;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &CheckLoop);
    application.Run();
    KillTimer(nullptr, timer);
    return done();
}

void PressKey(WORD key, bool shift) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD virtualKey, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (shift) add(VK_SHIFT, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (shift) add(VK_SHIFT, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND TooltipOf(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    struct Find {
        static BOOL CALLBACK Window(HWND window, LPARAM context) {
            auto* search = reinterpret_cast<Search*>(context);
            if (ClassNameOf(window) == "tooltips_class32" && GetWindow(window, GW_OWNER) == search->owner) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        }
    };
    EnumThreadWindows(GetCurrentThreadId(), &Find::Window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
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

void PickLanguage(ProgramWindow& program, int index) {
    const HWND languages = program.Control(app::kComboBox2);
    SendMessageA(languages, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(program.form.Handle(), WM_COMMAND, MAKEWPARAM(app::kComboBox2, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(languages));
}

std::wstring WideText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)), L'\0');
    GetWindowTextW(window, text.data(), static_cast<int>(text.size()) + 1);
    return text;
}

std::wstring MenuCaption(HMENU menu, UINT item) {
    const int length = GetMenuStringW(menu, item, nullptr, 0, MF_BYCOMMAND);
    std::wstring caption(static_cast<size_t>(length), L'\0');
    GetMenuStringW(menu, item, caption.data(), length + 1, MF_BYCOMMAND);
    return caption;
}

std::vector<DWORD> Pixels(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {};
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (DWORD& pixel : pixels) pixel &= 0x00FFFFFF;
    return pixels;
}

std::vector<DWORD> DrawnOnWhite(int width, int height, const std::function<void(HDC)>& paint) {
    const HDC screen = GetDC(nullptr);
    const platform::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    ReleaseDC(nullptr, screen);
    const platform::UniqueDc canvas(CreateCompatibleDC(nullptr));
    const HGDIOBJ previous = SelectObject(canvas.get(), bitmap.get());
    const RECT whole{0, 0, width, height};
    FillRect(canvas.get(), &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    paint(canvas.get());
    SelectObject(canvas.get(), previous);
    return Pixels(bitmap.get());
}

std::vector<DWORD> ImageListPicture(HIMAGELIST images, int index) {
    return DrawnOnWhite(16, 16, [&](HDC canvas) { ImageList_Draw(images, index, canvas, 0, 0, ILD_NORMAL); });
}

}  // namespace test

// ---- The notification area, popup menus, real input, message boxes in full, and the shell's open command ----

#include <psapi.h>

#include <set>

namespace test {
namespace {

NOTIFYICONDATAA IconRequest(HWND window, UINT id) {
    NOTIFYICONDATAA request{};
    request.cbSize = NOTIFYICONDATAA_V1_SIZE;
    request.hWnd = window;
    request.uID = id;
    return request;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The visible popup menu window of this thread, if one is open.
HWND OpenMenuWindow() {
    struct Find {
        static BOOL CALLBACK Window(HWND window, LPARAM found) {
            if (ClassOf(window) == "#32768" && IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(found) = window;
                return FALSE;
            }
            return TRUE;
        }
    };
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &Find::Window, reinterpret_cast<LPARAM>(&found));
    return found;
}

INPUT MouseInput(POINT screen, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    input.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

PopupMenuWatcher* g_watcher = nullptr;

std::vector<BoxRecorder::Box> g_recorded;
std::set<HWND> g_recordedWindows;
HHOOK g_recorderHook = nullptr;

LRESULT CALLBACK RecordBox(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && ClassOf(window) == "#32770" && g_recordedWindows.insert(window).second) {
        BoxRecorder::Box box{};
        char caption[256] = {};
        GetWindowTextA(window, caption, sizeof caption);
        box.caption = caption;
        const HWND textControl = GetDlgItem(window, 0xFFFF);
        std::string text(static_cast<size_t>(GetWindowTextLengthA(textControl)) + 1, '\0');
        GetWindowTextA(textControl, text.data(), static_cast<int>(text.size()));
        box.text = text.c_str();
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
        g_recorded.push_back(box);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_recorderHook, code, wParam, lParam);
}

using ShellExecuteAFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
ShellExecuteAFunction g_realShellExecute = nullptr;
ShellExecuteAFunction* g_importSlot = nullptr;
std::vector<ShellExecuteRecorder::Call> g_shellCalls;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    g_shellCalls.push_back(
        {owner, verb ? verb : "(null)", file ? file : "(null)", parameters == nullptr, directory == nullptr, show});
    return g_realShellExecute(owner, verb, file, parameters, directory, show);
}

// The import table slot through which this executable calls shell32's ShellExecuteA.
ShellExecuteAFunction* ShellExecuteImportSlot() {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); module->Name; ++module) {
        if (_stricmp(reinterpret_cast<const char*>(base + module->Name), "shell32.dll") != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(name->Name), "ShellExecuteA") == 0)
                return reinterpret_cast<ShellExecuteAFunction*>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void WriteImportSlot(ShellExecuteAFunction* slot, ShellExecuteAFunction function) {
    DWORD previous = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous);
    *slot = function;
    VirtualProtect(slot, sizeof *slot, previous, &previous);
}

std::string BrowserLogPath() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + "corvan-browser.log";
}

void SetDefaultValue(HKEY root, const std::string& path, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

}  // namespace

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
    // and input an earlier test sent may still arrive afterwards and move it back: move until it stays.
    for (int attempt = 0; attempt < 3; ++attempt) {
        MouseButtonAt(screen, 0);
        if (PumpUntil(there, 2s) && !PumpUntil([&] { return !there(); }, 200ms)) return true;
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

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *key;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool PumpUntilQuit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return true;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return false;
}

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return std::max<size_t>(counters.PrivateUsage, counters.PagefileUsage);
}

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

BoxRecorder::BoxRecorder() {
    g_recorded.clear();
    g_recordedWindows.clear();
    g_recorderHook = SetWindowsHookExA(WH_CBT, RecordBox, nullptr, GetCurrentThreadId());
}

BoxRecorder::~BoxRecorder() { UnhookWindowsHookEx(g_recorderHook); }

const std::vector<BoxRecorder::Box>& BoxRecorder::Boxes() const { return g_recorded; }

ShellExecuteRecorder::ShellExecuteRecorder() {
    g_shellCalls.clear();
    g_importSlot = ShellExecuteImportSlot();
    if (!g_importSlot) return;
    g_realShellExecute = *g_importSlot;
    WriteImportSlot(g_importSlot, &RecordShellExecute);
}

ShellExecuteRecorder::~ShellExecuteRecorder() {
    if (g_importSlot) WriteImportSlot(g_importSlot, g_realShellExecute);
    g_importSlot = nullptr;
}

bool ShellExecuteRecorder::Installed() const { return g_importSlot != nullptr; }

const std::vector<ShellExecuteRecorder::Call>& ShellExecuteRecorder::Calls() const { return g_shellCalls; }

void InstallBrowserStandIn() {
    const std::string command = messenger::QuotedCommandLine(ExeDirectory() + "\\browser.exe") + " \"%1\"";
    for (const char* scheme : {"http", "https"}) {
        const std::string path = std::string(scheme) + "\\shell\\open\\command";
        // The user's own association, which Windows prefers; Wine 8's shell reads only the merged
        // classes root, whose writes land in the machine's classes of this private prefix.
        SetDefaultValue(HKEY_CURRENT_USER, "Software\\Classes\\" + path, command);
        SetDefaultValue(HKEY_CLASSES_ROOT, path, command);
    }
    DeleteFileA(BrowserLogPath().c_str());
    SetEnvironmentVariableA("CORVAN_BROWSER_LOG", BrowserLogPath().c_str());
}

std::vector<std::string> BrowserLog() {
    std::ifstream log(BrowserLogPath());
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
}

}  // namespace test

namespace test {
namespace {

// Every test process starts without the client's key, whatever an earlier test left in the prefix's
// registry: a value of the wrong type there would hold the window's start-up behind an error box.
class FreshClientSetting : public testing::Environment {
public:
    void SetUp() override { DeleteClientKey(); }
};

const testing::Environment* const kFreshClientSetting = testing::AddGlobalTestEnvironment(new FreshClientSetting);

}  // namespace
}  // namespace test
