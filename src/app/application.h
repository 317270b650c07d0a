#pragma once
// The application object: a hidden top-level window that owns the main window, carries the
// program's taskbar button under the application title, and minimises and restores the program as a whole.

#include "platform/window.h"
#include "product.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace app {

inline constexpr char kApplicationTitle[] = CORVAN_TITLE;

class Application : public platform::Window<Application> {
public:
    explicit Application(HINSTANCE instance);
    ~Application();

    bool Initialize();
    void SetTitle(std::string_view title);
    const std::string& Title() const { return m_title; }
    HINSTANCE Instance() const { return m_instance; }

    // The first window registered becomes the main window; closing it ends the message loop.
    void AddWindow(HWND window);

    // The taskbar button shows while at least one of the program's windows is visible.
    void UpdateVisible();

    // A modal box captioned with the application title, counted among the program's windows while open.
    int ShowMessage(std::string_view text, UINT style);

    int Run();
    void Terminate();

private:
    friend class platform::Window<Application>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM command, LPARAM lParam);
    void OnActivate();
    void Minimize();
    void Restore();

    HINSTANCE m_instance;
    platform::WindowClass m_class;
    HWND m_mainWindow = nullptr;
    std::string m_title;
    int m_openBoxes = 0;
};

}  // namespace app
