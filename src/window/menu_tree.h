#pragma once

#include "platform/command_id.h"

#include <optional>
#include <span>

struct MenuItemEntry
{
    std::optional<CommandId> command; // none: a separator line
    const char* name = "";
    const char* caption = "";
    const char* shortcut = ""; // "" when the item has none
    int barIndex = -1;         // >= 0: the item presses that bar button
    bool checkable = false;
};

struct MenuEntry
{
    const char* name;
    const char* caption;
    std::span<const MenuItemEntry> items;
};

// The main window's menu bar, left to right.
std::span<const MenuEntry> MainMenuTree();
