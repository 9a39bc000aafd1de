#pragma once

#include "subsystems/documents/document_context.h"

class CommandTable;
class EditorControl;
class FormFactory;
class MainWindowControl;
class Platform;
struct Settings;
class Ticker;
struct TimerState;

// What the options and the stopwatch work on: the settings they change, the
// counters of the 100 ms tick and the timer that wakes for them, the editor whose colour and font they set, the
// window whose height, topmost state, title and bar they change, and the
// document that auto save saves.
struct OptionsContext
{
    Settings& settings;
    TimerState& timer;
    Ticker& ticker;
    Platform& platform;
    EditorControl& editor;
    MainWindowControl& window;
    FormFactory& forms;
    DocumentContext document;
};

// The Options menu's dialogs, each shown modeless.
void OpenAutoSaveDialog(const OptionsContext& context);
void OpenTimerBeepDialog(const OptionsContext& context);
void OpenGlossaryDialog(const OptionsContext& context);
void OpenQuickFilesDialog(const OptionsContext& context);

// The Options menu and the stopwatch.
void RegisterOptionsCommands(CommandTable& commands, const OptionsContext& context);
