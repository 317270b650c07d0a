#pragma once
// The controls' hints: one tooltip control for the whole window, wide texts, long ones wrapped.

#include <windows.h>

#include <map>
#include <string>

namespace app {

class Hints {
public:
    void Create(HWND owner, HINSTANCE instance, int maxWidth);
    void Add(HWND control);
    void Set(HWND control, const std::wstring& text);
    std::wstring Get(HWND control) const;

private:
    HWND m_tooltip = nullptr;  // destroyed by the system with its owner, the main window
    std::map<HWND, std::wstring> m_texts;
};

}  // namespace app
