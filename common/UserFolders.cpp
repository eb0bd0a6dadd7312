#include "common/UserFolders.h"

#include "common/InstallFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <optional>

#ifndef Q_OS_WIN
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr const char *kProgramFolder = "qv-velano5";

std::optional<QString> &adminOverride()
{
    static std::optional<QString> folder;
    return folder;
}

QString withSeparator(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\'))) folder += QLatin1Char('/');
    return folder;
}

#ifndef Q_OS_WIN
// $HOME, or the home folder of the account when HOME is not set.
QString homeFolder()
{
    const QString fromEnv = qEnvironmentVariable("HOME");
    if (!fromEnv.isEmpty()) return fromEnv;
    if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir)
        return QFile::decodeName(pw->pw_dir);
    return QDir::homePath();
}

// An XDG base folder: the variable when it holds an absolute path (a relative one is to be
// ignored), else its default below the home folder.
QString xdgFolder(const char *variable, const QString &belowHome)
{
    const QString fromEnv = qEnvironmentVariable(variable);
    if (!fromEnv.isEmpty() && QDir::isAbsolutePath(fromEnv)) return withSeparator(fromEnv);
    return withSeparator(homeFolder()) + belowHome;
}
#endif
} // namespace

QString UserFolders::settingsFolder()
{
#ifdef Q_OS_WIN
    return InstallFolder::path();
#else
    if (InstallFolder::isOwnHome()) return InstallFolder::path();
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config/")) + QLatin1String(kProgramFolder) +
           QLatin1Char('/');
#endif
}

QString UserFolders::dataFolder()
{
    if (InstallFolder::isOwnHome()) return InstallFolder::path();
#ifdef Q_OS_WIN
    return withSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
           QStringLiteral("QV Velano5/");
#else
    return xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share/")) + QLatin1String(kProgramFolder) +
           QLatin1Char('/');
#endif
}

QString UserFolders::adminFolder()
{
#ifdef Q_OS_WIN
    return QString();
#else
    if (InstallFolder::isOwnHome()) return QString();
    if (adminOverride()) return *adminOverride();
    return QStringLiteral("/etc/qv-velano5/");
#endif
}

QString UserFolders::documentsFolder()
{
    if (InstallFolder::isOwnHome()) return InstallFolder::path();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return withSeparator(documents);
#ifdef Q_OS_WIN
    return withSeparator(QDir::homePath());
#else
    return withSeparator(homeFolder());
#endif
}

bool UserFolders::makePrivateFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    // The missing folders, deepest first.
    QStringList missing;
    for (QString f = clean; !QFileInfo::exists(f) && !QFileInfo(f).isSymLink();) {
        missing.prepend(f);
        const QString parent = QFileInfo(f).path();
        if (parent == f) break;
        f = parent;
    }
    for (const QString &f : missing) {
#ifdef Q_OS_WIN
        if (!QDir().mkdir(f)) return QFileInfo(f).isDir();
#else
        const QByteArray native = QFile::encodeName(f);
        if (::mkdir(native.constData(), 0700) != 0)
            return QFileInfo(f).isDir(); // made meanwhile by another instance, or not at all
        // The umask may have taken more than the group and others' rights.
        ::chmod(native.constData(), 0700);
#endif
    }
    return QFileInfo(clean).isDir();
}

void UserFolders::setAdminFolderOverride(const QString &folder)
{
    if (folder.isEmpty())
        adminOverride().reset();
    else
        adminOverride() = withSeparator(folder);
}
