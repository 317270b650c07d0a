#include "messenger/registry.h"

#include "messenger/server_value.h"

#include <vector>

namespace messenger {
namespace {

platform::UniqueKey CreateKey(HKEY parent, const char* name) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return nullptr;
    return platform::UniqueKey(key);
}

platform::UniqueKey OpenKeyToRead(HKEY parent, const char* name) { return OpenKey(parent, name, KEY_READ); }

}  // namespace

platform::UniqueKey OpenKey(HKEY parent, const char* path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, path, 0, access, &key) != ERROR_SUCCESS) return nullptr;
    return platform::UniqueKey(key);
}

platform::UniqueKey OpenUserMicrosoftKey(KeyAccess access) {
    const auto open = access == KeyAccess::Write ? &CreateKey : &OpenKeyToRead;
    const platform::UniqueKey software = open(HKEY_CURRENT_USER, "Software");
    return software ? open(software.get(), "Microsoft") : nullptr;
}

RegistryString ReadRegistryString(HKEY key, const char* name) {
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    std::vector<char> data;
    // The value may grow between the two calls: ask again until it fits.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        data.resize(size);
        status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (status == ERROR_SUCCESS) break;
    }
    if (status != ERROR_SUCCESS) return {RegistryString::Missing, {}};
    if (type != REG_SZ && type != REG_EXPAND_SZ) return {RegistryString::WrongType, {}};
    return {RegistryString::Found, StringFromRegistryData(data.data(), size)};
}

}  // namespace messenger
