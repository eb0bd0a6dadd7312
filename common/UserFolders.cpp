#include "common/UserFolders.h"

#include "common/InstallFolder.h"
#include "common/Lang.h"

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

UserFolders::FolderState UserFolders::settingsFolderState()
{
#ifdef Q_OS_WIN
    return FolderState::Usable;
#else
    if (InstallFolder::isOwnHome()) return FolderState::Usable;
    return privateFolderState(settingsFolder());
#endif
}

UserFolders::FolderState UserFolders::privateFolderState(const QString &folder)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return FolderState::Usable;
#else
    // The name itself, not what a link leads to: "folder/" would follow a link.
    QString name = folder;
    while (name.size() > 1 && name.endsWith(QLatin1Char('/')))
        name.chop(1);
    struct stat st
    {
    };
    // A folder that cannot be looked at (missing, or below a folder the user may not enter)
    // holds nothing to read; making it says what is wrong.
    if (::lstat(QFile::encodeName(name).constData(), &st) != 0) return FolderState::Missing;
    if (S_ISLNK(st.st_mode)) return FolderState::Link;
    if (!S_ISDIR(st.st_mode)) return FolderState::NotAFolder;
    if (st.st_uid != ::geteuid()) return FolderState::NotOwned;
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) return FolderState::WritableByOthers;
    return FolderState::Usable;
#endif
}

Failure::Kind UserFolders::failureKind(FolderState state)
{
    switch (state) {
    case FolderState::Usable:
    case FolderState::Missing:
        break;
    case FolderState::Link:
        return Failure::Kind::FolderIsLink;
    case FolderState::NotAFolder:
        return Failure::Kind::FolderNotAFolder;
    case FolderState::NotOwned:
        return Failure::Kind::FolderNotOwned;
    case FolderState::WritableByOthers:
        return Failure::Kind::FolderOpenToOthers;
    }
    return Failure::Kind::None;
}

QString UserFolders::unusedFolderText(const QString &folder, FolderState state, int language)
{
    Lang::Text why;
    switch (state) {
    case FolderState::Usable:
    case FolderState::Missing:
        return QString();
    case FolderState::Link:
        why.dutch = QStringLiteral("Het is een symbolische link, geen gewone map.");
        why.french = QStringLiteral("C'est un lien symbolique, pas un dossier ordinaire.");
        break;
    case FolderState::NotAFolder:
        why.dutch = QStringLiteral("Het is geen map.");
        why.french = QStringLiteral("Ce n'est pas un dossier.");
        break;
    case FolderState::NotOwned:
        why.dutch = QStringLiteral("De map is van een andere gebruiker.");
        why.french = QStringLiteral("Ce dossier appartient à un autre utilisateur.");
        break;
    case FolderState::WritableByOthers:
        why.dutch = QStringLiteral("Ook anderen mogen in deze map schrijven.");
        why.french = QStringLiteral("D'autres utilisateurs peuvent aussi écrire dans ce dossier.");
        break;
    }
    const QString shown = QDir::toNativeSeparators(folder);
    return Lang::message(
        language,
        QStringLiteral("De map met uw eigen instellingen wordt niet gebruikt:\n%1\n%2\n\n"
                       "De instellingen van de beheerder of de standaardinstellingen gelden. Wijzigingen en "
                       "poortkoppelingen worden pas bewaard wanneer dit een gewone map is die van u is en "
                       "waarin niemand anders mag schrijven.")
            .arg(shown, why.dutch),
        QStringLiteral(
            "Le dossier de vos propres réglages n'est pas utilisé :\n%1\n%2\n\n"
            "Les réglages de l'administrateur ou les réglages par défaut s'appliquent. Les "
            "modifications et les liaisons de ports ne seront sauvées que lorsque ce sera un "
            "dossier ordinaire qui vous appartient et dans lequel personne d'autre ne peut écrire.")
            .arg(shown, why.french));
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
