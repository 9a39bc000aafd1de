#include "subsystems/options/timer_procedure.h"

#include "platform/platform.h"
#include "subsystems/documents/document_save.h"
#include "subsystems/options/options_commands.h"
#include "subsystems/options/stopwatch.h"
#include "subsystems/options/ticker.h"
#include "subsystems/options/timer_tick.h"

namespace {

// The save runs inside the tick, and a dialog it opens lets further ticks
// run meanwhile (the stopwatch goes on); being modal, that dialog keeps them
// from saving, so only one is ever open. The count starts again once the save
// has returned.
void RunAutoSave(const OptionsContext& context)
{
    context.ticker.plan();
    DocumentContext document = context.document;
    FileSave(document);
    RestartAutoSaveCount(context.timer);
}

} // namespace

void RunTimerTick(const OptionsContext& context)
{
    TimerState& timer = context.timer;
    for (std::int64_t second = TakeEndedSeconds(timer, context.platform.monotonicMilliseconds()); second > 0;
         --second) {
        timer.AutoSaveSeconds += 1;
        if (AutoSaveDue(timer, context.settings, context.platform.modalDialogOpen()))
            RunAutoSave(context);
        BlinkStopwatchButton(context);
    }
    // Read again: a save's dialog may have let later ticks run meanwhile.
    StopwatchTick(context, context.platform.monotonicMilliseconds());
}
