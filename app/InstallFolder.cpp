#include "app/InstallFolder.h"

#include <QDir>
#include <optional>

namespace {
std::optional<QString> &cached()
{
    static std::optional<QString> folder;
    return folder;
}

QString withSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QDir::separator();
    return folder;
}

QString resolve()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\program files\\QV Velano3\\");
#else
    const QString fromEnv = qEnvironmentVariable("QV_VELANO_HOME");
    if (!fromEnv.isEmpty())
        return withSeparator(fromEnv);
    return withSeparator(QStringLiteral(QV_DEFAULT_HOME));
#endif
}
} // namespace

QString InstallFolder::path()
{
    auto &folder = cached();
    if (!folder)
        folder = resolve();
    return *folder;
}

QString InstallFolder::file(const QString &name)
{
    return path() + name;
}

void InstallFolder::setOverride(const QString &folder)
{
    if (folder.isEmpty())
        cached().reset();
    else
        cached() = withSeparator(folder);
}
