#pragma once
// The controls' hints: one tooltip control for the whole window, wide texts, long ones wrapped, each
// read in the order of its language.

#include "i18n/catalogue.h"

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <string>

namespace app {

class Hints {
public:
    void Create(HWND owner, HINSTANCE instance, int maxWidth);
    void Add(HWND control);
    void Set(HWND control, const std::wstring& text, i18n::ReadingOrder order = i18n::ReadingOrder::LeftToRight);
    std::wstring Get(HWND control) const;
    HWND Tooltip() const { return m_tooltip; }

    // The tooltip's custom-draw notification, which its owner passes on.
    LRESULT CustomDraw(NMTTCUSTOMDRAW& draw) const;

private:
    struct Hint {
        std::wstring text;
        i18n::ReadingOrder order = i18n::ReadingOrder::LeftToRight;
    };

    HWND m_tooltip = nullptr;  // destroyed by the system with its owner, the main window
    std::map<HWND, Hint> m_hints;
};

}  // namespace app
