#include "common/InstallFolder.h"

#include <QDir>
#include <optional>

namespace {
struct Resolved
{
    QString folder;
    bool ownHome = false;
};

std::optional<Resolved> &cached()
{
    static std::optional<Resolved> resolved;
    return resolved;
}

QString withSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QDir::separator();
    return folder;
}

Resolved resolve()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("c:\\program files\\QV Velano3\\"), false};
#else
    const QString fromEnv = qEnvironmentVariable("QV_VELANO_HOME");
    if (!fromEnv.isEmpty()) return {withSeparator(fromEnv), true};
    return {withSeparator(QStringLiteral(QV_DEFAULT_HOME)), false};
#endif
}

const Resolved &current()
{
    auto &resolved = cached();
    if (!resolved) resolved = resolve();
    return *resolved;
}
} // namespace

QString InstallFolder::path()
{
    return current().folder;
}

QString InstallFolder::file(const QString &name)
{
    return path() + name;
}

bool InstallFolder::isOwnHome()
{
    return current().ownHome;
}

void InstallFolder::setOverride(const QString &folder)
{
    if (folder.isEmpty())
        cached().reset();
    else
        cached() = Resolved{withSeparator(folder), true};
}

void InstallFolder::setShippedOverride(const QString &folder)
{
    if (folder.isEmpty())
        cached().reset();
    else
        cached() = Resolved{withSeparator(folder), false};
}
