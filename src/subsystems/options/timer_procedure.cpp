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
// has returned: the seconds its dialog took count for nothing. Returns them.
std::int64_t RunAutoSave(const OptionsContext& context)
{
    // Counting from now while the dialog is open, a stopped stopwatch does not wake the program meanwhile.
    RestartAutoSaveCount(context.timer);
    context.ticker.plan();
    DocumentContext document = context.document;
    AutoSaveDocument(document);
    const std::int64_t meanwhile = TakeEndedSeconds(context.timer, context.platform.monotonicMilliseconds());
    RestartAutoSaveCount(context.timer);
    return meanwhile;
}

} // namespace

void RunTimerTick(const OptionsContext& context)
{
    TimerState& timer = context.timer;
    const std::int64_t ended = TakeEndedSeconds(timer, context.platform.monotonicMilliseconds());
    std::int64_t blinks = ended;
    for (std::int64_t second = 0; second < ended; ++second) {
        timer.AutoSaveSeconds += 1;
        // One save a run: after a suspended laptop wakes, one save, not one for every interval it slept.
        if (AutoSaveDue(timer, context.settings, context.platform.modalDialogOpen())) {
            blinks += RunAutoSave(context);
            break;
        }
    }
    for (int blink = BlinksShownAfter(blinks); blink > 0; --blink)
        BlinkStopwatchButton(context);
    // Read again: a save's dialog may have let later ticks run meanwhile.
    StopwatchTick(context, context.platform.monotonicMilliseconds());
}
