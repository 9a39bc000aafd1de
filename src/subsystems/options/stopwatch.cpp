#include "subsystems/options/stopwatch.h"

#include "platform/editor_control.h"
#include "platform/form_factory.h"
#include "platform/main_window_control.h"
#include "platform/platform.h"
#include "subsystems/editing/stamps.h"
#include "subsystems/options/elapsed_time_window.h"
#include "subsystems/options/options_commands.h"
#include "subsystems/options/ticker.h"
#include "subsystems/options/timer_tick.h"

namespace {

void StopStopwatch(const OptionsContext& context)
{
    TimerState& timer = context.timer;
    if (Form12* window = context.forms.openForm<Form12>())
        window->close();
    timer.ElapsedRunning = 0;
    context.window.setStopwatchCaption(StopwatchCaption);
    context.window.setStopwatchRunning(false);
    if (timer.StopQuietly == -1)
        return;
    InsertText(context.platform, context.editor, QStringLiteral("Elapsed Time Was ") + ElapsedTimeText(timer));
    context.editor.setFocus();
}

} // namespace

void ToggleElapsedTimer(const OptionsContext& context)
{
    if (context.timer.ElapsedRunning == 1) {
        context.ticker.change([&context] { StopStopwatch(context); });
        return;
    }
    context.ticker.change([&context] {
        StartStopwatch(context.timer, context.platform.monotonicMilliseconds());
        context.window.setStopwatchRunning(true);
    });
    const auto [window, made] = context.forms.showModeless<Form12>();
    // The window manager's close button stops it as the menu does: quietly,
    // once the close request it answers is over.
    if (made) {
        QObject::connect(
            window, &Form12::closeRequested, window,
            [context] {
                context.timer.StopQuietly = -1;
                if (context.timer.ElapsedRunning == 1)
                    context.ticker.change([&context] { StopStopwatch(context); });
            },
            Qt::QueuedConnection);
    }
}

void BarButtonReleased(const OptionsContext& context, bool leftButton, bool stopwatchButton)
{
    NoteBarButtonRelease(context.timer, leftButton);
    if (stopwatchButton)
        ToggleElapsedTimer(context);
}

void BlinkStopwatchButton(const OptionsContext& context)
{
    if (context.timer.ElapsedRunning == 1)
        context.window.setStopwatchCaption(NextBlinkCaption(context.window.stopwatchCaption()));
}

void StopwatchTick(const OptionsContext& context, std::int64_t now)
{
    TimerState& timer = context.timer;
    if (timer.ElapsedRunning != 1)
        return;
    const StopwatchStep step = AdvanceStopwatch(timer, context.settings, now);
    if (step.beep)
        context.platform.beep();
    if (!step.shownTimeChanged)
        return;
    if (Form12* window = context.forms.openForm<Form12>())
        window->showTime(ElapsedTimeText(timer));
}
