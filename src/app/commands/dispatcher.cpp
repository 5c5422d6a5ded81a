// The handler registry: what each command runs and under which rules.
#include "app/commands/dispatcher.h"

namespace quillex {

Dispatcher::Dispatcher(Parts parts) : p_(parts) {
    registerSongFileCommands();
    registerShellCommands();
}

void Dispatcher::registerHandler(CommandId id, Handler handler, CommandRules rules) {
    handlers_[id] = Registered{std::move(handler), std::move(rules)};
}

bool Dispatcher::available(CommandId id) const {
    const auto found = handlers_.find(id);
    if (found == handlers_.end())
        return false;
    const auto& enabledWhen = found->second.rules.enabledWhen;
    return !enabledWhen || enabledWhen();
}

void Dispatcher::dispatch(CommandId id, int argument) {
    const auto found = handlers_.find(id);
    if (found == handlers_.end())
        return;
    const Registered& command = found->second;
    if (refusedInNoteMode(command.rules))
        return;
    const bool commitsAfter = command.rules.commitsAfter;
    command.handler(argument);
    if (commitsAfter && !recordingEntryOpen())
        commitUndoEntry();
    if (afterCommand)
        afterCommand(id);
}

bool Dispatcher::refusedInNoteMode(const CommandRules& rules) {
    if (rules.refusedInNoteMode.empty() || !p_.store.oneLayerLock())
        return false;
    p_.messages.show(rules.refusedInNoteMode);
    return true;
}

} // namespace quillex
