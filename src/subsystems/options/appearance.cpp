#include "subsystems/options/appearance.h"

#include "platform/editor_control.h"
#include "settings/numeric_text.h"

#include <QPalette>

namespace {

constexpr double DefaultFontSize = 10.0;
constexpr double LargestFontSize = 2160.0;

QPalette::ColorRole SystemColorRole(std::uint32_t index)
{
    switch (index) {
    case 1: // desktop
    case 4: // menu
    case 15: // button face
        return QPalette::Button;
    case 5: // window background
        return QPalette::Base;
    case 7: // menu text
    case 8: // window text
        return QPalette::Text;
    case 13: // highlight
        return QPalette::Highlight;
    case 14: // highlighted text
        return QPalette::HighlightedText;
    case 18: // button text
        return QPalette::ButtonText;
    case 24: // tooltip background
        return QPalette::ToolTipBase;
    default:
        return QPalette::Window;
    }
}

} // namespace

QColor ColorFromValue(std::int32_t value, const QPalette& palette)
{
    const auto bits = static_cast<std::uint32_t>(value);
    if (bits & 0x80000000u)
        return palette.color(QPalette::Active, SystemColorRole(bits & 0xFFu));
    return QColor(int(bits & 0xFFu), int((bits >> 8) & 0xFFu), int((bits >> 16) & 0xFFu));
}

bool FontFlagFromText(const QString& text)
{
    if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    return NumericValue(text) != 0;
}

void ApplyEditorAppearance(EditorControl& editor, const Settings& settings)
{
    editor.setBackColor(settings.BackColor, ColorFromValue(settings.BackColor, editor.palette()));
    QFont font(settings.FontName);
    const bool sizeUsable = settings.FontSize >= 1.0 && settings.FontSize <= LargestFontSize;
    font.setPointSizeF(sizeUsable ? settings.FontSize : DefaultFontSize);
    font.setBold(FontFlagFromText(settings.FontBold));
    font.setItalic(FontFlagFromText(settings.FontItalic));
    editor.setFont(font);
}

EditorAppearanceValues ReadEditorAppearance(const EditorControl& editor)
{
    const QFont font = editor.font();
    return {editor.backColorValue(), font.family(), font.pointSizeF(), font.bold(), font.italic()};
}
