#pragma once

#include "platform/commands.h"

#include <span>

struct MenuItemEntry
{
    const char* name; // nullptr: a separator line
    const char* caption;
    const char* shortcut; // "" when the item has none
    CommandId command;
    int barIndex; // >= 0: the item runs that bar button's command
    bool checkable;
};

struct MenuEntry
{
    const char* name;
    const char* caption;
    std::span<const MenuItemEntry> items;
};

// The main window's menu bar, left to right.
std::span<const MenuEntry> MainMenuTree();
