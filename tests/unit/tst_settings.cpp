#include "app/SettingsFiles.h"
#include "protocol/ModuleState.h"
#include "support/TestHome.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
#ifndef Q_OS_WIN
mode_t modeOf(const QString &path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? mode_t(st.st_mode & 07777) : mode_t(0);
}
#endif
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
#ifndef Q_OS_WIN
        // Folders the tests make for a user are the user's alone, whatever the umask of the
        // machine would give them.
        ::umask(022);
#endif
    }

    void fieldReading_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("number");
        QTest::newRow("written language") << QByteArray(" 1 \r\n") << QStringLiteral("1 ") << 1;
        QTest::newRow("port digit") << QByteArray("3\r\n") << QStringLiteral("3") << 3;
        QTest::newRow("up to the comma") << QByteArray("  2,7\r\n") << QStringLiteral("2") << 2;
        QTest::newRow("quoted") << QByteArray("\"12\",3\r\n") << QStringLiteral("12") << 12;
        QTest::newRow("no line end") << QByteArray("800") << QStringLiteral("800") << 800;
        QTest::newRow("only the first line") << QByteArray("4\r\n5\r\n") << QStringLiteral("4") << 4;
        QTest::newRow("text") << QByteArray("abc\r\n") << QStringLiteral("abc") << -1;
        QTest::newRow("empty") << QByteArray("") << QString() << -1;
    }
    void fieldReading()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, field);
        QFETCH(int, number);
        QCOMPARE(SettingsFiles::firstField(content), field);
        QCOMPARE(SettingsFiles::numberField(content).value_or(-1), number);
    }

    void folderIsReadWhole_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("folder");
        QTest::newRow("comma in the name")
            << QByteArray("/data/Jansen, Piet\r\n") << QStringLiteral("/data/Jansen, Piet");
        QTest::newRow("quoted") << QByteArray("\"c:\\a, b\\\"\r\n") << QStringLiteral("c:\\a, b\\");
        QTest::newRow("blanks kept") << QByteArray(" /x y/ \r\n") << QStringLiteral(" /x y/ ");
        QTest::newRow("empty") << QByteArray("\r\n") << QString();
    }
    void folderIsReadWhole()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, folder);
        QCOMPARE(SettingsFiles::folderLine(content), folder);
    }

    void writtenForms()
    {
        QCOMPARE(SettingsFiles::languageContent(1), QByteArray(" 1 \r\n"));
        QCOMPARE(SettingsFiles::languageContent(2), QByteArray(" 2 \r\n"));
        QCOMPARE(SettingsFiles::portContent(3), QByteArray("3\r\n"));
        QCOMPARE(SettingsFiles::folderContent(QStringLiteral("/home/a, b")), QByteArray("/home/a, b\r\n"));
    }

    void writeAndReadBack()
    {
        TestHome home;
        QVERIFY(SettingsFiles::write(QStringLiteral("directory.vdm"),
                                     SettingsFiles::folderContent(QStringLiteral("/srv/Klant, De Vries"))));
        QCOMPARE(home.read(QStringLiteral("directory.vdm")), QByteArray("/srv/Klant, De Vries\r\n"));
        QCOMPARE(SettingsFiles::readFolder(QStringLiteral("directory.vdm")).value_or(QString()),
                 QStringLiteral("/srv/Klant, De Vries"));
        QVERIFY(!SettingsFiles::readNumber(QStringLiteral("country.vdm")).has_value());
    }

    void failedWriteIsReported()
    {
        TestHome home;
        // A settings "file" that is a folder cannot be replaced; the folder stays.
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("port.vdm")));
        QVERIFY(!SettingsFiles::write(QStringLiteral("port.vdm"), SettingsFiles::portContent(5)));
        QVERIFY(QFileInfo(home.file(QStringLiteral("port.vdm"))).isDir());
        // An installation folder that does not exist.
        InstallFolder::setOverride(home.path() + QStringLiteral("gone/"));
        QVERIFY(!SettingsFiles::write(QStringLiteral("port.vdm"), SettingsFiles::portContent(5)));
    }

    // Each setting comes from the first of: the user's file, the administrator's, the shipped
    // one, the built-in value. A file that is missing, no regular file, unreadable or without a
    // value is passed over; any whole number is a value, in range or not.
    void layeredLookup()
    {
#ifdef Q_OS_WIN
        QSKIP("one settings folder on Windows");
#else
        TestUserHome m;
        const QString port = QString::fromLatin1(SettingsFiles::Port);
        QCOMPARE(SettingsFiles::lookupOrder(port),
                 QStringList({m.user(port), m.admin(port), m.shipped(port)}));
        QVERIFY(!SettingsFiles::readNumber(port));

        m.write(m.shipped(port), "1\r\n");
        QCOMPARE(SettingsFiles::readNumber(port).value_or(0), 1);
        m.write(m.admin(port), "2\r\n");
        QCOMPARE(SettingsFiles::readNumber(port).value_or(0), 2);
        m.write(m.user(port), "9\r\n"); // outside the menu, still the user's choice
        QCOMPARE(SettingsFiles::readNumber(port).value_or(0), 9);

        // Files without a value, or that are no files, give way to the next layer.
        m.write(m.user(port), "abc\r\n");
        QCOMPARE(SettingsFiles::readNumber(port).value_or(0), 2);
        m.write(m.user(port), "");
        QCOMPARE(SettingsFiles::readNumber(port).value_or(0), 2);
        QFile::remove(m.user(port));
        QVERIFY(QDir().mkdir(m.user(port)));
        QCOMPARE(SettingsFiles::readNumber(port).value_or(0), 2);
        QVERIFY(QDir().rmdir(m.user(port)));
        // A FIFO nobody writes to would hold up the start for ever if it were opened.
        QVERIFY(::mkfifo(QFile::encodeName(m.user(port)).constData(), 0600) == 0);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(SettingsFiles::readNumber(port).value_or(0), 2);
        QVERIFY(timer.elapsed() < 5000);
        QFile::remove(m.user(port));
        // A dangling link and a file that cannot be read (root reads everything).
        QVERIFY(QFile::link(m.root() + QStringLiteral("nowhere"), m.user(port)));
        QCOMPARE(SettingsFiles::readNumber(port).value_or(0), 2);
        QFile::remove(m.user(port));
        if (::geteuid() != 0) {
            m.write(m.user(port), "7\r\n");
            QVERIFY(::chmod(QFile::encodeName(m.user(port)).constData(), 0) == 0);
            QCOMPARE(SettingsFiles::readNumber(port).value_or(0), 2);
            QFile::remove(m.user(port));
        }
        QFile::remove(m.admin(port));
        QCOMPARE(SettingsFiles::readNumber(port).value_or(0), 1);

        // The language: 3 is a value (no language), read from the admin's file.
        const QString country = QString::fromLatin1(SettingsFiles::Country);
        m.write(m.shipped(country), " 1 \r\n");
        m.write(m.admin(country), " 3 \r\n");
        QCOMPARE(SettingsFiles::readNumber(country).value_or(0), 3);

        // An empty or blank folder line holds no folder.
        const QString directory = QString::fromLatin1(SettingsFiles::Directory);
        m.write(m.shipped(directory), "\r\n");
        QVERIFY(!SettingsFiles::readFolder(directory));
        m.write(m.admin(directory), "/srv/klanten, oud\r\n");
        m.write(m.user(directory), "   \r\n");
        QCOMPARE(SettingsFiles::readFolder(directory).value_or(QString()),
                 QStringLiteral("/srv/klanten, oud"));
        m.write(m.user(directory), "/home/piet/modules\r\n");
        QCOMPARE(SettingsFiles::readFolder(directory).value_or(QString()),
                 QStringLiteral("/home/piet/modules"));
#endif
    }

    // Changes go to the user's own folder, made private on the first change; the shipped and the
    // administrator's files are never written, nor is pc.vdm.
    void writesGoToTheUserFolderOnly()
    {
#ifdef Q_OS_WIN
        QSKIP("one settings folder on Windows");
#else
        TestUserHome m;
        const QString port = QString::fromLatin1(SettingsFiles::Port);
        m.write(m.shipped(port), "1\r\n");
        m.write(m.admin(port), "2\r\n");
        QCOMPARE(SettingsFiles::writtenPath(port), m.user(port));
        QVERIFY(!QFileInfo::exists(m.home() + QStringLiteral(".config")));

        QVERIFY(SettingsFiles::write(port, SettingsFiles::portContent(4)));
        QCOMPARE(m.read(m.user(port)), QByteArray("4\r\n"));
        QCOMPARE(modeOf(m.user()), mode_t(0700));
        QCOMPARE(modeOf(m.home() + QStringLiteral(".config")), mode_t(0700));
        QCOMPARE(m.read(m.shipped(port)), QByteArray("1\r\n"));
        QCOMPARE(m.read(m.admin(port)), QByteArray("2\r\n"));
        QCOMPARE(SettingsFiles::readNumber(port).value_or(0), 4);
        QCOMPARE(entries(m.user()), QStringList{port});

        // An existing folder keeps its permissions; the new file is the user's alone.
        QVERIFY(::chmod(QFile::encodeName(m.user()).constData(), 0750) == 0);
        QVERIFY(SettingsFiles::write(QString::fromLatin1(SettingsFiles::Country),
                                     SettingsFiles::languageContent(2)));
        QCOMPARE(modeOf(m.user()), mode_t(0750));

        QVERIFY(!SettingsFiles::write(QString::fromLatin1(SettingsFiles::Pc), "1\r\n"));
        QVERIFY(!QFileInfo::exists(m.user(QString::fromLatin1(SettingsFiles::Pc))));

        // XDG_CONFIG_HOME moves the user's folder; a relative one is ignored.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m.root() + QStringLiteral("cfg")));
        QCOMPARE(SettingsFiles::writtenPath(port), m.root() + QStringLiteral("cfg/qv-velano5/port.vdm"));
        QVERIFY(SettingsFiles::write(port, SettingsFiles::portContent(6)));
        QCOMPARE(m.read(m.root() + QStringLiteral("cfg/qv-velano5/port.vdm")), QByteArray("6\r\n"));
        qputenv("XDG_CONFIG_HOME", "relative/cfg");
        QCOMPARE(SettingsFiles::writtenPath(port), m.user(port));
#endif
    }

    // A link planted at a settings name is replaced by the new file; what it points to is never
    // written. The same holds in a folder named by QV_VELANO_HOME.
    void writeReplacesALinkNeverItsTarget()
    {
#ifdef Q_OS_WIN
        QSKIP("POSIX links");
#else
        TestUserHome m;
        const QString victim = m.root() + QStringLiteral("victim.txt");
        m.write(victim, "keep me");
        QVERIFY(QDir().mkpath(m.user()));
        QVERIFY(QFile::link(victim, m.user(QStringLiteral("port.vdm"))));
        QVERIFY(SettingsFiles::write(QStringLiteral("port.vdm"), SettingsFiles::portContent(3)));
        QCOMPARE(m.read(victim), QByteArray("keep me"));
        QVERIFY(!QFileInfo(m.user(QStringLiteral("port.vdm"))).isSymLink());
        QCOMPARE(m.read(m.user(QStringLiteral("port.vdm"))), QByteArray("3\r\n"));

        TestHome home;
        QVERIFY(QFile::link(victim, home.file(QStringLiteral("country.vdm"))));
        QVERIFY(SettingsFiles::write(QStringLiteral("country.vdm"), SettingsFiles::languageContent(2)));
        QCOMPARE(m.read(victim), QByteArray("keep me"));
        QCOMPARE(home.read(QStringLiteral("country.vdm")), QByteArray(" 2 \r\n"));
        QCOMPARE(entries(home.path()), QStringList{QStringLiteral("country.vdm")});
#endif
    }

    // A settings folder that is not the user's alone is passed over as if it held nothing, and
    // nothing is written in it (nor through it, when it is a link to another folder).
    void aFolderOfSomebodyElseIsPassedOver_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("state");
        QTest::newRow("link to another folder")
            << QStringLiteral("link") << int(UserFolders::FolderState::Link);
        QTest::newRow("the group may write")
            << QStringLiteral("0770") << int(UserFolders::FolderState::WritableByOthers);
        QTest::newRow("others may write")
            << QStringLiteral("1777") << int(UserFolders::FolderState::WritableByOthers);
        QTest::newRow("another user's") << QStringLiteral("owner") << int(UserFolders::FolderState::NotOwned);
        QTest::newRow("a file") << QStringLiteral("file") << int(UserFolders::FolderState::NotAFolder);
        QTest::newRow("private, with group reading")
            << QStringLiteral("0750") << int(UserFolders::FolderState::Usable);
    }
    void aFolderOfSomebodyElseIsPassedOver()
    {
#ifdef Q_OS_WIN
        QSKIP("one settings folder on Windows");
#else
        QFETCH(QString, folder);
        QFETCH(int, state);
        if (folder == QLatin1String("owner") && ::geteuid() != 0)
            QSKIP("only root can give a folder to another user");
        TestUserHome m;
        QTemporaryDir elsewhere;
        const QString user = m.user().chopped(1);
        const QString port = QString::fromLatin1(SettingsFiles::Port);
        m.write(m.admin(port), "2\r\n");
        QVERIFY(QDir().mkpath(m.home() + QStringLiteral(".config")));
        QCOMPARE(UserFolders::settingsFolderState(), UserFolders::FolderState::Missing);
        const QString real = folder == QLatin1String("link") ? elsewhere.path() : user;
        if (folder == QLatin1String("file")) {
            m.write(user, "7\r\n");
        } else {
            if (folder == QLatin1String("link")) QVERIFY(QFile::link(elsewhere.path(), user));
            QVERIFY(UserFolders::makePrivateFolder(real));
            m.write(real + QStringLiteral("/port.vdm"), "7\r\n");
            if (folder == QLatin1String("owner"))
                QVERIFY(::chown(QFile::encodeName(user).constData(), 65534, 65534) == 0);
            else if (folder != QLatin1String("link"))
                QVERIFY(::chmod(QFile::encodeName(user).constData(), mode_t(folder.toUInt(nullptr, 8))) == 0);
        }
        QCOMPARE(int(UserFolders::settingsFolderState()), state);
        const bool used = state == int(UserFolders::FolderState::Usable);
        QCOMPARE(SettingsFiles::readNumber(port).value_or(0), used ? 7 : 2);
        QCOMPARE(SettingsFiles::lookupOrder(port).size(), used ? 3 : 2);
        QCOMPARE(SettingsFiles::write(port, SettingsFiles::portContent(5)), used);
        QCOMPARE(m.read(folder == QLatin1String("file") ? user : real + QStringLiteral("/port.vdm")),
                 used ? QByteArray("5\r\n") : QByteArray("7\r\n"));
        if (!used)
            QCOMPARE(entries(real), folder == QLatin1String("file") ? QStringList() : QStringList{port});
        QCOMPARE(m.read(m.admin(port)), QByteArray("2\r\n"));
#endif
    }

    // The message names the folder and what is wrong with it, in the installer's language.
    void unusedFolderTexts()
    {
        const QString folder = QStringLiteral("/home/piet/.config/qv-velano5/");
        QCOMPARE(
            UserFolders::unusedFolderText(folder, UserFolders::FolderState::WritableByOthers, 2),
            QStringLiteral("Le dossier de vos propres réglages n'est pas utilisé :\n%1\n"
                           "D'autres utilisateurs peuvent aussi écrire dans ce dossier.\n\nLes réglages de "
                           "l'administrateur ou les réglages par défaut s'appliquent. Les modifications et "
                           "les liaisons de ports ne seront sauvées que lorsque ce sera un dossier ordinaire "
                           "qui vous appartient et dans lequel personne d'autre ne peut écrire.")
                .arg(QDir::toNativeSeparators(folder)));
        const QString both = UserFolders::unusedFolderText(folder, UserFolders::FolderState::Link, 0);
        QVERIFY(both.contains(QStringLiteral("Het is een symbolische link, geen gewone map.")));
        QVERIFY(both.contains(QStringLiteral("C'est un lien symbolique, pas un dossier ordinaire.")));
        QVERIFY(UserFolders::unusedFolderText(folder, UserFolders::FolderState::Usable, 1).isEmpty());
    }

    // With QV_VELANO_HOME the one folder is read and written; the user's folders and the
    // administrator's are never looked at.
    void ownHomeIsTheOnlyPlace()
    {
        TestUserHome m;
        m.write(m.user(QStringLiteral("port.vdm")), "5\r\n");
        m.write(m.admin(QStringLiteral("port.vdm")), "6\r\n");
        TestHome home;
        QCOMPARE(SettingsFiles::lookupOrder(QStringLiteral("port.vdm")),
                 QStringList{home.file(QStringLiteral("port.vdm"))});
        QVERIFY(!SettingsFiles::readNumber(QStringLiteral("port.vdm")));
        QVERIFY(SettingsFiles::write(QStringLiteral("port.vdm"), SettingsFiles::portContent(2)));
        QCOMPARE(home.read(QStringLiteral("port.vdm")), QByteArray("2\r\n"));
        QCOMPARE(m.read(m.user(QStringLiteral("port.vdm"))), QByteArray("5\r\n"));
        QCOMPARE(UserFolders::dataFolder(), home.path());
        QCOMPARE(UserFolders::documentsFolder(), home.path());
        QCOMPARE(UserFolders::adminFolder(), QString());
        QCOMPARE(entries(m.home()), QStringList{QStringLiteral(".config")});
    }

    void imagesByType()
    {
        ModuleState s;
        QCOMPARE(s.imageFor(0), &s.RelayImage);
        QCOMPARE(s.imageFor(3), &s.RelayImage);
        QCOMPARE(s.imageFor(1), &s.DimImage);
        QCOMPARE(s.imageFor(2), &s.VelanoImage);
        QCOMPARE(s.imageFor(4), nullptr);
        QCOMPARE(s.currentImage(), nullptr); // no module identified at start
        QCOMPARE(s.RelayImage.size(), 340);
        QCOMPARE(s.DimImage.lastSlot(), 149);
        QCOMPARE(s.VelanoImage.lastSlot(), 229);
        s.DimImage.set(150, 7); // outside the image: ignored
        s.DimImage.set(-1, 7);
        QCOMPARE(s.DimImage, ModuleImage(150));
        QCOMPARE(s.DimImage.value(999), 0);
        QCOMPARE(threeDigits(0), QStringLiteral("000"));
        QCOMPARE(threeDigits(7), QStringLiteral("007"));
        QCOMPARE(threeDigits(339), QStringLiteral("339"));
        QCOMPARE(ModuleTypes::typeForComboEntry(QStringLiteral("ZK2018")), 3);
        QCOMPARE(ModuleTypes::typeForComboEntry(QStringLiteral("zk2018")), -1);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
