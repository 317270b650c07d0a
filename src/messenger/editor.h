#pragma once
// The editor's actions: complete an entry with a lookup, write the value, restart the client.

#include <string>

namespace messenger {

enum class Entry { Address, Domain };
enum class ActionResult { Nothing, Applied, WriteFailed };

// An address gets its host name, a domain name its address; empty input does nothing at all. The
// client is started again from ClientCommandLine.
ActionResult ApplyEntry(Entry kind, const std::string& input);

ActionResult ApplyFactoryValue();

}  // namespace messenger
