#include "messenger/settings.h"

#include "messenger/registry.h"
#include "messenger/server_value.h"

namespace messenger {
namespace {

constexpr char kClientKey[] = "MSNMessenger";

// The client's key is tested with read rights only and closed at once.
bool ClientKeyExists(HKEY microsoft) {
    return OpenKey(microsoft, kClientKey, STANDARD_RIGHTS_READ | KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS) != nullptr;
}

}  // namespace

WriteResult WriteServerSetting(const std::string& value) {
    const platform::UniqueKey microsoft = OpenUserMicrosoftKey(KeyAccess::Write);
    if (!microsoft || !ClientKeyExists(microsoft.get())) return WriteResult::NoClient;

    // A key that denies writing is a failed write: the value goes nowhere else.
    const platform::UniqueKey client = OpenKey(microsoft.get(), kClientKey, KEY_ALL_ACCESS);
    if (!client) return WriteResult::Failed;
    const LONG status = RegSetValueExA(client.get(), kServerValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    return status == ERROR_SUCCESS ? WriteResult::Written : WriteResult::Failed;
}

StringValue ReadServerValue() {
    const platform::UniqueKey microsoft = OpenUserMicrosoftKey(KeyAccess::Read);
    if (!microsoft || !ClientKeyExists(microsoft.get())) return {ReadResult::NoClient, {}};

    // Read rights are enough to show the setting, also where the user may not change it.
    const platform::UniqueKey client = OpenKey(microsoft.get(), kClientKey, KEY_QUERY_VALUE);
    if (!client) return {ReadResult::NoClient, {}};
    const RegistryString value = ReadRegistryString(client.get(), kServerValueName);
    if (value.status == RegistryString::WrongType) return {ReadResult::InvalidType, {}};
    return {ReadResult::Read, value.text};
}

}  // namespace messenger
