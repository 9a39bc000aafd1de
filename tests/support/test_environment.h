#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Points the per-user configuration, data, state, cache and runtime
// directories into a fresh temporary directory for the lifetime of the object.
class ScopedUserDirectories
{
public:
    ScopedUserDirectories();
    ~ScopedUserDirectories();
    ScopedUserDirectories(const ScopedUserDirectories&) = delete;
    ScopedUserDirectories& operator=(const ScopedUserDirectories&) = delete;

    QString root() const { return m_root.path(); }
    QString configDirectory() const { return root() + QStringLiteral("/config/scriblet"); }
    QString dataDirectory() const { return root() + QStringLiteral("/data/scriblet"); }
    QString stateDirectory() const { return root() + QStringLiteral("/state/scriblet"); }
    QString cacheDirectory() const { return root() + QStringLiteral("/cache/scriblet"); }
    QString runtimeDirectory() const { return root() + QStringLiteral("/runtime/scriblet"); }
    QString settingsPath() const { return configDirectory() + QStringLiteral("/SCRIBLET.INI"); }

private:
    QTemporaryDir m_root;
    QByteArray m_oldConfig;
    QByteArray m_oldData;
    QByteArray m_oldState;
    QByteArray m_oldCache;
    QByteArray m_oldRuntime;
};

QByteArray ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);
