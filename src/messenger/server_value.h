#pragma once
// The client's server value and the rules around it: building, splitting, the factory value,
// the server list, the client's path and the match of process image names. No Windows API here.

#include <span>
#include <string>
#include <string_view>

namespace messenger {

inline constexpr char kServerValueName[] = "Server";
inline constexpr char kClientImageName[] = "msnmsgr.exe";
inline constexpr char kClientSubPath[] = "\\MSN Messenger\\msnmsgr.exe";
inline constexpr size_t kMaxHostNameLength = 255;  // longer names cannot resolve

// name ";" address ":1863"; either field may be empty.
std::string BuildServerValue(std::string_view name, std::string_view address);

// The domain part is the text before the first ";", the address part the rest up to its first ":";
// without a ";" both start from the whole value. The port is not read back.
struct ServerParts {
    std::string domain;
    std::string address;
};
ServerParts SplitServerValue(std::string_view value);

std::span<const char* const> ServerList();
std::string FactoryServerValue();

// A string value as stored: up to its first NUL within the bytes actually returned.
std::string StringFromRegistryData(const char* data, size_t size);

// Upper-cases a to z only; every other byte stays as it is.
std::string AsciiUpper(std::string_view text);

// The image's file name (after its last "\" or ":") first, then the whole image path, against the name.
bool ImageNameMatches(std::string_view exeFile, std::string_view name);

// The command line that starts only the client's own executable, whatever the spaces in its path.
std::string QuotedCommandLine(std::string_view path);

// The texts of the program's message boxes about the setting.
std::string FailedToSetDataMessage();
std::string InvalidDataTypeMessage();
std::string CurrentValuesText(std::string_view userName, const ServerParts& parts);

}  // namespace messenger
