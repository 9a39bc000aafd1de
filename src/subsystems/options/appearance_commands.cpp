#include "subsystems/options/appearance_commands.h"

#include "platform/editor_control.h"
#include "platform/main_window_control.h"
#include "platform/platform.h"
#include "subsystems/documents/document_title.h"
#include "subsystems/options/options_commands.h"

namespace {

// Setting the height this low lets the resize rule raise it to the minimum
// of the bar's new state.
constexpr int CollapsedHeight = 30;

} // namespace

int ColorValue(const QColor& color) { return color.red() | color.green() << 8 | color.blue() << 16; }

void OptionsColor(const OptionsContext& context)
{
    if (const std::optional<QColor> color = context.platform.chooseColor())
        context.editor.setBackColor(ColorValue(*color), *color);
}

void OptionsFont(const OptionsContext& context)
{
    const std::optional<QFont> chosen = context.platform.chooseFont();
    if (!chosen)
        return;
    // Name, size, bold and italic only: underline and strikeout are never set.
    QFont font = context.editor.font();
    font.setFamily(chosen->family());
    font.setPointSizeF(chosen->pointSizeF());
    font.setBold(chosen->bold());
    font.setItalic(chosen->italic());
    context.editor.setFont(font);
}

void ToggleAlwaysOnTop(const OptionsContext& context)
{
    Settings& settings = context.settings;
    settings.OnTop = settings.OnTop == 1 ? 0 : 1;
    context.window.setAlwaysOnTop(settings.OnTop == 1);
}

void ToggleFileInTitle(const OptionsContext& context)
{
    Settings& settings = context.settings;
    if (settings.FileInTitle == 1) {
        settings.FileInTitle = 0;
        SetBaseTitle(context.window);
        return;
    }
    settings.FileInTitle = 1;
    UpdateTitle(settings, context.window);
}

void ToggleButtonBar(const OptionsContext& context)
{
    Settings& settings = context.settings;
    settings.ButtonBar = settings.ButtonBar == 0 ? 1 : 0;
    context.window.setButtonBarShown(settings.ButtonBar == 1);
    context.window.setOuterHeight(CollapsedHeight);
}
