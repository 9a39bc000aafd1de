#include "settings/app_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString ScribletDirectoryIn(QStandardPaths::StandardLocation location)
{
    const QString base = QStandardPaths::writableLocation(location);
    return base.isEmpty() ? QString() : base + QStringLiteral("/scriblet");
}

} // namespace

QString FindConfigDirectory()
{
    const QString directory = ScribletDirectoryIn(QStandardPaths::GenericConfigLocation);
    if (directory.isEmpty() || !QDir().mkpath(directory) || !QFileInfo(directory).isDir())
        return {};
    return directory;
}

QString ProgramDataDirectory() { return ScribletDirectoryIn(QStandardPaths::GenericDataLocation); }
