#include "subsystems/options/options_commands.h"

#include "platform/command_table.h"
#include "subsystems/options/timer_tick.h"

void RegisterOptionsCommands(CommandTable& commands, const OptionsContext& context)
{
    TimerState& timer = context.timer;
    // Stopped from the keyboard or the menu, the stopwatch inserts nothing.
    commands.add(CommandId::ElapsedTimeMenu, [&timer] { timer.StopQuietly = -1; });
}
