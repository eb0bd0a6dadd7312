// Where the program finds its installation folder, each user's folders and the serial port of a
// number; and settings rewritten in a portable folder that a group shares (QV_VELANO_HOME on a
// set-group-ID folder): a replaced file keeps its group and permissions.
#include "app/SettingsFiles.h"
#include "common/InstallFolder.h"
#include "common/UserFolders.h"
#include "serial/SerialLink.h"
#include "support/TestHome.h"

#include <QDir>
#include <QtTest>

#ifndef Q_OS_WIN
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Restores QV_VELANO_HOME and the folder resolution when a test ends.
class EnvironmentGuard
{
public:
    EnvironmentGuard()
        : m_set(qEnvironmentVariableIsSet("QV_VELANO_HOME")), m_value(qgetenv("QV_VELANO_HOME"))
    {
    }
    ~EnvironmentGuard()
    {
        if (m_set)
            qputenv("QV_VELANO_HOME", m_value);
        else
            qunsetenv("QV_VELANO_HOME");
        InstallFolder::setOverride(QString());
    }

private:
    bool m_set;
    QByteArray m_value;
};

#ifndef Q_OS_WIN
// A group other than the process's own that it may give a folder: any group for root, else one
// of the supplementary groups. -1 when there is none.
gid_t otherGroup()
{
    if (geteuid() == 0) {
        const group *dialout = getgrnam("dialout");
        return dialout ? dialout->gr_gid : getegid() + 1;
    }
    gid_t groups[256];
    const int n = getgroups(256, groups);
    for (int i = 0; i < n; ++i)
        if (groups[i] != getegid()) return groups[i];
    return gid_t(-1);
}

struct FileMode
{
    gid_t group = gid_t(-1);
    mode_t mode = 0;
};

FileMode modeOf(const QString &path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return {st.st_gid, mode_t(st.st_mode & 07777)};
}
#endif

} // namespace

class tst_InstallFolder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
#ifndef Q_OS_WIN
        // Folders the tests make for a user are the user's alone (a settings folder others may
        // write in is not used), whatever the umask of the machine would give them.
        ::umask(022);
