#pragma once

#include <QString>

#include <cstdint>

class PrivateProfile;

// FileName of a document that has no file yet; no file of this name is ever meant to exist.
inline const QString UntitledFileName = QStringLiteral("PQRSTUVW.XYZ");

// The program-wide settings record. Field names are the keys of SCRIBLET.INI.
// Flags hold 0 or 1; window geometry is in twips, 32 bits wide so that a
// window on a wide or second screen comes back where it was.
struct Settings
{
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    int ButtonBar = 0;
    QString FileName;
    QString File1;
    QString File2;
    QString File3;
    QString Glossary1;
    QString Glossary2;
    QString Glossary3;
    QString Signature;
    int OnTop = 0;
    std::int32_t BackColor = 0;
    QString FontName;
    double FontSize = 0;
    QString FontBold;
    QString FontItalic;
    int AutoSave = 0;
    std::int16_t AutoSaveTime = 0;
    int TimerBeep = 0;
    std::int16_t BeepTime = 0;
    int FileInTitle = 0;
};

inline const QString SettingsSection = QStringLiteral("SCRIBLET");

// The longest text a key gives back: texts are read through a buffer of 256 characters.
inline constexpr int LongestSettingsText = 255;

// Where the window comes up when the settings say nothing, in twips.
inline constexpr std::int32_t DefaultLeft = 500;
inline constexpr std::int32_t DefaultTop = 500;

// Program directory + "/" + file name; a directory that already ends in "/"
// (the root) gets no second one. Empty when there is no program directory.
QString ProgramFilePath(const QString& programDirectory, const QString& fileName);

// Reads every key in the file's order. FileName is skipped when the command
// line named a document. A missing or empty key, or a number that the field
// cannot hold, takes the key's default; a glossary, signature or quick-file
// text stored as "" is an empty text.
void LoadSettings(Settings& settings, const PrivateProfile& profile, const QString& programDirectory,
                  bool commandLineNamedDocument);

// The editor's appearance as it is written at exit; it is read back from the
// editor control, not from the record.
struct EditorAppearanceValues
{
    std::int32_t backColor = 0;
    QString fontName;
    double fontSize = 0;
    bool bold = false;
    bool italic = false;
};

// Writes the keys in the exit routine's order. The geometry keys are left
// out for a minimized window; FileName is left out for an untitled document.
void WriteSettings(PrivateProfile& profile, const Settings& settings, const EditorAppearanceValues& appearance,
                   bool windowMinimized);
