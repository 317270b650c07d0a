#pragma once
// The messenger client as the program knows it: where it starts from, and the two parts of its setting as
// last read, with the actions that use them. The main window owns one.

#include "messenger/settings.h"

#include <string>

namespace messenger {

enum class Entry { Address, Domain };
enum class ActionResult { Nothing, Applied, WriteFailed };

class Client {
public:
    // Sets ClientCommandLine: the client below the Program Files folder, or from the root without one.
    // Read once, while the main window is created (restart.cpp).
    void ReadClientCommandLine();

    // The editor's actions (editor.cpp): an address gets its host name, a domain name its address, and the
    // value is written and the client started again from ClientCommandLine; empty input does nothing.
    ActionResult ApplyEntry(Entry kind, const std::string& input) const;
    ActionResult ApplyFactoryValue() const;

    // The current values (current_values.cpp): the two parts refreshed from the registry, where a value
    // that is not a string leaves them as they were; and the message that shows them with the user's name.
    ReadResult ReadServerSetting();
    std::string CurrentValuesMessage() const;

    const std::string& CommandLine() const { return ClientCommandLine; }
    const std::string& DomainPart() const { return ServerDomainPart; }
    const std::string& AddressPart() const { return ServerAddressPart; }

private:
    ActionResult PutIntoForce(const std::string& value) const;

    std::string ClientCommandLine;
    std::string ServerDomainPart;  // empty at start, kept when the client's key is missing
    std::string ServerAddressPart;
};

// The Windows user who runs the program, empty when it cannot be had.
std::string CurrentUserName();

}  // namespace messenger
