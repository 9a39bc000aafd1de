#pragma once

#include "platform/editor_control.h"
#include "platform/form_factory.h"
#include "settings/settings.h"
#include "subsystems/documents/document_context.h"
#include "subsystems/documents/note_storage.h"
#include "subsystems/options/options_commands.h"
#include "subsystems/options/ticker.h"
#include "subsystems/options/timer_procedure.h"
#include "subsystems/options/timer_tick.h"
#include "support/recording_window.h"
#include "support/scripted_platform.h"

#include <QWidget>

// What the options and the stopwatch work on: real widgets, a scripted
// platform and window, and the ticker that wakes for the tick procedure when
// the platform's time passes (ScriptedPlatform::passTime).
struct OptionsRig
{
    OptionsRig() { ResetTimerCounters(timer, platform.monotonicNow); } // as the window's load step

    OptionsContext context()
    {
        return {settings, timer, ticker, platform, editor, window, forms,
                DocumentContext{settings, document, platform, editor, window, storage}};
    }

    // The tick as it was before the ticker: run every 100 ms whether due or not.
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            platform.now = platform.now.addMSecs(100);
            platform.monotonicNow += 100;
            RunTimerTick(context());
        }
    }
    void seconds(int count) { ticks(10 * count); }

    Settings settings;
    DocumentState document;
    TimerState timer;
    ScriptedPlatform platform;
    QWidget owner;
    EditorControl editor{&owner};
    RecordingWindow window;
    NoteStorage storage;
    FormFactory forms{&owner};
    Ticker ticker{platform, timer, settings, [this] { RunTimerTick(context()); }};
};
