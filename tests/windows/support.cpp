#include "support.h"

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

Process::Process(const std::string& path, const std::string& arguments) {
    std::string commandLine = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
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

std::vector<HWND> TopLevelWindows(DWORD processId) {
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
    EnumWindows(&Collect::Window, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD processId, const wchar_t* windowClass, std::chrono::milliseconds limit) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId)) {
                wchar_t name[64] = {};
                GetClassNameW(window, name, 64);
                if (std::wstring(name) == windowClass && IsWindowVisible(window)) found = window;
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

std::vector<DWORD> ImageListPicture(HIMAGELIST images, int index) {
    constexpr int kSize = 16;
    const HDC screen = GetDC(nullptr);
    const platform::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, kSize, kSize));
    ReleaseDC(nullptr, screen);
    const platform::UniqueDc canvas(CreateCompatibleDC(nullptr));
    const HGDIOBJ previous = SelectObject(canvas.get(), bitmap.get());
    const RECT whole{0, 0, kSize, kSize};
    FillRect(canvas.get(), &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(images, index, canvas.get(), 0, 0, ILD_NORMAL);
    SelectObject(canvas.get(), previous);
    return Pixels(bitmap.get());
}

}  // namespace test
