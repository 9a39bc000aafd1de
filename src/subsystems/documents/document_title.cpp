#include "subsystems/documents/document_title.h"

#include "settings/settings.h"

#include "platform/main_window_control.h"

QString DocumentCaption(const QString& fileName)
{
    if (fileName == UntitledFileName)
        return QStringLiteral("UNNAMED.SCB");
    return fileName.mid(fileName.lastIndexOf(u'/') + 1);
}

void UpdateTitle(const Settings& settings, MainWindowControl& window)
{
    window.setNoteName(DocumentCaption(settings.FileName));
    if (settings.FileInTitle != 1)
        return;
    window.setTitle(DocumentCaption(settings.FileName));
}

void SetBaseTitle(MainWindowControl& window) { window.setTitle(BaseTitle); }
