#pragma once
// Reading and writing a menu item's wide caption by its command id.

#include <windows.h>

#include <string>

namespace platform {

void SetMenuCaption(HMENU menu, UINT item, const std::wstring& caption);
std::wstring MenuCaption(HMENU menu, UINT item);

}  // namespace platform
