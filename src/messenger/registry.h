#pragma once
// The few registry steps the client's setting and its path share.

#include "platform/handles.h"

#include <string>

namespace messenger {

enum class KeyAccess { Read, Write };

// A key opened with the rights asked for, or none: a key missing or denying them alike.
platform::UniqueKey OpenKey(HKEY parent, const char* path, REGSAM access);

// HKCU\Software\Microsoft. For writing each of the two keys is created when missing; for reading
// they are only opened, with read rights, and a missing one gives no key.
platform::UniqueKey OpenUserMicrosoftKey(KeyAccess access);

struct RegistryString {
    enum Status { Found, Missing, WrongType } status;
    std::string text;
};

// A REG_SZ or REG_EXPAND_SZ value as stored (not expanded), of any length, up to its first NUL.
RegistryString ReadRegistryString(HKEY key, const char* name);

}  // namespace messenger
