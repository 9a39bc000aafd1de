#include "window/menu_tree.h"

#include "window/button_bar.h"

#include <array>

namespace {

using C = CommandId;

constexpr MenuItemEntry Separator{};

constexpr MenuItemEntry Item(const char* name, const char* caption, const char* shortcut, CommandId command)
{
    return {command, name, caption, shortcut};
}

constexpr MenuItemEntry Checked(const char* name, const char* caption, CommandId command)
{
    return {command, name, caption, "", -1, true};
}

// The item runs what the bar button runs, with the bar's focus rule.
constexpr MenuItemEntry Bar(const char* name, const char* caption, const char* shortcut, int index)
{
    return {BarButtons[std::size_t(index)].command, name, caption, shortcut, index};
}

constexpr std::array FileItems{
    Item("FileNew", "&New", "", C::FileNew),
    Item("FileOpen", "&Open...", "Ctrl+O", C::FileOpen),
    Item("FileSave", "&Save", "Ctrl+S", C::FileSave),
    Item("FileSaveAs", "Save &As...", "", C::FileSaveAs),
    Separator,
    Item("FilePrint", "&Print...", "Ctrl+P", C::FilePrint),
    Item("FilePrinterSetup", "Printer Set&up...", "", C::FilePrinterSetup),
    Separator,
    Item("FileExit", "E&xit", "", C::FileExit),
};

constexpr std::array EditItems{
    Item("EditUndo", "&Undo", "Ctrl+Z", C::EditUndo),
    Separator,
    Item("EditCut", "Cu&t", "Ctrl+X", C::EditCut),
    Item("EditCopy", "&Copy", "Ctrl+C", C::EditCopy),
    Item("EditPaste", "&Paste", "Ctrl+V", C::EditPaste),
    Item("EditDelete", "&Delete", "", C::EditDelete),
    Separator,
    Item("EditDeleteAll", "Delete &All", "", C::EditDeleteAll),
    Item("EditSelectAll", "&Select All", "Ctrl+A", C::EditSelectAll),
    Separator,
    Item("EditFind", "&Find...", "Ctrl+F", C::EditFind),
    Item("EditFindNext", "Find &Next", "Ctrl+N", C::EditFindNext),
};

constexpr std::array OptionsItems{
    Checked("AlwaysOnTop", "&Always On Top", C::AlwaysOnTop),
    Item("OptionsAutoSave", "Auto &Save...", "", C::OptionsAutoSave),
    Item("TimeBeep", "Timer Bee&p...", "", C::TimeBeep),
    Item("OptionsColor", "&Color...", "", C::OptionsColor),
    Checked("OptionsFileInTitle", "Filename In &Title Bar", C::OptionsFileInTitle),
    Item("OptionsFont", "&Font...", "", C::OptionsFont),
    Item("OptionsGlossary", "&Glossary/Signature...", "", C::OptionsGlossary),
    Item("OptionsQuickFiles", "&Quick Files...", "", C::OptionsQuickFiles),
    Checked("OptionsShowButtonBar", "Show &Button Bar", C::OptionsShowButtonBar),
};

constexpr std::array ButtonShortcutItems{
    Bar("UFile1", "User-defined File&1", "Shift+F1", 0),
    Bar("UFile2", "User-defined File&2", "Shift+F2", 1),
    Bar("UFile3", "User-defined File&3", "Shift+F3", 2),
    Bar("AddressFile", "Addess &File", "Shift+F4", 3),
    Bar("ToDoFile", "T&oDo File", "Shift+F5", 4),
    Bar("DateStampsDate", "&Date", "Ctrl+D", 5),
    Bar("DateStampsTime", "&Time", "Ctrl+T", 6),
    Bar("DateStampsDateTime", "D&ateTime", "Ctrl+B", 7),
    Bar("Gloss1", "&Glossary1", "Shift+F6", 8),
    Bar("Gloss2", "G&lossary2", "Shift+F7", 9),
    Bar("Gloss3", "Glossa&ry3", "Shift+F8", 10),
    Bar("Sig", "&Signature", "Shift+F9", 11),
    Bar("Calc", "&Calculator", "Ctrl+U", 12),
    // The menu item toggles the stopwatch itself; the bar button does that on the mouse release.
    Item("ETime", "&Elapsed Time", "Ctrl+E", C::ElapsedTimeMenu),
    Bar("ADial", "A&uto Dialer", "Ctrl+L", 14),
};

constexpr std::array HelpItems{
    Item("Contents", "&Contents", "F1", C::HelpContents),
    Item("HelpOnHelp", "&Help On Help...", "", C::HelpOnHelp),
    Item("AboutScriblet", "&About Scriblet...", "", C::AboutScriblet),
};

constexpr std::array Menus{
    MenuEntry{"FileMenu", "&File", FileItems},
    MenuEntry{"EditMenu", "&Edit", EditItems},
    MenuEntry{"OptionsMenu", "&Options", OptionsItems},
    MenuEntry{"DateStamps", "&Button Shortcuts", ButtonShortcutItems},
    MenuEntry{"Help", "&Help", HelpItems},
};

} // namespace

std::span<const MenuEntry> MainMenuTree() { return Menus; }
