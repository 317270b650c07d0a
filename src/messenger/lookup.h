#pragma once
// Completing an entry through the name service (Windows Sockets 1.1). Both block until it answers.

#include <string>

namespace messenger {

// The official name of the host at an address, empty when none is found.
std::string LookupHostName(const std::string& address);

// The last address of a host name's address list, dotted, empty when none is found.
std::string LookupHostAddress(const std::string& name);

}  // namespace messenger
