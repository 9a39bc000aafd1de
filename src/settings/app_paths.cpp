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

// The program's folder in the directory the variable names, else in the home
// directory's inHome (none when inHome is empty). Qt before 6.7 has no state
// location, so the variables are read here; a relative path is to be ignored.
QString ScribletDirectoryFrom(const char* variable, const QString& inHome)
{
    const QString base = qEnvironmentVariable(variable);
    if (QDir::isAbsolutePath(base))
        return base + QStringLiteral("/scriblet");
    const QString home = QDir::homePath();
    if (inHome.isEmpty() || home.isEmpty() || home == QDir::rootPath())
        return {};
    return home + u'/' + inHome + QStringLiteral("/scriblet");
}

} // namespace

QString FindConfigDirectory()
{
    const QString directory = ScribletDirectoryIn(QStandardPaths::GenericConfigLocation);
    if (directory.isEmpty() || !QDir().mkpath(directory) || !QFileInfo(directory).isDir())
        return {};
    return directory;
}

RecoveryDirectories FindRecoveryDirectories()
{
    RecoveryDirectories found{ScribletDirectoryFrom("XDG_STATE_HOME", QStringLiteral(".local/state")),
                              ScribletDirectoryFrom("XDG_CACHE_HOME", QStringLiteral(".cache")),
                              ScribletDirectoryFrom("XDG_RUNTIME_DIR", QString())};
    // One folder named twice is one place.
    if (found.cache == found.state)
        found.cache.clear();
    if (found.runtime == found.state || found.runtime == found.cache)
        found.runtime.clear();
    return found;
}

QString ProgramDataDirectory() { return ScribletDirectoryIn(QStandardPaths::GenericDataLocation); }
