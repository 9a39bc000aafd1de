#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

ScopedUserDirectories::ScopedUserDirectories()
    : m_oldConfig(qgetenv("XDG_CONFIG_HOME"))
    , m_oldData(qgetenv("XDG_DATA_HOME"))
    , m_oldState(qgetenv("XDG_STATE_HOME"))
    , m_oldCache(qgetenv("XDG_CACHE_HOME"))
    , m_oldRuntime(qgetenv("XDG_RUNTIME_DIR"))
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root() + QStringLiteral("/data")));
    qputenv("XDG_STATE_HOME", QFile::encodeName(root() + QStringLiteral("/state")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(root() + QStringLiteral("/cache")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root() + QStringLiteral("/runtime")));
}

namespace {

void RestoreVariable(const char* name, const QByteArray& value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

} // namespace

ScopedUserDirectories::~ScopedUserDirectories()
{
    RestoreVariable("XDG_CONFIG_HOME", m_oldConfig);
    RestoreVariable("XDG_DATA_HOME", m_oldData);
    RestoreVariable("XDG_STATE_HOME", m_oldState);
    RestoreVariable("XDG_CACHE_HOME", m_oldCache);
    RestoreVariable("XDG_RUNTIME_DIR", m_oldRuntime);
}

QByteArray ReadFileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
