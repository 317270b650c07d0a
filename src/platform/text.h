#pragma once
// The one pair of conversions between the controls' UTF-16 and the 8-bit text of the system code page,
// the pair for UTF-8, in which the sources keep their texts, and a control's text read back.

#include <windows.h>

#include <string>
#include <string_view>

namespace platform {

std::wstring Widen(std::string_view ansi);   // system code page to UTF-16
std::string Narrow(std::wstring_view wide);  // UTF-16 to the system code page
std::wstring FromUtf8(std::string_view utf8);
std::string ToUtf8(std::wstring_view wide);

// A window's text as long as the read returned it: under a double-byte code page the length the
// system gives beforehand may be larger, and the rest must not become part of the text.
std::wstring WindowText(HWND window);

}  // namespace platform
