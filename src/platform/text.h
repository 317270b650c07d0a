#pragma once
// The one pair of conversions between the controls' UTF-16 and the 8-bit text of the system code page.

#include <string>
#include <string_view>

namespace platform {

std::wstring Widen(std::string_view ansi);   // system code page to UTF-16
std::string Narrow(std::wstring_view wide);  // UTF-16 to the system code page
std::wstring FromUtf8(std::string_view utf8);

}  // namespace platform
