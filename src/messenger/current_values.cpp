#include "messenger/client.h"

#include "messenger/server_value.h"

#include <windows.h>

namespace messenger {

ReadResult Client::ReadServerSetting() {
    const StringValue value = ReadServerValue();
    if (value.result == ReadResult::Read) {
        ServerParts parts = SplitServerValue(value.text);
        ServerDomainPart = std::move(parts.domain);
        ServerAddressPart = std::move(parts.address);
    }
    return value.result;
}

std::string Client::CurrentValuesMessage() const {
    return CurrentValuesText(CurrentUserName(), {ServerDomainPart, ServerAddressPart});
}

std::string CurrentUserName() {
    char name[256];
    DWORD size = sizeof name;
    if (!GetUserNameA(name, &size)) return {};
    return std::string(name, strnlen(name, sizeof name));
}

}  // namespace messenger
