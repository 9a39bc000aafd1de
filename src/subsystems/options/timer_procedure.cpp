#include "subsystems/options/timer_procedure.h"

#include "platform/platform.h"
#include "subsystems/documents/document_save.h"
#include "subsystems/options/options_commands.h"
#include "subsystems/options/stopwatch.h"
#include "subsystems/options/timer_tick.h"

namespace {

// The save runs inside the tick, and a dialog it opens lets further ticks
// run meanwhile; being modal, that dialog keeps them from saving, so only one
// is ever open. The count starts again once the save has returned.
void RunAutoSave(const OptionsContext& context)
{
    DocumentContext document = context.document;
    FileSave(document);
    RestartAutoSaveCount(context.timer);
}

} // namespace

void RunTimerTick(const OptionsContext& context)
{
    if (CountTick(context.timer)) {
        if (AutoSaveDue(context.timer, context.settings, context.platform.modalDialogOpen()))
            RunAutoSave(context);
        BlinkStopwatchButton(context);
    }
    StopwatchTick(context);
}
