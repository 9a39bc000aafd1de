#pragma once

#include "settings/settings.h"

#include <QColor>

#include <cstdint>

class EditorControl;
class QPalette;

// A colour value of the settings: 0x00BBGGRR, or a system colour (0x80000000
// plus the colour's index) taken from the palette.
QColor ColorFromValue(std::int32_t value, const QPalette& palette);

// "True"/"False" in any letter case, or a number (non-zero is true); anything else is false.
bool FontFlagFromText(const QString& text);

// Applies the background colour and the font of the settings to the editor.
// A size the editor cannot show (0, negative, absurdly large) gives 10 points.
void ApplyEditorAppearance(EditorControl& editor, const Settings& settings);

// The editor's colour and font as they are written to the settings file.
EditorAppearanceValues ReadEditorAppearance(const EditorControl& editor);
