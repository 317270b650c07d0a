#include "app/application.h"

namespace app {

Application::Application(HINSTANCE instance)
    : m_instance(instance),
      m_class(instance, {.name = L"TApplication", .procedure = &Application::Procedure, .icon = LoadIconW(instance, MAKEINTRESOURCEW(1))}) {}

Application::~Application() {
    if (Handle()) DestroyWindow(Handle());
}

bool Application::Initialize() {
    // A captioned popup of no size: it never shows itself, only its taskbar button.
    const int left = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int top = GetSystemMetrics(SM_CYSCREEN) / 2;
    CreateWindowExW(0, m_class.Name(), L"", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, left, top,
                    0, 0, nullptr, nullptr, m_instance, this);
    return Handle() != nullptr;
}

void Application::SetTitle(std::string_view title) {
    m_title = title;
    SetWindowTextA(Handle(), m_title.c_str());
}

void Application::AddWindow(HWND window) {
    if (!m_mainWindow) m_mainWindow = window;
}

void Application::UpdateVisible() {
    // While minimised the button stays: it is the way back.
    if (!Handle() || IsIconic(Handle())) return;
    const bool anyVisible = m_openBoxes > 0 || (m_mainWindow && IsWindowVisible(m_mainWindow));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (anyVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

int Application::ShowMessage(std::string_view text, UINT style) {
    const std::string message(text);
    ++m_openBoxes;
    UpdateVisible();
    const int result = ::MessageBoxA(m_mainWindow, message.c_str(), m_title.c_str(), style);
    --m_openBoxes;
    UpdateVisible();
    return result;
}

int Application::Run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog manager gives the plain main window Tab and Shift+Tab.
        if (m_mainWindow && IsDialogMessageW(m_mainWindow, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void Application::Terminate() { PostQuitMessage(0); }

// The main window goes away with the minimised application and comes back with it; hiding the owned
// windows explicitly makes that so also where the system leaves them up (Wine does).
void Application::Minimize() {
    ShowWindow(Handle(), SW_MINIMIZE);
    ShowOwnedPopups(Handle(), FALSE);
}

void Application::Restore() {
    if (!IsIconic(Handle())) return;
    ShowWindow(Handle(), SW_RESTORE);
    ShowOwnedPopups(Handle(), TRUE);
}

void Application::OnActivate() {
    // The application window has nothing to show: the main window takes the activation.
    if (m_mainWindow && IsWindowVisible(m_mainWindow) && IsWindowEnabled(m_mainWindow)) SetActiveWindow(m_mainWindow);
}

LRESULT Application::OnSysCommand(WPARAM command, LPARAM lParam) {
    switch (command & 0xFFF0) {
        case SC_MINIMIZE: Minimize(); return 0;
        case SC_RESTORE: Restore(); return 0;
        case SC_CLOSE: if (m_mainWindow) PostMessageW(m_mainWindow, WM_CLOSE, 0, 0); return 0;
        default: return DefWindowProcW(Handle(), WM_SYSCOMMAND, command, lParam);
    }
}

LRESULT Application::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND: return OnSysCommand(wParam, lParam);
        case WM_SETFOCUS: OnActivate(); return 0;
        case WM_CLOSE: return OnSysCommand(SC_CLOSE, 0);
        default: return DefWindowProcW(Handle(), message, wParam, lParam);
    }
}

}  // namespace app
