#include "messenger/current_values.h"

#include "messenger/server_value.h"

#include <windows.h>

namespace messenger {

std::string ServerDomainPart;
std::string ServerAddressPart;

ReadResult ReadServerSetting() {
    const StringValue value = ReadServerValue();
    if (value.result == ReadResult::Read) {
        ServerParts parts = SplitServerValue(value.text);
        ServerDomainPart = std::move(parts.domain);
        ServerAddressPart = std::move(parts.address);
    }
    return value.result;
}

std::string CurrentUserName() {
    char name[256];
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size)) return {};
    return std::string(name, strnlen(name, sizeof name));
}

std::string CurrentValuesMessage() { return CurrentValuesText(CurrentUserName(), {ServerDomainPart, ServerAddressPart}); }

}  // namespace messenger
