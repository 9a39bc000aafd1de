#include "subsystems/options/timer_procedure.h"

#include "subsystems/documents/document_save.h"
#include "subsystems/options/options_commands.h"
#include "subsystems/options/stopwatch.h"
#include "subsystems/options/timer_tick.h"

namespace {

// The save runs inside the tick, and a dialog it opens lets further ticks
// run meanwhile; those skip the save, so only one such dialog is ever open.
void RunAutoSave(const OptionsContext& context)
{
    TimerState& timer = context.timer;
    timer.AutoSaveRunning = true;
    DocumentContext document = context.document;
    FileSave(document);
    timer.AutoSaveRunning = false;
    RestartAutoSaveCount(timer);
}

} // namespace

void RunTimerTick(const OptionsContext& context)
{
    if (CountTick(context.timer)) {
        if (AutoSaveDue(context.timer, context.settings))
            RunAutoSave(context);
        BlinkStopwatchButton(context);
    }
    StopwatchTick(context);
}
