#include "files/ModuleFile.h"
#include "tools/module-sim/ModuleSim.h"
#include "tools/module-sim/SimOptions.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using namespace Sim;

namespace {

constexpr qint64 ms = 1000; // the module's clock counts microseconds

// One module on a test clock; what it logs is kept.
struct Bench
{
    explicit Bench(Config c = {}, int version = 501)
        : config(c), module(c, defaultMemory(c.type, true, version))
    {
        module.logSink = [this](qint64 t, const QByteArray &text) {
            log << QByteArray::number(t) + ' ' + text;
        };
        module.writeCompleted = [this] { ++writes; };
        module.start(0);
    }
    // The D burst and one frame, characters 300 us apart.
    void open(const QByteArray &frame = {})
    {
        module.receive("DDDD", now, 300);
        now += 5 * ms;
        if (!frame.isEmpty()) send(frame);
    }
    void send(const QByteArray &bytes)
    {
        module.receive(bytes, now, 300);
        now += 5 * ms;
        module.advance(now);
    }
    void wait(qint64 us)
    {
        const qint64 end = now + us;
        while (now < end) {
            now = std::min(end, now + 10 * ms);
            module.advance(now);
        }
    }
    QList<QByteArray> lines() { return module.takeTx().split('\r'); }
    bool logged(const QByteArray &event) const { return timesLogged(event) > 0; }
    int timesLogged(const QByteArray &event) const
    {
        return int(
            std::count_if(log.begin(), log.end(), [&](const QByteArray &l) { return l.contains(event); }));
    }

    Config config;
    ModuleSim module;
    QList<QByteArray> log;
    qint64 now = 0;
    int writes = 0;
};

Config withFault(FaultKind kind, int count = 0, int type = 1)
{
    Config c;
    c.type = type;
    c.faults.push_back({kind, count});
    return c;
}

QByteArray dataLine(int slot, int value)
{
    return QStringLiteral("RD%1%2")
        .arg(slot, 3, 10, QLatin1Char('0'))
        .arg(value, 3, 10, QLatin1Char('0'))
        .toLatin1();
}

int count(const QList<QByteArray> &lines, const QRegularExpression &re)
{
    return int(std::count_if(lines.begin(), lines.end(), [&](const QByteArray &l) {
        return re.match(QString::fromLatin1(l)).hasMatch();
    }));
}

bool readUntil(int fd, QByteArray *into, const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) > 0) {
            char buf[4096];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) into->append(buf, n);
        }
    }
    return true;
}

} // namespace

using Lines = QMap<int, QByteArray>;
Q_DECLARE_METATYPE(Sim::Config)

