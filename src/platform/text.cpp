#include "platform/text.h"

namespace platform {
namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string ToBytes(UINT codePage, std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

}  // namespace

std::wstring Widen(std::string_view ansi) { return ToWide(CP_ACP, ansi); }

std::wstring FromUtf8(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }

std::string Narrow(std::wstring_view wide) { return ToBytes(CP_ACP, wide); }

std::string ToUtf8(std::wstring_view wide) { return ToBytes(CP_UTF8, wide); }

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace platform
