#pragma once

#include <QString>

class EditorControl;
class Platform;
class QDateTime;
class QLocale;
struct Settings;

// The texts that bar buttons 5-11 put at the caret.
enum class Snippet { Date, Time, DateTime, Glossary1, Glossary2, Glossary3, Signature };

// The locale's long time format without its time-zone field.
QString LongTimeFormat(const QLocale& locale);

// A time format without its time-zone field ("t"), with plain blanks only.
QString WithoutTimeZone(const QString& format);

QString DateStamp(const QDateTime& now, const QLocale& locale);
QString TimeStamp(const QDateTime& now, const QLocale& locale);

// The text of a snippet; the date and the time are two readings of the clock.
QString SnippetText(Snippet snippet, const Settings& settings, Platform& platform);

// Puts text on the clipboard and pastes it at the caret, replacing any
// selection; the clipboard keeps the text afterwards. When the clipboard
// cannot take the text, the editor stays as it was.
void InsertText(Platform& platform, EditorControl& editor, const QString& text);
