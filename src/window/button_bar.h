#pragma once

#include "platform/command_id.h"

#include <array>

inline constexpr int BarButtonCount = 15;

struct BarButton
{
    const char* caption;
    CommandId command;
};

// The bar's buttons by index; the "Button Shortcuts" menu runs the same rows.
inline constexpr std::array<BarButton, BarButtonCount> BarButtons = {{
    {"F1", CommandId::LoadQuickFile1},
    {"F2", CommandId::LoadQuickFile2},
    {"F3", CommandId::LoadQuickFile3},
    {"A", CommandId::LoadAddressFile},
    {"TD", CommandId::LoadToDoFile},
    {"D", CommandId::InsertDate},
    {"T", CommandId::InsertTime},
    {"DT", CommandId::InsertDateTime},
    {"G1", CommandId::InsertGlossary1},
    {"G2", CommandId::InsertGlossary2},
    {"G3", CommandId::InsertGlossary3},
    {"S", CommandId::InsertSignature},
    {"#", CommandId::Calculator},
    {"ET", CommandId::ElapsedTimeButton},
    {"AD", CommandId::AutoDialer},
}};

inline constexpr int CalculatorButton = 12;
inline constexpr int ElapsedTimeButton = 13;
inline constexpr int AutoDialerButton = 14;

// Button geometry in twips: 435 x 315, 420 apart, so neighbours overlap by 15.
inline constexpr int BarButtonSpacing = 420;
inline constexpr int BarButtonWidth = 435;
inline constexpr int BarButtonHeight = 315;

// After a bar command the editor gets the keyboard focus back, except after
// the two that hand it to another program.
constexpr bool BarCommandReturnsFocus(int index)
{
    return index != CalculatorButton && index != AutoDialerButton;
}
