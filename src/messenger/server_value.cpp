#include "messenger/server_value.h"

#include "product.h"

#include <algorithm>

namespace messenger {
namespace {

constexpr const char* kServerList[] = {
#include "messenger/servers.inc"
};
static_assert(std::size(kServerList) == 338);

constexpr char kReturn = '\r';  // message box lines end in a single carriage return
constexpr char kClientPort[] = "1863";

}  // namespace

std::string BuildServerValue(std::string_view name, std::string_view address) {
    std::string value;
    value.reserve(name.size() + address.size() + 6);
    value.append(name).append(";").append(address).append(":").append(kClientPort);
    return value;
}

ServerParts SplitServerValue(std::string_view value) {
    const size_t separator = value.find(';');
    const std::string_view domain = separator == std::string_view::npos ? value : value.substr(0, separator);
    const std::string_view rest = separator == std::string_view::npos ? value : value.substr(separator + 1);
    return {std::string(domain), std::string(rest.substr(0, rest.find(':')))};
}

std::span<const char* const> ServerList() { return kServerList; }

std::string FactoryServerValue() { return BuildServerValue(CORVAN_DISPATCH_HOST, kServerList[0]); }

std::string StringFromRegistryData(const char* data, size_t size) {
    const char* end = std::find(data, data + size, '\0');
    return std::string(data, end);
}

std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

bool ImageNameMatches(std::string_view exeFile, std::string_view name) {
    const size_t lastSeparator = exeFile.find_last_of("\\:");
    const std::string_view fileName = lastSeparator == std::string_view::npos ? exeFile : exeFile.substr(lastSeparator + 1);
    const std::string upperName = AsciiUpper(name);
    return AsciiUpper(fileName) == upperName || AsciiUpper(exeFile) == upperName;
}

std::string QuotedCommandLine(std::string_view path) {
    std::string quoted;
    quoted.reserve(path.size() + 2);
    quoted.append(1, '"').append(path).append(1, '"');
    return quoted;
}

std::string FailedToSetDataMessage() { return std::string("Failed to set data for '") + kServerValueName + "'"; }

std::string InvalidDataTypeMessage() { return std::string("Invalid data type for '") + kServerValueName + "'"; }

std::string CurrentValuesText(std::string_view userName, const ServerParts& parts) {
    std::string text(userName);
    text.append(" MSN Values:").append(2, kReturn);
    text.append("Domain Server: ").append(parts.domain).append(2, kReturn);
    text.append("IP Server: ").append(parts.address).append(1, kReturn);
    return text;
}

}  // namespace messenger
