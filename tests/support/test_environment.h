#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Points the per-user configuration and data directories into a fresh
// temporary directory for the lifetime of the object.
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
    QString settingsPath() const { return configDirectory() + QStringLiteral("/SCRIBLET.INI"); }

private:
    QTemporaryDir m_root;
    QByteArray m_oldConfig;
    QByteArray m_oldData;
};

QByteArray ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);
