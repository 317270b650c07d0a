#include "platform/window.h"

namespace platform {

WindowClass::WindowClass(HINSTANCE instance, const WindowClassInfo& info) : m_instance(instance), m_name(info.name) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = info.procedure;
    windowClass.cbWndExtra = info.extraBytes;
    windowClass.hInstance = instance;
    windowClass.hIcon = info.icon;
    windowClass.hCursor = info.cursor;
    windowClass.hbrBackground = info.background;
    windowClass.lpszClassName = info.name;
    m_registered = RegisterClassExW(&windowClass) != 0;
}

// The class names its icon, which goes with the object that owns both: a later object registers it afresh.
WindowClass::~WindowClass() {
    if (m_registered) UnregisterClassW(m_name, m_instance);
}

}  // namespace platform
