#pragma once

class CommandTable;
class EditorControl;
class FormFactory;
class Platform;
struct FindState;
struct Settings;

// What the editing commands work on.
struct EditingContext
{
    FindState& find;
    const Settings& settings; // the glossary entries and the signature
    Platform& platform;
    EditorControl& editor;
    FormFactory& forms;
};

// The Edit menu, the date and time stamps and the text snippets.
void RegisterEditingCommands(CommandTable& commands, const EditingContext& context);
