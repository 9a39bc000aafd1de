#pragma once

#include "platform/command_id.h"

#include <array>

inline constexpr int BarButtonCount = 15;

struct BarButton
{
    const char* caption;
    CommandId command;
    const char* description; // what a screen reader says the button does
};

// The bar's buttons by index; the "Button Shortcuts" menu runs the same rows.
inline constexpr std::array<BarButton, BarButtonCount> BarButtons = {{
    {"F1", CommandId::LoadQuickFile1, "Opens your first quick file."},
    {"F2", CommandId::LoadQuickFile2, "Opens your second quick file."},
    {"F3", CommandId::LoadQuickFile3, "Opens your third quick file."},
    {"A", CommandId::LoadAddressFile, "Opens your address list, ADDRESS.SCB."},
    {"TD", CommandId::LoadToDoFile, "Opens your to-do list, TODO.SCB."},
    {"D", CommandId::InsertDate, "Puts the date at the caret."},
    {"T", CommandId::InsertTime, "Puts the time at the caret."},
    {"DT", CommandId::InsertDateTime, "Puts the date and the time at the caret."},
    {"G1", CommandId::InsertGlossary1, "Puts your first glossary text at the caret."},
    {"G2", CommandId::InsertGlossary2, "Puts your second glossary text at the caret."},
    {"G3", CommandId::InsertGlossary3, "Puts your third glossary text at the caret."},
    {"S", CommandId::InsertSignature, "Puts your signature at the caret."},
    {"#", CommandId::Calculator, "Brings up the calculator."},
    {"ET", CommandId::ElapsedTimeButton, "Starts and stops the stopwatch. Stopped with the Menu key or Shift+F10, it puts its time at the caret."},
    {"AD", CommandId::AutoDialer, "Dials the selected phone number."},
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
