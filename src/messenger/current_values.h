#pragma once
// The current setting as the client will read it, split into its domain and address parts.

#include "messenger/settings.h"

#include <string>

namespace messenger {

// The parts of the last value read; empty at start, kept when the client's key is missing.
extern std::string ServerDomainPart;
extern std::string ServerAddressPart;

// Refreshes the two parts from the registry; a value that is not a string leaves them as they were.
ReadResult ReadServerSetting();

// The Windows user who runs the program, empty when it cannot be had.
std::string CurrentUserName();

// The current-values message: the user and the two parts of the last value read.
std::string CurrentValuesMessage();

}  // namespace messenger
