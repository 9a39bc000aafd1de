#include "subsystems/editing/stamps.h"

#include "platform/platform.h"
#include "settings/settings.h"
#include "subsystems/editing/edit_commands.h"

#include <QDateTime>
#include <QLocale>

QString LongTimeFormat(const QLocale& locale) { return WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)); }

QString WithoutTimeZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (QChar c : format) {
        // Newer locale data puts a (narrow) no-break space before AM/PM.
        if (c == QChar(0x202F) || c == QChar(0x00A0))
            c = u' ';
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            result += c;
    }
    result = result.trimmed();
    while (result.contains(QStringLiteral("  ")))
        result.replace(QStringLiteral("  "), QStringLiteral(" "));
    return result;
}

QString DateStamp(const QDateTime& now, const QLocale& locale)
{
    return locale.toString(now.date(), QLocale::ShortFormat);
}

QString TimeStamp(const QDateTime& now, const QLocale& locale) { return locale.toString(now.time(), LongTimeFormat(locale)); }

QString SnippetText(Snippet snippet, const Settings& settings, Platform& platform)
{
    switch (snippet) {
    case Snippet::Date:
        return DateStamp(platform.currentDateTime(), platform.locale()) + u' ';
    case Snippet::Time:
        return TimeStamp(platform.currentDateTime(), platform.locale()) + u' ';
    case Snippet::DateTime: {
        const QString date = DateStamp(platform.currentDateTime(), platform.locale());
        const QString time = TimeStamp(platform.currentDateTime(), platform.locale());
        return date + QStringLiteral(" - ") + time + QStringLiteral("  ");
    }
    case Snippet::Glossary1:
        return settings.Glossary1;
    case Snippet::Glossary2:
        return settings.Glossary2;
    case Snippet::Glossary3:
        return settings.Glossary3;
    case Snippet::Signature:
        return settings.Signature;
    }
    return QString();
}

void InsertText(Platform& platform, EditorControl& editor, const QString& text)
{
    if (platform.setClipboardText(text))
        EditorPaste(editor, platform);
}
