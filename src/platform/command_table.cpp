#include "platform/command_table.h"

void CommandTable::add(CommandId command, Handler handler) { m_handlers[std::size_t(command)] = std::move(handler); }

void CommandTable::run(CommandId command) const
{
    if (const Handler& handler = m_handlers[std::size_t(command)])
        handler();
}

std::vector<CommandId> CommandTable::unwired() const
{
    std::vector<CommandId> missing;
    for (int i = 0; i < CommandCount; ++i) {
        if (!m_handlers[std::size_t(i)])
            missing.push_back(CommandId(i));
    }
    return missing;
}
