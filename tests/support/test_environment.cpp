#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {

// Each variable and the folder in the temporary directory it points to.
constexpr std::array<std::pair<const char*, const char*>, 5> Variables{{{"XDG_CONFIG_HOME", "/config"},
                                                                        {"XDG_DATA_HOME", "/data"},
                                                                        {"XDG_STATE_HOME", "/state"},
                                                                        {"XDG_CACHE_HOME", "/cache"},
                                                                        {"XDG_RUNTIME_DIR", "/runtime"}}};

} // namespace

ScopedUserDirectories::ScopedUserDirectories()
{
    for (std::size_t i = 0; i < Variables.size(); ++i) {
        m_old[i] = qgetenv(Variables[i].first);
        qputenv(Variables[i].first, QFile::encodeName(root() + QLatin1String(Variables[i].second)));
    }
}

ScopedUserDirectories::~ScopedUserDirectories()
{
    for (std::size_t i = 0; i < Variables.size(); ++i) {
        if (m_old[i].isNull())
            qunsetenv(Variables[i].first);
        else
            qputenv(Variables[i].first, m_old[i]);
    }
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
