#include "messenger/client.h"

#include "messenger/lookup.h"
#include "messenger/restart.h"
#include "messenger/server_value.h"

namespace messenger {

// Write, stop, start: the client reads the new setting when it starts again.
ActionResult Client::PutIntoForce(const std::string& value) const {
    const std::string commandLine = ClientCommandLine;  // each action takes its own copy
    switch (WriteServerSetting(value)) {
        case WriteResult::NoClient: return ActionResult::Nothing;
        case WriteResult::Failed: return ActionResult::WriteFailed;
        case WriteResult::Written: break;
    }
    WaitForEnd(TerminateProcessesByName(kClientImageName));
    StartClient(commandLine);
    return ActionResult::Applied;
}

ActionResult Client::ApplyEntry(Entry kind, const std::string& input) const {
    if (input.empty()) return ActionResult::Nothing;
    const std::string value = kind == Entry::Address ? BuildServerValue(LookupHostName(input), input)
                                                     : BuildServerValue(input, LookupHostAddress(input));
    return PutIntoForce(value);
}

ActionResult Client::ApplyFactoryValue() const { return PutIntoForce(FactoryServerValue()); }

}  // namespace messenger
