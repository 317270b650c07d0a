#include "messenger/editor.h"

#include "messenger/lookup.h"
#include "messenger/restart.h"
#include "messenger/server_value.h"
#include "messenger/settings.h"

namespace messenger {
namespace {

// Write, stop, start: the client reads the new setting when it starts again.
ActionResult PutIntoForce(const std::string& value) {
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

}  // namespace

ActionResult ApplyEntry(Entry kind, const std::string& input) {
    if (input.empty()) return ActionResult::Nothing;
    const std::string value = kind == Entry::Address ? BuildServerValue(LookupHostName(input), input)
                                                     : BuildServerValue(input, LookupHostAddress(input));
    return PutIntoForce(value);
}

ActionResult ApplyFactoryValue() { return PutIntoForce(FactoryServerValue()); }

}  // namespace messenger
