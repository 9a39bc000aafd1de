#pragma once

#include "platform/command_id.h"

#include <array>
#include <functional>
#include <vector>

// The handler of every command, registered by the subsystem that owns it. The
// window's menu items, shortcuts and bar buttons all run commands through it.
class CommandTable
{
public:
    using Handler = std::function<void()>;

    // A command has one handler: registering a second one replaces the first.
    void add(CommandId command, Handler handler);
    // A command without a handler does nothing.
    void run(CommandId command) const;
    // The commands that nobody registered, in the order of CommandId.
    std::vector<CommandId> unwired() const;

private:
    std::array<Handler, CommandCount> m_handlers;
};
