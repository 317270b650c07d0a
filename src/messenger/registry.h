#pragma once
// The few registry steps the client's setting and its path share.

#include "platform/handles.h"

#include <string>

namespace messenger {

// HKCU\Software\Microsoft, each of the two keys created when missing.
platform::UniqueKey OpenUserMicrosoftKey();

struct RegistryString {
    enum Status { Found, Missing, WrongType } status;
    std::string text;
};

// A REG_SZ or REG_EXPAND_SZ value as stored (not expanded), of any length, up to its first NUL.
RegistryString ReadRegistryString(HKEY key, const char* name);

}  // namespace messenger
