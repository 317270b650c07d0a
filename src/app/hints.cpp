#include "app/hints.h"

#include <commctrl.h>

namespace app {
namespace {

TTTOOLINFOW ToolOf(HWND control, const wchar_t* text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text);
    return tool;
}

}  // namespace

void Hints::Create(HWND owner, HINSTANCE instance, int maxWidth) {
    m_tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, nullptr);
    SendMessageW(m_tooltip, TTM_SETMAXTIPWIDTH, 0, maxWidth);
}

void Hints::Add(HWND control) {
    m_texts[control];
    TTTOOLINFOW tool = ToolOf(control, L"");
    SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Hints::Set(HWND control, const std::wstring& text) {
    auto hint = m_texts.find(control);
    if (hint == m_texts.end()) return;  // a control without hints keeps none
    hint->second = text;
    TTTOOLINFOW tool = ToolOf(control, hint->second.c_str());
    SendMessageW(m_tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Hints::Get(HWND control) const {
    const auto hint = m_texts.find(control);
    return hint == m_texts.end() ? std::wstring() : hint->second;
}

}  // namespace app
