#include "app/hints.h"

namespace app {
namespace {

TTTOOLINFOW ToolOf(HWND control, const wchar_t* text, i18n::ReadingOrder order) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | (order == i18n::ReadingOrder::RightToLeft ? TTF_RTLREADING : 0);
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
    m_hints[control];
    TTTOOLINFOW tool = ToolOf(control, L"", i18n::ReadingOrder::LeftToRight);
    SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Hints::Set(HWND control, const std::wstring& text, i18n::ReadingOrder order) {
    auto hint = m_hints.find(control);
    if (hint == m_hints.end()) return;  // a control without hints keeps none
    hint->second = {text, order};
    TTTOOLINFOW tool = ToolOf(control, hint->second.text.c_str(), order);
    SendMessageW(m_tooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Hints::Get(HWND control) const {
    const auto hint = m_hints.find(control);
    return hint == m_hints.end() ? std::wstring() : hint->second.text;
}

LRESULT Hints::CustomDraw(NMTTCUSTOMDRAW& draw) const {
    // Wine's tooltips draw without reading TTF_RTLREADING; the drawing flags carry the order to them.
    if (draw.nmcd.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
    const auto hint = m_hints.find(reinterpret_cast<HWND>(draw.nmcd.hdr.idFrom));
    if (hint != m_hints.end() && hint->second.order == i18n::ReadingOrder::RightToLeft) draw.uDrawFlags |= DT_RTLREADING;
    return CDRF_DODEFAULT;
}

}  // namespace app
