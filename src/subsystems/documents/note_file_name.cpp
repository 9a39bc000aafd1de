#include "subsystems/documents/note_file_name.h"

#include "platform/platform.h"

ExtensionCheck CheckNoteFileExtension(const QString& path)
{
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0) {
        const QString extension = name.mid(dot + 1, 3);
        const bool accepted = extension.compare(QStringLiteral("SCB"), Qt::CaseInsensitive) == 0
            || extension.compare(QStringLiteral("TXT"), Qt::CaseInsensitive) == 0;
        return {accepted, path};
    }
    if (name.isEmpty())
        return {false, path};
    return {true, path + QStringLiteral(".SCB")};
}

void ShowExtensionRefusal(Platform& platform)
{
    ShowError(platform,
              QStringLiteral("All File Names Used With Scriblet Must Use A .SCB Or .TXT Extension.")
                  + QStringLiteral("  This Protects Against Accidental Editing Of Non-ASCII Document ")
                  + QStringLiteral(" And Executable Files."),
              QStringLiteral("Invalid File Extension"));
}
