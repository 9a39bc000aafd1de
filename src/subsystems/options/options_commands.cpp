#include "subsystems/options/options_commands.h"

#include "platform/command_table.h"
#include "platform/form_factory.h"
#include "subsystems/options/appearance_commands.h"
#include "subsystems/options/auto_save_dialog.h"
#include "subsystems/options/glossary_dialog.h"
#include "subsystems/options/quick_files_dialog.h"
#include "subsystems/options/stopwatch.h"
#include "subsystems/options/timer_beep_dialog.h"
#include "subsystems/options/timer_tick.h"

// Each dialog is loaded when it is made; asked for again while open, it is
// only raised, its fields as the user left them.
void OpenAutoSaveDialog(const OptionsContext& context)
{
    if (const auto [form, made] = context.forms.showModeless<Form14>(); made)
        form->load(context.settings, context.timer, context.ticker, context.platform);
}

void OpenTimerBeepDialog(const OptionsContext& context)
{
    if (const auto [form, made] = context.forms.showModeless<Form15>(); made)
        form->load(context.settings, context.platform);
}

void OpenGlossaryDialog(const OptionsContext& context)
{
    if (const auto [form, made] = context.forms.showModeless<Form10>(); made)
        form->load(context.settings);
}

void OpenQuickFilesDialog(const OptionsContext& context)
{
    if (const auto [form, made] = context.forms.showModeless<Form11>(); made)
        form->load(context.settings, context.platform);
}

void RegisterOptionsCommands(CommandTable& commands, const OptionsContext& context)
{
    const auto add = [&commands, context](CommandId command, void (*run)(const OptionsContext&)) {
        commands.add(command, [context, run] { run(context); });
    };
    add(CommandId::OptionsAutoSave, OpenAutoSaveDialog);
    add(CommandId::TimeBeep, OpenTimerBeepDialog);
    add(CommandId::OptionsGlossary, OpenGlossaryDialog);
    add(CommandId::OptionsQuickFiles, OpenQuickFilesDialog);
    add(CommandId::OptionsColor, OptionsColor);
    add(CommandId::OptionsFont, OptionsFont);
    add(CommandId::AlwaysOnTop, ToggleAlwaysOnTop);
    add(CommandId::OptionsFileInTitle, ToggleFileInTitle);
    add(CommandId::OptionsShowButtonBar, ToggleButtonBar);
    // From the keyboard or the menu the stopwatch stops quietly.
    add(CommandId::ElapsedTimeMenu, [](const OptionsContext& c) {
        c.timer.StopQuietly = -1;
        ToggleElapsedTimer(c);
    });
    // The bar button's mouse release has already started or stopped the
    // stopwatch; its click, also from the keyboard, only returns the focus.
    add(CommandId::ElapsedTimeButton, [](const OptionsContext&) {});
}
