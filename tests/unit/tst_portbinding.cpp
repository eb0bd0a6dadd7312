#include "protocol/PortBinding.h"
#include "protocol/SerialLink.h"
#include "support/TestHome.h"

#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(PortBinding::Problem)

// Binding a port number on a port list of the test's own: the devices are character devices
// every system has, the adapter's stable name is a link in a folder of the test ("@name" in a row
// is a name in that folder).
class TestPortBinding : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_stable;

    PortBinding fake() const
    {
        const SerialPortList ports{{u"/dev/null"_s, u"Built-in"_s, {}, {}, {}, false},
                                   {u"/dev/zero"_s, u"Cable"_s, u"Maker"_s, u"A1"_s, m_stable, true}};
        return PortBinding([ports] { return ports; });
    }
    QString at(QString name) const { return name.startsWith(u'@') ? m_dir.filePath(name.mid(1)) : name; }
    static QString target(const QString &link) { return QFile::symLinkTarget(link); }
    static QStringList entries(const TestHome &home)
    {
        return QDir(home.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_stable = at(u"@usb-Maker_Cable_A1-if00-port0"_s);
        QVERIFY(QFile::link(u"/dev/zero"_s, m_stable));
        QVERIFY(QFile::link(u"/dev/null"_s, at(u"@tonull"_s)));
        QVERIFY(QFile::link(u"/dev/zero"_s, at(u"@tozero"_s)));
        TestUserHome::write(at(u"@file"_s), "data");
    }

    // The link names the adapter's stable name when there is one, a root-kept name under /dev/
    // as typed, else the device itself (a link elsewhere could be changed under the binding).
    void bindPointsAtTheRightName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("listed device") << u"/dev/zero"_s << u"@usb-Maker_Cable_A1-if00-port0"_s;
        QTest::newRow("bare device name") << u"zero"_s << u"@usb-Maker_Cable_A1-if00-port0"_s;
        QTest::newRow("link elsewhere to the adapter") << u"@tozero"_s << u"@usb-Maker_Cable_A1-if00-port0"_s;
        QTest::newRow("no stable name, unclean") << u" /dev//./null "_s << u"/dev/null"_s;
        QTest::newRow("link elsewhere") << u"@tonull"_s << u"/dev/null"_s;
        QTest::newRow("link in /dev/shm") << u"/dev/shm/qv-test-tonull"_s << u"/dev/null"_s;
    }
    void bindPointsAtTheRightName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        TestHome home;
        if (typed.startsWith("/dev/shm/"_L1)) {
            QFile::remove(typed);
            if (!QFile::link(u"/dev/null"_s, typed)) QSKIP("cannot write in /dev/shm");
        }
        const PortBinding::Outcome out = fake().bind(3, at(typed));
        if (typed.startsWith("/dev/shm/"_L1)) QFile::remove(typed);
        QVERIFY2(out.ok(), qPrintable(PortBinding::problemText(out, 1)));
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
            QVERIFY(fake().bind(port, u"/dev/null"_s).ok());
        for (int port : {3, 4})
            QCOMPARE(fake().bind(port, u"/dev/null"_s).problem, PortBinding::Problem::Occupied);
        QCOMPARE(target(home.file(u"com1"_s)), u"/dev/null"_s);
        QCOMPARE(TestUserHome::read(notes), QByteArray("keep"));
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{u"notes"_s});
        QCOMPARE(home.read(u"com3"_s), QByteArray("not a link"));
        QVERIFY(QFileInfo(home.file(u"com4"_s)).isDir());
    }

    // Renamed over the old link: a conversation starting meanwhile finds the old or the new one.
    void theLinkIsNeverMissingWhileReplaced()
    {
        TestHome home;
        QVERIFY(fake().bind(1, u"/dev/null"_s).ok());
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
            allBound &= fake().bind(1, i % 2 ? u"/dev/null"_s : u"/dev/zero"_s).ok();
        done = true;
        watcher.join();
        QVERIFY(allBound);
        QCOMPARE(missing.load(), 0);
    }

    void refusesWhatIsNoSerialPort_data()
    {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<PortBinding::Problem>("problem");
        QTest::newRow("file") << 1 << u"@file"_s << PortBinding::Problem::RegularFile;
        QTest::newRow("folder") << 1 << u"/dev"_s << PortBinding::Problem::Folder;
        QTest::newRow("missing") << 1 << u"ttyUSB93"_s << PortBinding::Problem::NotFound;
        QTest::newRow("link leading nowhere") << 1 << u"@usb-gone"_s << PortBinding::Problem::NotFound;
        QTest::newRow("FIFO") << 1 << u"@fifo"_s << PortBinding::Problem::NotCharacterDevice;
        QTest::newRow("relative") << 1 << u"dev/null"_s << PortBinding::Problem::NotAbsolute;
        QTest::newRow("nothing") << 1 << u" "_s << PortBinding::Problem::NoDevice;
        QTest::newRow("port 0") << 0 << u"/dev/null"_s << PortBinding::Problem::BadPortNumber;
    }
    void refusesWhatIsNoSerialPort()
    {
        QFETCH(int, port);
        QFETCH(QString, typed);
        QFETCH(PortBinding::Problem, problem);
        TestHome home;
        QFile::link(at(u"@gone"_s), at(u"@usb-gone"_s));
        ::mkfifo(QFile::encodeName(at(u"@fifo"_s)).constData(), 0600);
        const PortBinding::Outcome out = fake().bind(port, at(typed));
        QCOMPARE(out.problem, problem);
        QVERIFY(!PortBinding::problemText(out, 2).isEmpty());
        QCOMPARE(entries(home), QStringList{});
    }

    // "Geen koppeling" removes a link (also one leading nowhere), and only a link.
    void unbindRemovesOnlyALink()
    {
        TestHome home;
        QVERIFY(fake().bind(2, u"/dev/zero"_s).ok());
        QVERIFY(QFile::link(u"/dev/ttyUSB93"_s, home.file(u"com3"_s)));
        home.write(u"com4"_s, "notes");
        for (int port : {2, 3, 5})
            QVERIFY(fake().unbind(port).ok());
        QCOMPARE(fake().unbind(4).problem, PortBinding::Problem::Occupied);
        QCOMPARE(entries(home), QStringList{u"com4"_s});
        QCOMPARE(QFileInfo(m_stable).canonicalFilePath(), u"/dev/zero"_s);
        const PortDevice now = PortBinding::deviceFor(2);
        QCOMPARE(now.source, PortDevice::Source::Fallback);
        QCOMPARE(now.name, u"/dev/ttyS1"_s);
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

    // What a port opens, for the status tips and the chooser, in both languages.
    void describesWhatThePortOpens()
    {
        TestHome home;
        QVERIFY(fake().bind(1, u"/dev/zero"_s).ok());
        QVERIFY(QFile::link(u"/dev/ttyUSB93"_s, home.file(u"com2"_s)));
        const PortDevice stable = PortBinding::deviceFor(1);
        QCOMPARE(stable.shown(), home.file(u"com1"_s) + u" → "_s + m_stable);
        QCOMPARE(PortBinding::describe(stable, 2), u"Lié à %1 (actuellement /dev/zero)"_s.arg(m_stable));
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
