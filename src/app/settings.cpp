#include "app/settings.h"

#include "app/numeric_text.h"
#include "app/private_profile.h"
#include "document/document_title.h"

namespace {

constexpr int NumberBuffer = 16;
constexpr int TextBuffer = 256;

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

    void int16(const char* key, std::int16_t& field, std::int16_t fallback) const
    {
        const QString value = raw(key, NumberBuffer);
        const std::optional<std::int16_t> number = value.isEmpty() ? std::nullopt : ToInt16(value);
        field = number.value_or(fallback);
    }

    // Flags are only ever 0 or 1 in the program; a hand-edited value counts
    // as on when it reads as anything but 0.
    void flag(const char* key, int& field, int fallback) const
    {
        const QString value = raw(key, NumberBuffer);
        field = value.isEmpty() ? fallback : (NumericValue(value) != 0 ? 1 : 0);
    }

    void text(const char* key, QString& field, const QString& fallback, int buffer = TextBuffer) const
    {
        const QString value = raw(key, buffer);
        field = value.isEmpty() ? fallback : value;
    }

private:
    const PrivateProfile& m_profile;
};

} // namespace

QString ProgramFilePath(const QString& programDirectory, const QString& fileName)
{
    if (programDirectory.endsWith(u'/'))
        return programDirectory + fileName;
    return programDirectory + u'/' + fileName;
}

void LoadSettings(Settings& s, const PrivateProfile& profile, const QString& programDirectory,
                  bool commandLineNamedDocument)
{
    const KeyReader read(profile);
    read.int16("Left", s.Left, 500);
    read.int16("Top", s.Top, 500);
    read.int16("Width", s.Width, 6510);
    read.int16("Height", s.Height, 2040);
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
    const QString backColor = read.raw("BackColor", NumberBuffer);
    s.BackColor = (backColor.isEmpty() ? std::nullopt : ToInt32(backColor)).value_or(0x00FFFFFF);
    read.text("FontName", s.FontName, QStringLiteral("Arial"));
    const QString fontSize = read.raw("FontSize", NumberBuffer);
    s.FontSize = fontSize.isEmpty() ? 10.0 : NumericValue(fontSize);
    read.text("FontBold", s.FontBold, QString(), NumberBuffer);
    read.text("FontItalic", s.FontItalic, QString(), NumberBuffer);
    read.flag("AutoSave", s.AutoSave, 0);
    read.int16("AutoSaveTime", s.AutoSaveTime, 10);
    read.flag("TimerBeep", s.TimerBeep, 0);
    read.int16("BeepTime", s.BeepTime, 60);
    read.flag("FileInTitle", s.FileInTitle, 0);
}

void WriteSettings(PrivateProfile& profile, const Settings& s, const EditorAppearanceValues& appearance,
                   bool windowMinimized)
{
    const auto write = [&profile](const char* key, const QString& value) {
        profile.writeString(SettingsSection, QString::fromLatin1(key), value);
    };
    const auto number = [&write](const char* key, double value) { write(key, NumberValueText(value)); };

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
