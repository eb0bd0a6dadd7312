#include "app/Messages.h"
#include "serial/AdapterOffer.h"
#include "serial/PortBinding.h"
#include "serial/SerialLink.h"
#include "support/Terminal.h"
#include "support/TestHome.h"

#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Failure::Kind)

// Binding a port number on a port list of the test's own: the devices are pseudo-terminals the
// test opens, the adapter's stable name is a link in a folder of the test ("@name" in a row is a
// name in that folder; "{pty}" the unlisted terminal below /dev/, "{cable}" the listed one).
class TestPortBinding : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_stable;
    Terminal m_pty;
    Terminal m_cable;

    PortBinding fake() const
    {
        // The system's list: a built-in port that is no terminal here, and the adapter.
        const SerialPortList ports{{u"/dev/zero"_s, u"Built-in"_s, {}, {}, {}, false},
                                   {m_cable.device(), u"Cable"_s, u"Maker"_s, u"A1"_s, m_stable, true}};
        return PortBinding([ports] { return ports; });
    }
    QString at(QString name) const
    {
        name.replace(u"{pty}"_s, m_pty.device().mid(5)).replace(u"{cable}"_s, m_cable.device().mid(5));
        return name.startsWith(u'@') ? m_dir.filePath(name.mid(1)) : name;
    }
    static QString target(const QString &link) { return QFile::symLinkTarget(link); }
    static QStringList entries(const TestHome &home)
    {
        return QDir(home.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Folders the tests make for a user are the user's alone, whatever the umask.
        ::umask(022);
        if (m_pty.device().isEmpty() || m_cable.device().isEmpty())
            QSKIP("this system gives no pseudo-terminals to stand for serial ports");
        QVERIFY(m_pty.device().startsWith("/dev/"_L1));
        m_stable = at(u"@usb-Maker_Cable_A1-if00-port0"_s);
        QVERIFY(QFile::link(m_cable.device(), m_stable));
        QVERIFY(QFile::link(m_pty.device(), at(u"@topty"_s)));
        QVERIFY(QFile::link(m_cable.device(), at(u"@tocable"_s)));
        QVERIFY(QFile::link(u"/dev/null"_s, at(u"@tonull"_s)));
        TestUserHome::write(at(u"@file"_s), "data");
    }

    // The link names the adapter's stable name when there is one, a root-kept name under /dev/
    // as typed, else the device itself (a link elsewhere could be changed under the binding).
    void bindPointsAtTheRightName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("listed device") << u"/dev/{cable}"_s << u"@usb-Maker_Cable_A1-if00-port0"_s;
        QTest::newRow("link elsewhere to the adapter")
            << u"@tocable"_s << u"@usb-Maker_Cable_A1-if00-port0"_s;
        QTest::newRow("no stable name, unclean") << u" /dev//./{pty} "_s << u"/dev/{pty}"_s;
        QTest::newRow("link elsewhere") << u"@topty"_s << u"/dev/{pty}"_s;
        QTest::newRow("link in a folder of /dev/ everybody may write") << u"shared"_s << u"/dev/{pty}"_s;
    }
    void bindPointsAtTheRightName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        TestHome home;
        // A folder below /dev/ that everybody may write in, as /dev/shm often is: made here,
        // since no system promises one.
        std::unique_ptr<QTemporaryDir> shared;
        if (typed == "shared"_L1) {
            shared = std::make_unique<QTemporaryDir>(u"/dev/shm/qv-test-XXXXXX"_s);
            if (!shared->isValid() ||
                ::chmod(QFile::encodeName(shared->path()).constData(), S_ISVTX | 0777) != 0)
                QSKIP("no folder below /dev/ can be made writable by everybody here (/dev/shm)");
            typed = shared->filePath(u"topty"_s);
            QVERIFY(QFile::link(m_pty.device(), typed));
        }
        const PortBinding::Outcome out = fake().bind(3, at(typed));
        QVERIFY2(out.ok(), qPrintable(Messages::failureText(out.failure, 1)));
        const QString link = home.file(u"com3"_s);
        QCOMPARE(target(link), at(expected));
        QCOMPARE(out.target, at(expected));
        QCOMPARE(entries(home), QStringList{u"com3"_s}); // no temporary link left
        // What the next conversation opens and what the port entries' tips say.
        QCOMPARE(serialPortName(3), link);
        const PortDevice now = PortBinding::deviceFor(3);
        QCOMPARE(now.source, PortDevice::Source::UserLink);
        QCOMPARE(now.device, QFileInfo(at(expected)).canonicalFilePath());
        QVERIFY(now.present && PortBinding::isBound(3) && !PortBinding::isBound(4));
    }

    // The old "comN" is replaced, never followed; a file or folder of that name is left alone.
    void bindNeverWritesThroughTheOldName()
    {
        TestHome home;
        QTemporaryDir elsewhere;
        const QString notes = elsewhere.filePath(u"notes"_s);
        TestUserHome::write(notes, "keep");
        QVERIFY(QFile::link(notes, home.file(u"com1"_s)));
        QVERIFY(QFile::link(elsewhere.filePath(u"new"_s), home.file(u"com2"_s)));
        home.write(u"com3"_s, "not a link");
        QVERIFY(QDir(home.path()).mkdir(u"com4"_s));
        for (int port : {1, 2})
            QVERIFY(fake().bind(port, m_pty.device()).ok());
        for (int port : {3, 4})
            QCOMPARE(fake().bind(port, m_pty.device()).failure.kind, Failure::Kind::Occupied);
        QCOMPARE(target(home.file(u"com1"_s)), m_pty.device());
        QCOMPARE(TestUserHome::read(notes), QByteArray("keep"));
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{u"notes"_s});
        QCOMPARE(home.read(u"com3"_s), QByteArray("not a link"));
        QVERIFY(QFileInfo(home.file(u"com4"_s)).isDir());
    }

    // Renamed over the old link: a conversation starting meanwhile finds the old or the new one.
    void theLinkIsNeverMissingWhileReplaced()
    {
        TestHome home;
        QVERIFY(fake().bind(1, m_pty.device()).ok());
        const QByteArray link = QFile::encodeName(home.file(u"com1"_s));
        std::atomic<bool> done{false};
        std::atomic<int> missing{0};
        std::thread watcher([&] {
            struct stat st;
            while (!done)
                if (::lstat(link.constData(), &st) != 0) ++missing;
        });
        bool allBound = true;
        for (int i = 0; i < 400; ++i)
            allBound &= fake().bind(1, i % 2 ? m_pty.device() : m_cable.device()).ok();
        done = true;
        watcher.join();
        QVERIFY(allBound);
        QCOMPARE(missing.load(), 0);
    }

    void refusesWhatIsNoSerialPort_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Failure::Kind>("problem");
        QTest::newRow("file") << 1 << u"@file"_s << Failure::Kind::RegularFile;
        QTest::newRow("folder") << 1 << u"/dev"_s << Failure::Kind::Folder;
        QTest::newRow("missing") << 1 << u"ttyUSB93"_s << Failure::Kind::NoSuchDevice;
        QTest::newRow("link leading nowhere") << 1 << u"@usb-gone"_s << Failure::Kind::NoSuchDevice;
        QTest::newRow("FIFO") << 1 << u"@fifo"_s << Failure::Kind::NotCharacterDevice;
        QTest::newRow("relative") << 1 << u"dev/null"_s << Failure::Kind::NotAbsolute;
        QTest::newRow("nothing") << 1 << u" "_s << Failure::Kind::NoDevice;
        QTest::newRow("port 0") << 0 << u"/dev/{pty}"_s << Failure::Kind::BadPortNumber;
        // Character devices that are no line to a module.
        QTest::newRow("/dev/null") << 1 << u"/dev/null"_s << Failure::Kind::NotTerminal;
        QTest::newRow("link to /dev/null") << 1 << u"@tonull"_s << Failure::Kind::NotTerminal;
        QTest::newRow("listed, but no terminal") << 1 << u"/dev/zero"_s << Failure::Kind::NotTerminal;
        QTest::newRow("the terminal alias") << 1 << u"/dev/tty"_s << Failure::Kind::NotTerminal;
        QTest::newRow("bare name of the alias") << 1 << u"tty"_s << Failure::Kind::NotTerminal;
    }
    void refusesWhatIsNoSerialPort()
    {
        QFETCH(int, port);
        QFETCH(QString, typed);
        QFETCH(Failure::Kind, problem);
        TestHome home;
        QFile::link(at(u"@gone"_s), at(u"@usb-gone"_s));
        ::mkfifo(QFile::encodeName(at(u"@fifo"_s)).constData(), 0600);
        const PortBinding::Outcome out = fake().bind(port, at(typed));
        QCOMPARE(out.failure.kind, problem);
        QVERIFY(!Messages::failureText(out.failure, 2).isEmpty());
        QCOMPARE(entries(home), QStringList{});
    }

    // The terminal the program itself runs in is the installer's, not a module's, under any
    // name: /dev/stdin, its own name.
    void refusesTheProgramsOwnTerminal()
    {
        TestHome home;
        const Terminal own;
        const int terminal = ::open(QFile::encodeName(own.device()).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(terminal >= 0);
        const int savedInput = ::dup(STDIN_FILENO);
        QVERIFY(savedInput >= 0);
        QVERIFY(::dup2(terminal, STDIN_FILENO) == STDIN_FILENO);
        const PortBinding::Outcome byAlias = fake().bind(1, u"/dev/stdin"_s);
        const PortBinding::Outcome byName = fake().bind(1, own.device());
        ::dup2(savedInput, STDIN_FILENO);
        ::close(savedInput);
        ::close(terminal);
        QCOMPARE(byAlias.failure.kind, Failure::Kind::NotTerminal);
        QCOMPARE(byName.failure.kind, Failure::Kind::NotTerminal);
        QCOMPARE(Messages::failureText(byName.failure, 1), own.device() + u" is geen seriële poort."_s);
        QCOMPARE(entries(home), QStringList{});
        // Once it is no longer the program's, it is a terminal like any other.
        QVERIFY(fake().bind(1, own.device()).ok());
    }

    // A device that cannot be opened is a terminal only when the system lists it as a serial
    // port (a user not yet allowed to open the adapter can still bind it).
    void aDeviceThatCannotBeOpened()
    {
        TestHome home;
        const Terminal locked(Terminal::Locked);
        QVERIFY(!locked.device().isEmpty());
        const PortBinding::Outcome out = fake().bind(1, locked.device());
        QCOMPARE(out.failure.kind, Failure::Kind::NotOpened);
        QVERIFY2(Messages::failureText(out.failure, 1)
                     .startsWith(locked.device() +
                                 u" kan niet geopend worden om te zien of het een seriële poort is ("_s),
                 qPrintable(Messages::failureText(out.failure, 1)));
        QCOMPARE(entries(home), QStringList{});
        const SerialPortList listed{{locked.device(), u"Cable"_s, {}, {}, {}, true}};
        QVERIFY(PortBinding([listed] { return listed; }).bind(1, locked.device()).ok());
        QCOMPARE(target(home.file(u"com1"_s)), locked.device());
    }

    // "Geen koppeling" removes a link (also one leading nowhere), and only a link.
    void unbindRemovesOnlyALink()
    {
        TestHome home;
        QVERIFY(fake().bind(2, m_cable.device()).ok());
        QVERIFY(QFile::link(u"/dev/ttyUSB93"_s, home.file(u"com3"_s)));
        home.write(u"com4"_s, "notes");
        for (int port : {2, 3, 5})
            QVERIFY(fake().unbind(port).ok());
        QCOMPARE(fake().unbind(4).failure.kind, Failure::Kind::Occupied);
        QCOMPARE(entries(home), QStringList{u"com4"_s});
        QCOMPARE(QFileInfo(m_stable).canonicalFilePath(), m_cable.device());
        const PortDevice now = PortBinding::deviceFor(2);
        QCOMPARE(now.source, PortDevice::Source::Fallback);
        QCOMPARE(now.name, u"/dev/ttyS1"_s);
    }

    // A settings folder that is not the user's alone is not used: no link is made, removed or
    // followed in it, and nothing is written through a folder that is a link.
    void leavesAFolderOfSomebodyElseAlone_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<Failure::Kind>("expectedKind");
        QTest::newRow("link to another folder")
            << u"link"_s << u"Het is een symbolische link, geen gewone map."_s << Failure::Kind::FolderIsLink;
        QTest::newRow("the group may write") << u"0770"_s << u"Ook anderen mogen in deze map schrijven."_s
                                             << Failure::Kind::FolderOpenToOthers;
        QTest::newRow("others may write") << u"1707"_s << u"Ook anderen mogen in deze map schrijven."_s
                                          << Failure::Kind::FolderOpenToOthers;
        QTest::newRow("another user's")
            << u"owner"_s << u"De map is van een andere gebruiker."_s << Failure::Kind::FolderNotOwned;
        QTest::newRow("a file") << u"file"_s << u"Het is geen map."_s << Failure::Kind::FolderNotAFolder;
    }
    void leavesAFolderOfSomebodyElseAlone()
    {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        QFETCH(Failure::Kind, expectedKind);
        if (folder == "owner"_L1 && ::geteuid() != 0) QSKIP("only root can give a folder to another user");
        TestUserHome m;
        QTemporaryDir elsewhere;
        const QString user = m.user().chopped(1);
        QVERIFY(QDir().mkpath(m.home() + u".config"_s));
        // Where the folder's names really are: the other folder for a link.
        const QString real = folder == "link"_L1 ? elsewhere.path() : user;
        if (folder == "file"_L1) {
            TestUserHome::write(user, "notes");
        } else {
            if (folder == "link"_L1) QVERIFY(QFile::link(elsewhere.path(), user));
            QVERIFY(UserFolders::makePrivateFolder(real));
            QVERIFY(QFile::link(m_cable.device(), real + u"/com2"_s));
            if (folder == "owner"_L1)
                QVERIFY(::chown(QFile::encodeName(user).constData(), 65534, 65534) == 0);
            else if (folder != "link"_L1)
                QVERIFY(::chmod(QFile::encodeName(user).constData(), mode_t(folder.toUInt(nullptr, 8))) == 0);
        }
        const QStringList before =
            QDir(real).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);

        const PortBinding::Outcome bound = fake().bind(1, m_pty.device());
        QCOMPARE(bound.failure.kind, expectedKind);
        QCOMPARE(
            Messages::failureText(bound.failure, 1),
            u"De map met uw eigen instellingen wordt niet gebruikt:\n%1\n%2\n\nDe instellingen van de "
            u"beheerder of de standaardinstellingen gelden. Wijzigingen en poortkoppelingen worden pas "
            u"bewaard wanneer dit een gewone map is die van u is en waarin niemand anders mag schrijven."_s
                .arg(m.user(), reason));
        QCOMPARE(fake().unbind(2).failure.kind, expectedKind);
        QCOMPARE(serialPortName(2), u"/dev/ttyS1"_s);
        QCOMPARE(PortBinding::deviceFor(2).source, PortDevice::Source::Fallback);
        QCOMPARE(QDir(real).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 before);
        if (folder != "file"_L1) QCOMPARE(target(real + u"/com2"_s), m_cable.device());
    }

    // The user's own private folder is made on the first binding and used as before.
    void bindsInTheUsersOwnFolder()
    {
        TestUserHome m;
        QVERIFY(fake().bind(1, m_pty.device()).ok());
        QCOMPARE(target(m.user(u"com1"_s)), m_pty.device());
        QCOMPARE(UserFolders::settingsFolderState(), UserFolders::FolderState::Usable);
        QCOMPARE(serialPortName(1), m.user(u"com1"_s));
        QVERIFY(fake().unbind(1).ok());
        QCOMPARE(serialPortName(1), u"/dev/ttyS0"_s);
    }

    void singleUsbAdapter()
    {
        for (int adapters : {0, 1, 2}) {
            SerialPortList ports{{u"/dev/ttyS0"_s, {}, {}, {}, {}, false}};
            for (int i = 0; i < adapters; ++i)
                ports << SerialPortEntry{u"/dev/ttyUSB%1"_s.arg(i), {}, {}, {}, {}, true};
            const auto found = PortBinding([ports] { return ports; }).singleUsbAdapter();
            QCOMPARE(found.has_value(), adapters == 1);
            if (found) QCOMPARE(found->device, u"/dev/ttyUSB0"_s);
        }
    }

    // The one adapter is offered for a port without a binding; a "no" holds for that port and
    // that adapter only, until it is forgotten.
    void adapterOfferedUntilDeclined()
    {
        TestHome home;
        AdapterOffer::forgetDeclined();
        const SerialPortEntry a{u"/dev/ttyUSB90"_s, {}, {}, {}, {}, true};
        const SerialPortEntry b{u"/dev/ttyUSB91"_s, {}, {}, {}, {}, true};
        const auto offered = [](const SerialPortEntry &adapter, int port) {
            const SerialPortList ports{{u"/dev/ttyS0"_s, {}, {}, {}, {}, false}, adapter};
            return AdapterOffer(PortBinding([ports] { return ports; }))
                .adapterFor(port)
                .value_or(SerialPortEntry{})
                .device;
        };
        QCOMPARE(offered(a, 5), u"/dev/ttyUSB90"_s);
        AdapterOffer::decline(5, a);
        QCOMPARE(offered(a, 5), QString());
        QCOMPARE(offered(a, 6), u"/dev/ttyUSB90"_s);
        QCOMPARE(offered(b, 5), u"/dev/ttyUSB91"_s);

        const AdapterOffer cable(fake());
        const SerialPortEntry adapter = cable.adapterFor(7).value_or(SerialPortEntry{});
        QCOMPARE(adapter.device, m_cable.device());
        QVERIFY(cable.accept(7, adapter).ok());
        QCOMPARE(target(home.file(u"com7"_s)), m_stable);
        QVERIFY(!cable.adapterFor(7));

        AdapterOffer::forgetDeclined();
        QCOMPARE(offered(a, 5), u"/dev/ttyUSB90"_s);
    }

    // What a port opens, for the status tips and the chooser, in both languages.
    void describesWhatThePortOpens()
    {
        TestHome home;
        QVERIFY(fake().bind(1, m_cable.device()).ok());
        QVERIFY(QFile::link(u"/dev/ttyUSB93"_s, home.file(u"com2"_s)));
        const PortDevice stable = PortBinding::deviceFor(1);
        QCOMPARE(stable.shown(), home.file(u"com1"_s) + u" → "_s + m_stable);
        QCOMPARE(PortBinding::describe(stable, 2),
                 u"Lié à %1 (actuellement %2)"_s.arg(m_stable, m_cable.device()));
        QCOMPARE(PortBinding::describe(PortBinding::deviceFor(2), 1),
                 u"Gekoppeld aan /dev/ttyUSB93 (niet aangesloten)"_s);
        const PortDevice none = PortBinding::deviceFor(8);
        QCOMPARE(PortBinding::describe(none, 2), none.present
                                                     ? u"/dev/ttyS7 (aucune liaison)"_s
                                                     : u"/dev/ttyS7 (aucune liaison ; n'existe pas)"_s);
        QCOMPARE(PortBinding::comPortNumber(u"\\\\.\\com12"_s).value_or(0), 12);
        QVERIFY(!PortBinding::comPortNumber(u"/dev/ttyS0"_s));
    }
};

QTEST_GUILESS_MAIN(TestPortBinding)
#include "tst_portbinding.moc"
