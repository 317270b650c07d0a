#include "platform/menu.h"

namespace platform {

void SetMenuCaption(HMENU menu, UINT item, const std::wstring& caption) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<wchar_t*>(caption.c_str());
    SetMenuItemInfoW(menu, item, FALSE, &info);
}

std::wstring MenuCaption(HMENU menu, UINT item) {
    const int length = GetMenuStringW(menu, item, nullptr, 0, MF_BYCOMMAND);
    if (length <= 0) return {};
    std::wstring caption(static_cast<size_t>(length), L'\0');
    GetMenuStringW(menu, item, caption.data(), length + 1, MF_BYCOMMAND);
    return caption;
}

}  // namespace platform
