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

QString RecoveryDirectory()
{
    // Qt before 6.7 has no state location; a relative XDG_STATE_HOME is to be ignored.
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (QDir::isAbsolutePath(state))
        return state + QStringLiteral("/scriblet");
    const QString home = QDir::homePath();
    return home.isEmpty() || home == QDir::rootPath() ? QString() : home + QStringLiteral("/.local/state/scriblet");
}

QString ProgramDataDirectory() { return ScribletDirectoryIn(QStandardPaths::GenericDataLocation); }