class TestSimulator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void announcesUntilTheDBurst()
    {
        Config c;
        c.type = 2;
        Bench b(c);
        b.module.advance(0);
        QCOMPARE(b.module.takeTx(), QByteArray("M12501\r"));
        b.wait(50 * ms);
        QVERIFY(!b.module.hasTx());
        b.wait(50 * ms);
        QCOMPARE(b.module.takeTx(), QByteArray("M12501\r"));
        b.send("T3600\n\r"); // no D burst yet: not listened to
        QVERIFY(b.logged("IGNORED T3600 announcing"));
        b.open();
        b.wait(1900 * ms);
        QVERIFY(!b.module.hasTx());
        QCOMPARE(b.module.state(), ModuleSim::State::Listening);
        b.wait(200 * ms); // no frame after the D burst: found again
        QVERIFY(b.logged("TIMEOUT listen"));
        QVERIFY(b.module.takeTx().startsWith("M12501\r"));
    }

    void readAnswersEverySlot()
    {
        Config c;
        c.type = 1;
        Bench b(c, 42);
        b.module.advance(0);
        b.module.takeTx();
        b.open("T3600\n\r");
        const QList<QByteArray> lines = b.lines();
        QCOMPARE(lines.size(), 151); // 150 lines and the empty rest after the last CR
        for (int slot = 0; slot < 150; ++slot) {
            const int value = slot == 40 ? 1 : slot == 47 ? 42 : (slot * 7) % 1000;
            QCOMPARE(lines[slot], dataLine(slot, value));
        }
        QVERIFY(lines.last().isEmpty());
        QCOMPARE(b.module.state(), ModuleSim::State::Announcing);
        b.module.advance(b.now);
        QCOMPARE(b.module.takeTx(), QByteArray("M11501\r")); // the version slot does not change the text
    }

    void writeStoresSlots()
    {
        Config c;
        c.type = 1;
        Bench b(c);
        b.open("T3700\n\r");
        for (int slot = 0; slot < 150; ++slot)
            b.send("T" + dataLine(slot, (slot * 3) % 1000).mid(2) + "\n\r");
        QCOMPARE(b.writes, 1);
        QVERIFY(b.logged("WRITE 150 slots"));
        QCOMPARE(b.module.memory().value(149), 447);
        QCOMPARE(b.module.memory().value(40), 120);
        QCOMPARE(b.module.state(), ModuleSim::State::Announcing);
        QCOMPARE(b.module.takeTx(), QByteArray("M01501\r")); // not answered; slot 40 no longer 1: slave

        // Frames that stop: the memory keeps what came, the module announces again after 2 s.
        b.open("T3700\n\r");
        b.send("T000999\n\r");
        b.send("T400001\n\r"); // outside the memory
        b.wait(1900 * ms);
        QCOMPARE(b.module.state(), ModuleSim::State::Writing);
        b.wait(200 * ms);
        QVERIFY(b.logged("TIMEOUT write 1 of 150 slots"));
        QVERIFY(b.logged("BAD T400001"));
        QCOMPARE(b.module.memory().value(0), 999);
        QCOMPARE(b.writes, 1);
        QCOMPARE(b.module.state(), ModuleSim::State::Announcing);
    }

    void diagnostics()
    {
        Config c;
        c.type = 3;
        c.status = {"abcd", "efgh"};
        c.buttons = {{4, 200}, {7, 50}};
        c.buttonEveryMs = 100;
        c.buttonEveryIndex = 12;
        Bench b(c);
        b.open("T3500\n\r");
        QCOMPARE(b.module.takeTx(), QByteArray("M13501\r"));
        b.send("T9019\n\r");
        QCOMPARE(b.module.takeTx(), QByteArray("Sabcd\rSefgh\r").repeated(5));

        b.send("T8019\n\r");
        const qint64 started = b.now - 5 * ms + 6 * 300; // at the frame's CR
        b.wait(started + 190 * ms - b.now);
        QCOMPARE(b.module.takeTx(), QByteArray("P12\r"));
        b.wait(started + 200 * ms - b.now);
        QCOMPARE(b.module.takeTx(), QByteArray("P04\rP12\r"));
        b.wait(50 * ms);
        QCOMPARE(b.module.takeTx(), QByteArray("P07\r"));

        b.send("T8219\n\r");
        QVERIFY(b.logged("STOP"));
        b.wait(200 * ms);
        QVERIFY(!b.module.hasTx()); // the monitor has stopped at the first stop frame
        for (int i = 1; i < 11; ++i)
            b.send("T8219\n\r");
        QCOMPARE(b.module.state(), ModuleSim::State::Announcing);

        b.open("T3500\n\r");
        b.module.takeTx();
        for (const char *f : {"T7000\n\r", "T7011\n\r", "T7003\n\r", "T7012\n\r"})
            b.send(f);
        QCOMPARE(b.module.outputs(), QList<int>({1, 12, 4}));
        QVERIFY(b.logged("UNKNOWN T7012"));
        b.send("T7219\n\r");
        b.wait(400 * ms); // fewer than eleven stop frames: back to announcing after a quiet spell
        QCOMPARE(b.module.state(), ModuleSim::State::Announcing);
        b.open("T0006\n\r");
        QCOMPARE(b.module.state(), ModuleSim::State::Announcing);
    }

    void faults()
    {
        {
            Bench b(withFault(FaultKind::Silent));
            b.wait(300 * ms);
            b.open("T3600\n\r");
            b.send("T3500\n\r");
            QVERIFY(!b.module.hasTx());
        }
        {
            Bench b(withFault(FaultKind::NoReply));
            b.module.advance(0);
            QCOMPARE(b.module.takeTx(), QByteArray("M11501\r"));
            b.open("T3600\n\r");
            b.send("T3500\n\r");
            b.wait(1900 * ms);
            QVERIFY(!b.module.hasTx());
            b.wait(200 * ms);
            QCOMPARE(b.module.takeTx(), QByteArray("M11501\r"));
        }
        {
            Bench b(withFault(FaultKind::HangupAfter, 3));
            b.open("T3600\n\r");
            bool hangup = false;
            QCOMPARE(b.module.takeTx(&hangup),
                     dataLine(0, 0) + '\r' + dataLine(1, 7) + '\r' + dataLine(2, 14) + '\r');
            QVERIFY(hangup);
        }
        {
            Bench b(withFault(FaultKind::WrongDigit, 0, 2));
            b.module.advance(0);
            QCOMPARE(b.module.takeTx(), QByteArray("M17501\r"));
        }
    }

    // A read from a module with a fault: the lines that come (and the empty rest after the last
    // carriage return), how many of them are data lines, the lines at given places, and whether
    // the module stays quiet afterwards instead of announcing again.
    void faultyReads_data()
    {
        QTest::addColumn<Config>("config");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("dataLines");
        QTest::addColumn<Lines>("at");
        QTest::addColumn<bool>("quiet");
        QTest::newRow("stop after 5")
            << withFault(FaultKind::StopAfter, 5) << 6 << 5 << Lines{{4, "RD004028"}} << true;
        QTest::newRow("garbage") << withFault(FaultKind::Garbage) << 154 << 150
                                 << Lines{{3, "xx"}, {51, "RDabc012"}, {122, "??"}} << false;
        QTest::newRow("bad slots") << withFault(FaultKind::BadSlot, 0, 0) << 343 << 341
                                   << Lines{{5, "RD400123"}, {61, "RDx1y123"}} << false;
        QTest::newRow("early end")
            << withFault(FaultKind::EarlyEnd, 2) << 151 << 150
            << Lines{{0, "RD000000"}, {1, "RD001007"}, {2, "RD149043"}, {3, "RD002014"}, {149, "RD148036"}}
            << false;
        QTest::newRow("M line") << withFault(FaultKind::MLine, 30) << 151 << 149 << Lines{{30, "M1030210"}}
                                << false;
    }
    void faultyReads()
    {
        QFETCH(Config, config);
        QFETCH(int, lines);
        QFETCH(int, dataLines);
        QFETCH(Lines, at);
        QFETCH(bool, quiet);
        Bench b(config);
        b.open("T3600\n\r");
        const QList<QByteArray> got = b.lines();
        QCOMPARE(got.size(), lines);
        QCOMPARE(count(got, QRegularExpression(QStringLiteral("^RD\\d{6}$"))), dataLines);
        for (auto it = at.cbegin(); it != at.cend(); ++it)
            QCOMPARE(got.value(it.key()), it.value());
        b.wait(1000 * ms);
        QCOMPARE(b.module.hasTx(), !quiet); // the others announce again
    }

    // With no announce interval the module speaks only when asked: no timer is left waiting
    // for an announce that never comes, and a requested announce changes nothing else.
    void announcesOnlyWhenAsked()
    {
        Config c;
        c.type = 2;
        c.announceIntervalMs = 0;
        Bench b(c);
        b.wait(500 * ms);
        QVERIFY(!b.module.hasTx());
        QCOMPARE(b.module.nextDeadline(), -1);
        b.module.announce(b.now);
        QCOMPARE(b.module.takeTx(), QByteArray("M12501\r"));
        QCOMPARE(b.module.state(), ModuleSim::State::Announcing);

        b.open("T3500\n\r"); // the reply to "T3500" does not depend on the interval
        QCOMPARE(b.module.takeTx(), QByteArray("M12501\r"));
        b.module.announce(b.now);
        QCOMPARE(b.module.takeTx(), QByteArray("M12501\r"));
        QCOMPARE(b.module.state(), ModuleSim::State::Listening);
        b.send("T3600\n\r");
        QCOMPARE(b.lines().size(), 231);
        b.wait(3000 * ms); // back to announcing after the read: still nothing unasked
        QVERIFY(!b.module.hasTx());

        Bench silent(withFault(FaultKind::Silent));
        silent.module.announce(0);
        QVERIFY(!silent.module.hasTx());
    }

    // Faults, status lines and inserted lines can change while the module runs; the type and
    // the memory's size cannot.
    void configChangesWhileRunning()
    {
        Config c;
        c.type = 1;
        c.announceIntervalMs = 0;
        Bench b(c);
        Config changed = b.module.config();
        changed.faults = {{FaultKind::NoReply, 0}};
        changed.type = 0;
        b.module.setConfig(changed);
        QCOMPARE(b.module.config().type, 1);
        QCOMPARE(b.module.config().status, defaultStatus()); // none given: the default
        b.module.announce(b.now);
        QCOMPARE(b.module.takeTx(), QByteArray("M11501\r")); // deaf, not dumb
        b.open("T3600\n\r");
        QVERIFY(!b.module.hasTx());
        QVERIFY(b.logged("IGNORED T3600 no-reply"));

        changed.faults = {{FaultKind::StopAfter, 20}};
        b.module.setConfig(changed);
        b.open("T3600\n\r");
        const auto lines = b.lines();
        QCOMPARE(lines.size(), 21);
        QCOMPARE(lines[19], dataLine(19, 133));

        changed.faults.clear();
        b.module.setConfig(changed);
        b.open("T3600\n\r");
        QCOMPARE(b.lines().size(), 151);

        // Memory of another size is refused; memory of the right size is what the next read sends.
        ModuleImage other(ModuleTypes::RelaySlots);
        QVERIFY(!b.module.setMemory(other));
        QCOMPARE(b.module.memory().size(), 150);
        ModuleImage mine = b.module.memory();
        mine.set(3, 777);
        QVERIFY(b.module.setMemory(mine));
        b.open("T3600\n\r");
        QCOMPARE(b.lines()[3], dataLine(3, 777));
    }

    // A push-button script shortened while the monitor runs ends its remaining steps; a
    // periodic report switched off stops.
    void monitorScriptShortenedWhileRunning()
    {
        Config c;
        c.type = 0;
        c.buttons = {{4, 100}, {7, 100}, {9, 100}};
        c.buttonEveryMs = 150;
        Bench b(c);
        b.open("T8019\n\r");
        b.wait(110 * ms);
        QCOMPARE(b.module.takeTx(), QByteArray("P04\r"));
        Config shorter = b.module.config();
        shorter.buttons.resize(1);
        shorter.buttonEveryMs = 0;
        b.module.setConfig(shorter);
        b.wait(1000 * ms);
        QVERIFY(!b.module.hasTx());
        QCOMPARE(b.module.nextDeadline(), -1);
    }

    void statusCountAndMidReadLines()
    {
        Config c;
        c.type = 1;
        c.statusCount = 3;
        c.midReadLines = "xx\rRD400001\r";
        Bench b(c);
        b.open("T9019\n\r");
        QCOMPARE(b.module.takeTx(), QByteArray("S0412\rS0413\rS0414\r")); // a scan that stops short
        QVERIFY(b.logged("TX status 3 lines"));

        b.send("T3600\n\r");
        const auto lines = b.lines();
        QCOMPARE(lines.size(), 153);
        QCOMPARE(lines.mid(74, 4),
                 (QList<QByteArray>{dataLine(74, 518), "xx", "RD400001", dataLine(75, 525)}));

        // The inserted lines belong to the middle of the answer: a read that stops before it
        // does not send them.
        Config cut = b.module.config();
        cut.faults = {{FaultKind::StopAfter, 60}};
        b.module.setConfig(cut);
        b.open("T3600\n\r");
        QCOMPARE(b.lines().size(), 61);

        // However many lines are asked for, no more than may wait are made.
        Config flood = b.module.config();
        flood.statusCount = 100'000'000;
        b.module.setConfig(flood);
        b.open("T9019\n\r");
        QVERIFY(b.logged("TX dropped queue full"));
        QVERIFY(b.module.takeTx().size() <= ModuleSim::MaxTxBytes);
    }

    void logFormat()
    {
        Bench b;
        b.now = 1000;
        b.module.receive(QByteArray(52, 'D'), b.now, 250);
        b.wait(70 * ms); // the run ends 50 ms after its last D
        const QByteArray dRun = "1000 RX D*52 gaps=" + QByteArray("250,").repeated(51).chopped(1);
        QVERIFY2(b.log.contains(dRun), b.log.join('\n').constData());
        const qint64 t = b.now;
        b.module.receive(QByteArray("T3600\n"), t, 310);
        b.module.receive('\r', t + 5 * 310 + 290);
        QVERIFY(b.log.contains(QByteArray::number(t) + " RX T3600 gaps=310,310,310,310,310,290"));
        QVERIFY(b.logged("TX data 340 lines"));
        b.module.receive(QByteArray("T36D"), b.now, 0); // cut short by a D
        QVERIFY(b.logged("BAD T36"));
    }

    // A program or a line that never stops sending must not grow the module's memory: every
    // buffer is bounded and the log still tells what came.
    void boundedWhateverTheProgramSends()
    {
        {
            // A D run of 10000 during a write: logged in pieces as it comes, one conversation.
            Bench b;
            b.open("T3700\n\r");
            b.now = 1'000'000;
            for (int i = 0; i < 4096; ++i)
                b.module.receive('D', b.now + i * 100);
            QCOMPARE(b.log.last(), "1000000 RX D*4096 gaps=" + QByteArray("100,").repeated(4095).chopped(1));
            for (int i = 4096; i < 10000; ++i)
                b.module.receive('D', b.now + i * 100);
            b.now += 10000 * 100;
            b.wait(60 * ms);
            QList<QByteArray> runs;
            int total = 0;
            for (const QByteArray &line : b.log) {
                const qsizetype at = line.indexOf(" RX D*");
                if (at >= 0) {
                    runs << line.left(at + 10);
                    total += line.mid(at + 6, line.indexOf(' ', at + 6) - at - 6).toInt();
                }
            }
            QCOMPARE(total, 4 + 10000); // the opening burst and the long run
            QCOMPARE(runs.mid(1),
                     QList<QByteArray>({"1000000 RX D*4096", "1409600 RX D*4096", "1819200 RX D*1808"}));
            QCOMPARE(b.timesLogged("WRITE aborted"), 1);
            QCOMPARE(b.module.state(), ModuleSim::State::Listening);
            b.send("T3500\n\r"); // still the same conversation
            QCOMPARE(b.module.takeTx(), QByteArray("M10501\r"));
        }
        {
            // Junk and overlong frames are cut into short log lines.
            Bench b;
            b.module.receive(QByteArray(200, 'x'), b.now, 100);
            b.module.receive("T" + QByteArray(100, '5'), b.now + 30 * ms, 100);
            b.wait(100 * ms);
            QVERIFY(b.logged("RX junk=" + QByteArray(64, 'x').toHex()));
            QVERIFY(b.logged("BAD T555555"));
            for (const QByteArray &line : b.log)
                QVERIFY2(line.size() < 512, line.constData());
        }
        {
            // Answers asked for faster than they go out: only 16 KiB wait, the rest is dropped
            // and said once; an answer fits again once the line has taken what waited.
            Bench b;
            b.open();
            for (int i = 0; i < 400; ++i)
                b.module.receive("T9019\n\r", b.now);
            QCOMPARE(b.timesLogged("TX dropped queue full"), 1);
            const QByteArray waiting = b.module.takeTx();
            QVERIFY(waiting.size() <= ModuleSim::MaxTxBytes && waiting.size() > ModuleSim::MaxTxBytes - 60);
            QVERIFY(waiting.endsWith("S0421\r"));
            b.send("T3500\n\r");
            QCOMPARE(b.module.takeTx(), QByteArray("M10501\r"));

            for (int i = 0; i < 1500; ++i)
                b.module.receive(i == 1499 ? "T7011\n\r" : "T7000\n\r", b.now);
            QCOMPARE(b.module.outputs().size(), ModuleSim::MaxOutputs);
            QCOMPARE(b.module.outputs().last(), 12);
        }
    }

    void options_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("all") << "--type 2 --slave --version 612 --buttons 4:200,7:50 --button-every 100:3 "
                                "--status abcd,efgh --fault garbage --fault stop-after=9 --fast"
                             << true;
        QTest::newRow("type 4") << "--type 4" << false;
        QTest::newRow("master and slave") << "--master --slave" << false;
        QTest::newRow("status of three") << "--status abc" << false;
        QTest::newRow("button 100") << "--buttons 100:5" << false;
        QTest::newRow("unknown fault") << "--fault sleepy" << false;
        QTest::newRow("count missing") << "--fault stop-after" << false;
        QTest::newRow("early end, M line") << "--fault early-end=5 --fault m-line=7" << true;
        QTest::newRow("stray argument") << "now" << false;
    }
    void options()
    {
        QFETCH(QString, arguments);
        QFETCH(bool, accepted);
        QString error;
        const auto o = parseArguments(arguments.split(QLatin1Char(' ')), &error);
        QCOMPARE(bool(o), accepted);
        QCOMPARE(error.isEmpty(), accepted);
    }

    // The real program on a pseudo-terminal: a read, the port closed and opened again, a write
    // saved to a module file, the link removed at exit.
    void realProgram()
    {
        const QString program = qEnvironmentVariable("QV_SIM");
        if (program.isEmpty()) QSKIP("QV_SIM is not set");
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("com1"));
        const QString saved = dir.filePath(QStringLiteral("saved.QV1"));
        QProcess sim;
        sim.start(program,
                  {QStringLiteral("--fast"), QStringLiteral("--link"), link, QStringLiteral("--save"), saved,
                   QStringLiteral("--log"), dir.filePath(QStringLiteral("sim.log"))});
        QVERIFY(sim.waitForStarted());
        QVERIFY(sim.waitForReadyRead(5000));
        const QByteArray first = sim.readLine();
        QVERIFY2(first.startsWith("PTY /dev/"), first.constData());
        QCOMPARE(QFileInfo(link).symLinkTarget(), QString::fromLocal8Bit(first.mid(4).trimmed()));

        for (int round = 0; round < 2; ++round) {
            const int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY);
            QVERIFY(fd >= 0);
            QByteArray in;
            QVERIFY(readUntil(
                fd, &in, [&] { return in.contains('\r'); }, 5000));
            QVERIFY(in.contains("M10501\r"));
            QCOMPARE(::write(fd, "DDD", 3), 3);
            ::usleep(20000);
            QCOMPARE(::write(fd, "T3600\n\r", 7), 7);
            in.clear();
            QVERIFY(readUntil(
                fd, &in, [&] { return in.contains(QByteArray(dataLine(339, 373) + '\r')); }, 10000));
            const int start = in.indexOf("RD000000\r");
            QVERIFY(start >= 0);
            const QList<QByteArray> lines = in.mid(start).split('\r');
            for (int slot = 0; slot < 340; ++slot)
                QCOMPARE(lines[slot], dataLine(slot, slot == 40 ? 1 : slot == 79 ? 501 : (slot * 7) % 1000));
            ::close(fd);
        }

        const int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        QByteArray frames = "DDDT3700\n\r";
        for (int slot = 0; slot < 340; ++slot)
            frames += "T" + dataLine(slot, 999 - slot).mid(2) + "\n\r";
        QCOMPARE(::write(fd, frames.constData(), size_t(frames.size())), ssize_t(frames.size()));
        QElapsedTimer t;
        t.start();
        while (!QFileInfo::exists(saved) && t.elapsed() < 5000)
            QTest::qWait(20);
        ::close(fd);
        sim.terminate();
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo(link).isSymLink());

        const auto data = readModuleFile(saved);
        QVERIFY(data);
        QCOMPARE(data->type, 0);
        for (int slot = 0; slot < 340; ++slot)
            QCOMPARE(data->values[size_t(slot)], 999 - slot);
    }
};

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
