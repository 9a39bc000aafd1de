#pragma once

class CommandTable;
class EditorControl;
class FormFactory;
class Platform;

// What the outside programs and the help work with: the platform that finds,
// starts and types into other programs and shows the help, the editor whose
// selection the dialer gets, and the forms of the window.
struct ToolsContext
{
    Platform& platform;
    EditorControl& editor;
    FormFactory& forms;
};

// The About box, shown modally.
void AboutScriblet(const ToolsContext& context);

// The calculator, the phone dialer and the Help menu.
void RegisterToolsCommands(CommandTable& commands, const ToolsContext& context);
