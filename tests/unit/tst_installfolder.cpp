// Where the program finds its installation folder, and settings rewritten in a folder that a group
// shares: the Debian package gives the folder mode 2775 and the settings files mode 0664, both in
// group dialout, so that every member of that group may change the settings.
#include "app/InstallFolder.h"
#include "app/SettingsFiles.h"
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
    EnvironmentGuard() : m_set(qEnvironmentVariableIsSet("QV_VELANO_HOME")), m_value(qgetenv("QV_VELANO_HOME")) {}
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
        if (groups[i] != getegid())
            return groups[i];
    return gid_t(-1);
}

struct FileMode
{
    gid_t group = gid_t(-1);
    mode_t mode = 0;
};

FileMode modeOf(const QString &path)
{
    struct stat st{};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {st.st_gid, mode_t(st.st_mode & 07777)};
}
#endif

} // namespace

class tst_InstallFolder : public QObject
{
    Q_OBJECT

private slots:
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
        QVERIFY2(InstallFolder::path().endsWith(QStringLiteral("/share/qv-velano5/")), qPrintable(InstallFolder::path()));

        // A folder given without a final separator still holds the files.
        qputenv("QV_VELANO_HOME", "/opt/velano");
        InstallFolder::setOverride(QString());
        QCOMPARE(InstallFolder::file(QStringLiteral("port.vdm")), QStringLiteral("/opt/velano/port.vdm"));
#endif
    }

    void rewrittenSettingsStayShared()
    {
#ifdef Q_OS_WIN
        QSKIP("POSIX groups and modes");
#else
        const gid_t group = otherGroup();
        if (group == gid_t(-1))
            QSKIP("no second group to give the folder");
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

        QVERIFY(SettingsFiles::write(QString::fromLatin1(SettingsFiles::Country), SettingsFiles::languageContent(2)));
        QVERIFY(SettingsFiles::write(QString::fromLatin1(SettingsFiles::Port), SettingsFiles::portContent(4)));
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
        QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(), 3);
#endif
    }
};

QTEST_GUILESS_MAIN(tst_InstallFolder)
#include "tst_installfolder.moc"
