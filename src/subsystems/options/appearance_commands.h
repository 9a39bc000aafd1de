#pragma once

class QColor;
struct OptionsContext;

// The Options menu's appearance commands. Each takes effect at once and
// changes only the settings record, which is written at exit.
void OptionsColor(const OptionsContext& context);
void OptionsFont(const OptionsContext& context);
void ToggleAlwaysOnTop(const OptionsContext& context);
void ToggleFileInTitle(const OptionsContext& context);
void ToggleButtonBar(const OptionsContext& context);

// The editor's background colour as the settings hold it: 0x00BBGGRR.
int ColorValue(const QColor& color);
