#pragma once
// A window of the program's own: its class, registered for as long as the object that owns it lives,
// and the procedure that hands each message of a window to the object the window belongs to.

#include <windows.h>

namespace platform {

struct WindowClassInfo {
    const wchar_t* name;
    WNDPROC procedure;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    int extraBytes = 0;  // the window's own bytes beyond GWLP_USERDATA, read with GetWindowLongPtr(window, 0)
};

class WindowClass {
public:
    WindowClass(HINSTANCE instance, const WindowClassInfo& info);
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    const wchar_t* Name() const { return m_name; }

private:
    HINSTANCE m_instance;
    const wchar_t* m_name;
    bool m_registered;
};

// The procedure of a class whose windows are objects of Derived: CreateWindowEx hands over the object as
// its last parameter, and every message from WM_NCCREATE to WM_NCDESTROY goes to the object's
// HandleMessage. Derived destroys its window in its own destructor, while its members still live.
template <typename Derived>
class Window {
public:
    HWND Handle() const { return m_handle; }

protected:
    Window() = default;
    ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* created = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            static_cast<Window*>(created)->m_handle = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        }
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) return DefWindowProcW(window, message, wParam, lParam);
        LRESULT result = 0;
        // An exception must not unwind through the system's frames: the message gets the default handling.
        try {
            result = self->HandleMessage(message, wParam, lParam);
        } catch (...) {
            result = DefWindowProcW(window, message, wParam, lParam);
        }
        if (message == WM_NCDESTROY) static_cast<Window*>(self)->m_handle = nullptr;
        return result;
    }

private:
    HWND m_handle = nullptr;
};

}  // namespace platform