#endif
    }

    void folderLocation()
    {
#ifdef Q_OS_WIN
        QSKIP("the folder is fixed on Windows");
#else
        EnvironmentGuard guard;
        // Without QV_VELANO_HOME the program uses the folder the package installs.
        qunsetenv("QV_VELANO_HOME");
        InstallFolder::setOverride(QString());
        QVERIFY2(QDir::isAbsolutePath(InstallFolder::path()), qPrintable(InstallFolder::path()));
        QVERIFY2(InstallFolder::path().endsWith(QStringLiteral("/share/qv-velano5/")),
                 qPrintable(InstallFolder::path()));

        QVERIFY(!InstallFolder::isOwnHome());

        // A folder given without a final separator still holds the files.
        qputenv("QV_VELANO_HOME", "/opt/velano");
        InstallFolder::setOverride(QString());
        QCOMPARE(InstallFolder::file(QStringLiteral("port.vdm")), QStringLiteral("/opt/velano/port.vdm"));
        QVERIFY(InstallFolder::isOwnHome());
        // That folder is then every user folder too.
        QCOMPARE(UserFolders::settingsFolder(), QStringLiteral("/opt/velano/"));
        QCOMPARE(UserFolders::dataFolder(), QStringLiteral("/opt/velano/"));
        QCOMPARE(UserFolders::documentsFolder(), QStringLiteral("/opt/velano/"));
        QCOMPARE(UserFolders::adminFolder(), QString());
#endif
    }

    void userFolders()
    {
#ifdef Q_OS_WIN
        QSKIP("POSIX folders");
#else
        TestUserHome m;
        UserFolders::setAdminFolderOverride(QString());
        QCOMPARE(UserFolders::adminFolder(), QStringLiteral("/etc/qv-velano5/"));
        QCOMPARE(UserFolders::settingsFolder(), m.home() + QStringLiteral(".config/qv-velano5/"));
        QCOMPARE(UserFolders::dataFolder(), m.home() + QStringLiteral(".local/share/qv-velano5/"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m.root() + QStringLiteral("data")));
        QCOMPARE(UserFolders::dataFolder(), m.root() + QStringLiteral("data/qv-velano5/"));
        // The documents folder when there is one, else the home folder.
        QCOMPARE(UserFolders::documentsFolder(), m.home());
        QVERIFY(QDir(m.home()).mkdir(QStringLiteral("Documents")));
        QCOMPARE(UserFolders::documentsFolder(), m.home() + QStringLiteral("Documents/"));

        // Only the missing folders are made, each 0700.
        QVERIFY(UserFolders::makePrivateFolder(m.root() + QStringLiteral("data/qv-velano5/backups")));
        for (const QString &made : {QStringLiteral("data"), QStringLiteral("data/qv-velano5"),
                                    QStringLiteral("data/qv-velano5/backups")})
            QCOMPARE(QFileInfo(m.root() + made).permissions() & 0x0077, QFile::Permissions());
        QVERIFY(QFileInfo(m.home()).permissions() & QFile::ReadOther);
        m.write(m.root() + QStringLiteral("file"), "x");
        QVERIFY(!UserFolders::makePrivateFolder(m.root() + QStringLiteral("file")));
        QVERIFY(!UserFolders::makePrivateFolder(m.root() + QStringLiteral("file/below")));
#endif
    }

    // Port N: the user's comN, else the administrator's comN when root owns that name, else
    // /dev/ttyS<N-1>; looked up anew each time.
    void serialPortNames()
    {
#ifdef Q_OS_WIN
        QCOMPARE(serialPortName(3), QStringLiteral("COM3"));
#else
        TestUserHome m;
        QCOMPARE(serialPortName(1), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(serialPortName(8), QStringLiteral("/dev/ttyS7"));
        QVERIFY(QDir().mkpath(m.user()));
        // A link to an adapter that is not plugged in yet still names the port.
        QVERIFY(QFile::link(QStringLiteral("/dev/ttyUSB97"), m.user(QStringLiteral("com1"))));
        QCOMPARE(serialPortName(1), m.user(QStringLiteral("com1")));

        QVERIFY(QFile::link(QStringLiteral("/dev/ttyUSB98"), m.admin(QStringLiteral("com2"))));
        if (::geteuid() == 0) {
            QCOMPARE(serialPortName(2), m.admin(QStringLiteral("com2")));
            // A link that someone else put there is not followed.
            QVERIFY(::lchown(QFile::encodeName(m.admin(QStringLiteral("com2"))).constData(), 65534, 65534) ==
                    0);
        }
        QCOMPARE(serialPortName(2), QStringLiteral("/dev/ttyS1"));
        // The user's own link comes first.
        QVERIFY(QFile::link(QStringLiteral("/dev/ttyUSB99"), m.user(QStringLiteral("com2"))));
        QCOMPARE(serialPortName(2), m.user(QStringLiteral("com2")));

        // With QV_VELANO_HOME only that folder's links count.
        TestHome home;
        QCOMPARE(serialPortName(1), QStringLiteral("/dev/ttyS0"));
        QVERIFY(QFile::link(QStringLiteral("/dev/ttyUSB97"), home.file(QStringLiteral("com1"))));
        QCOMPARE(serialPortName(1), home.file(QStringLiteral("com1")));
#endif
    }

    void rewrittenSettingsStayShared()
    {
#ifdef Q_OS_WIN
        QSKIP("POSIX groups and modes");
#else
        const gid_t group = otherGroup();
        if (group == gid_t(-1)) QSKIP("no second group to give the folder");
        TestHome home;
        const QByteArray folder = QFile::encodeName(QDir(home.path()).absolutePath());
        QVERIFY(::chown(folder.constData(), uid_t(-1), group) == 0);
        QVERIFY(::chmod(folder.constData(), 02775) == 0);

        for (const char *name : {SettingsFiles::Country, SettingsFiles::Port, SettingsFiles::Directory}) {
            const QString file = home.file(QString::fromLatin1(name));
            home.write(QString::fromLatin1(name), "\r\n");
            QVERIFY(::chmod(QFile::encodeName(file).constData(), 0664) == 0);
            QCOMPARE(modeOf(file).group, group);
        }

        QVERIFY(SettingsFiles::write(QString::fromLatin1(SettingsFiles::Country),
                                     SettingsFiles::languageContent(2)));
        QVERIFY(
            SettingsFiles::write(QString::fromLatin1(SettingsFiles::Port), SettingsFiles::portContent(4)));
        QVERIFY(SettingsFiles::write(QString::fromLatin1(SettingsFiles::Directory),
                                     SettingsFiles::folderContent(QStringLiteral("/srv/klanten"))));

        // The replacements keep the group and the group's write permission, so the next member of
        // the group can read and change them too; nothing else is left in the folder.
        for (const char *name : {SettingsFiles::Country, SettingsFiles::Port, SettingsFiles::Directory}) {
            const FileMode m = modeOf(home.file(QString::fromLatin1(name)));
            QCOMPARE(m.group, group);
            QCOMPARE(m.mode, mode_t(0664));
        }
        QCOMPARE(home.read(QStringLiteral("port.vdm")), QByteArray("4\r\n"));
        QCOMPARE(SettingsFiles::readNumber(QString::fromLatin1(SettingsFiles::Country)).value_or(0), 2);
        QCOMPARE(QDir(home.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                     .size(),
                 3);
#endif
    }
};

QTEST_GUILESS_MAIN(tst_InstallFolder)
#include "tst_installfolder.moc"
