#include "settings/settings.h"

#include "settings/numeric_text.h"
#include "settings/private_profile.h"

namespace {

constexpr int NumberBuffer = 16;
constexpr int TextBuffer = LongestSettingsText + 1;

bool IsQuotedEmpty(const QString& rawValue)
{
    return rawValue == QStringLiteral("\"\"") || rawValue == QStringLiteral("''");
}

class KeyReader
{
public:
    explicit KeyReader(const PrivateProfile& profile)
        : m_profile(profile)
    {
    }

    QString raw(const char* key, int buffer) const
    {
        return m_profile.readString(SettingsSection, QString::fromLatin1(key), buffer);
    }

    // A number the field cannot hold takes the default, as a missing one does.
    template <typename Int>
    void integer(const char* key, Int& field, Int fallback, std::optional<Int> (*convert)(const QString&)) const
    {
        const QString value = raw(key, NumberBuffer);
        field = (value.isEmpty() ? std::nullopt : convert(value)).value_or(fallback);
    }

    // Flags are only ever 0 or 1 in the program; a hand-edited value counts
    // as on when it reads as anything but 0.
    void flag(const char* key, int& field, int fallback) const
    {
        const QString value = raw(key, NumberBuffer);
        field = value.isEmpty() ? fallback : (NumericValue(value) != 0 ? 1 : 0);
    }

    // A text the user cleared is stored as "": it stays empty, where a
    // missing or bare-empty key takes the default.
    void text(const char* key, QString& field, const QString& fallback) const
    {
        const QString value = raw(key, TextBuffer);
        field = value.isEmpty() && !IsQuotedEmpty(m_profile.readRawValue(SettingsSection, QString::fromLatin1(key)))
            ? fallback
            : value;
    }

    // Inside its quotes a value may still carry blanks: " True " is True.
    void trimmedText(const char* key, QString& field, const QString& fallback, int buffer) const
    {
        const QString value = raw(key, buffer).trimmed();
        field = value.isEmpty() ? fallback : value;
    }

private:
    const PrivateProfile& m_profile;
};

// The reading trims surrounding blanks and strips one pair of quotes: a text
// that would lose either is written in quotes, so a note named " x.scb", a
// glossary text ending in a blank or one typed as "hi" comes back as it was.
// An empty text is written as "", which reads as empty, not as the default.
QString ProfileText(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("\"\"");
    const bool quoted = text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') && text.back() == text.front();
    const bool blankEdge = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    return quoted || blankEdge ? u'"' + text + u'"' : text;
}

} // namespace

QString ProgramFilePath(const QString& programDirectory, const QString& fileName)
{
    if (programDirectory.isEmpty())
        return {};
    if (programDirectory.endsWith(u'/'))
        return programDirectory + fileName;
    return programDirectory + u'/' + fileName;
}

void LoadSettings(Settings& s, const PrivateProfile& profile, const QString& programDirectory,
                  bool commandLineNamedDocument)
{
    const KeyReader read(profile);
    read.integer("Left", s.Left, DefaultLeft, ToInt32);
    read.integer("Top", s.Top, DefaultTop, ToInt32);
    read.integer("Width", s.Width, 6510, ToInt32);
    read.integer("Height", s.Height, 2040, ToInt32);
    read.flag("ButtonBar", s.ButtonBar, 1);
    if (!commandLineNamedDocument)
        s.FileName = read.raw("FileName", TextBuffer);
    if (!commandLineNamedDocument && s.FileName.isEmpty())
        s.FileName = ProgramFilePath(programDirectory, QStringLiteral("SCRBLT20.SCB"));
    read.text("File1", s.File1, ProgramFilePath(programDirectory, QStringLiteral("SCRBLT20.SCB")));
    read.text("File2", s.File2, ProgramFilePath(programDirectory, QStringLiteral("ADDRESS.SCB")));
    read.text("File3", s.File3, ProgramFilePath(programDirectory, QStringLiteral("TODO.SCB")));
    read.text("Glossary1", s.Glossary1, QStringLiteral("Text For Glossary Button 1"));
    read.text("Glossary2", s.Glossary2, QStringLiteral("Text For Glossary Button 2"));
    read.text("Glossary3", s.Glossary3, QStringLiteral("Text For Glossary Button 3"));
    read.text("Signature", s.Signature, QStringLiteral("Text For Signature Button"));
    read.flag("OnTop", s.OnTop, 0);
    read.integer("BackColor", s.BackColor, 0x00FFFFFF, ToInt32);
    read.trimmedText("FontName", s.FontName, QStringLiteral("Arial"), TextBuffer);
    const QString fontSize = read.raw("FontSize", NumberBuffer);
    s.FontSize = fontSize.isEmpty() ? 10.0 : NumericValue(fontSize);
    read.trimmedText("FontBold", s.FontBold, QString(), NumberBuffer);
    read.trimmedText("FontItalic", s.FontItalic, QString(), NumberBuffer);
    read.flag("AutoSave", s.AutoSave, 0);
    read.integer<std::int16_t>("AutoSaveTime", s.AutoSaveTime, 10, ToInt16);
    read.flag("TimerBeep", s.TimerBeep, 0);
    read.integer<std::int16_t>("BeepTime", s.BeepTime, 60, ToInt16);
    read.flag("FileInTitle", s.FileInTitle, 0);
}

void WriteSettings(PrivateProfile& profile, const Settings& s, const EditorAppearanceValues& appearance,
                   bool windowMinimized)
{
    const auto write = [&profile](const char* key, const QString& value) {
        profile.writeString(SettingsSection, QString::fromLatin1(key), ProfileText(value));
    };
    const auto number = [&profile](const char* key, double value) {
        profile.writeString(SettingsSection, QString::fromLatin1(key), NumberValueText(value));
    };

    if (!windowMinimized) {
        number("Left", s.Left);
        number("Top", s.Top);
        number("Width", s.Width);
        number("Height", s.Height);
    }
    number("OnTop", s.OnTop);
    number("AutoSave", s.AutoSave);
    number("AutoSaveTime", s.AutoSaveTime);
    number("TimerBeep", s.TimerBeep);
    number("BeepTime", s.BeepTime);
    number("ButtonBar", s.ButtonBar);
    if (s.FileName != UntitledFileName)
        write("FileName", s.FileName);
    write("File1", s.File1);
    write("File2", s.File2);
    write("File3", s.File3);
    write("Glossary1", s.Glossary1);
    write("Glossary2", s.Glossary2);
    write("Glossary3", s.Glossary3);
    write("Signature", s.Signature);
    number("FileInTitle", s.FileInTitle);
    number("BackColor", appearance.backColor);
    write("FontName", appearance.fontName);
    number("FontSize", appearance.fontSize);
    write("FontBold", appearance.bold ? QStringLiteral("True") : QStringLiteral("False"));
    write("FontItalic", appearance.italic ? QStringLiteral("True") : QStringLiteral("False"));
}
