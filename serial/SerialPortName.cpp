#include "serial/SerialLink.h"

#include "common/UserFolders.h"

#include <QFile>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {
#ifndef Q_OS_WIN
// Something is at that name: a device, a link to one, or a link whose device is not plugged in
// (opening it then says the port is missing, which is what the installer needs to hear).
bool present(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

// The name itself (a link is not followed) belongs to root: nobody else can have put it there.
bool ownedByRoot(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && st.st_uid == 0;
}
#endif
} // namespace

// Looked up anew at every call: an adapter plugged in, or a link made, after the program started
// is found at the next conversation.
QString serialPortName(int number)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QString link = QStringLiteral("com%1").arg(number);
    // The user's own link counts only while their folder is theirs alone: a link in a folder
    // somebody else can change could lead the conversation to another user's port.
    const QString own = UserFolders::settingsFolder() + link;
    if (!UserFolders::isRefused(UserFolders::settingsFolderState()) && present(own)) return own;
    if (const QString admin = UserFolders::adminFolder(); !admin.isEmpty() && ownedByRoot(admin + link))
        return admin + link;
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}
