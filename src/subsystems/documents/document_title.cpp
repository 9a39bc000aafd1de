#include "subsystems/documents/document_title.h"

#include "settings/settings.h"

#include <QWidget>

QString DocumentCaption(const QString& fileName)
{
    if (fileName == UntitledFileName)
        return QStringLiteral("UNNAMED.SCB");
    return fileName.mid(fileName.lastIndexOf(u'/') + 1);
}

void UpdateTitle(const Settings& settings, QWidget& window)
{
    if (settings.FileInTitle != 1)
        return;
    window.setWindowTitle(DocumentCaption(settings.FileName));
}
