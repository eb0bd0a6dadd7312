// Transfer benchmark: reads and sends a relay module through the real serial port against
// qv-module-sim at 9600-baud timing, and prints
//  - read time as a ratio to the time the module needs to send its data lines,
//  - send time (from "T3700" leaving to the last slot frame) and its ratio to the slot frames'
//    rhythm: one frame every 10 ms plus eight pauses (11.2 ms at 300 us), or the wire time when
//    that is longer,
//  - the longest stall of the window's event loop during each (1 ms heartbeat).
// Run: QT_QPA_PLATFORM=offscreen bench/qv-bench-transfer [rounds]
#include "common/InstallFolder.h"
#include "common/MessageBox.h"
#include "files/ModuleFile.h"
#include "support/SimProcess.h"
#include "support/TestWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {
constexpr double CharMs = 10.0 / 9600.0 * 1000.0; // 10 bits a character at 9600 baud

struct Heartbeat
{
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 worst = 0;
    Heartbeat()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(1);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const qint64 now = clock.nsecsElapsed();
            worst = qMax(worst, now - last);
            last = now;
        });
    }
    void start()
    {
        clock.start();
        last = 0;
        worst = 0;
        timer.start();
    }
    double stopMs()
    {
        timer.stop();
        return worst / 1e6;
    }
};

// Runs the event loop until `done` holds, checking every 5 ms (sleeping in between).
bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return done();
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? qMax(1, atoi(argv[1])) : 3;
    qputenv("QV_SIM", QV_SIM_PATH);
    MessageBox::setAutoAnswer(true);

    QTemporaryDir home;
    InstallFolder::setOverride(home.path());
    const QString folder = home.path() + QLatin1Char('/');
    auto write = [&](const char *name, const QByteArray &bytes) {
        QFile f(folder + QLatin1String(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    };
    write("country.vdm", " 1 \r\n");
    write("port.vdm", "1\r\n");
    write("pc.vdm", "300\r\n");
    write("directory.vdm", "\r\n");
    ModuleImage memory(340);
    for (int slot = 0; slot < 340; ++slot)
        memory.set(slot, (slot * 17) % 1000);
    memory.set(40, 1);
    writeModuleFile(folder + QStringLiteral("memory.QV1"), 0, memory);

    SimProcess sim(folder, {QStringLiteral("--type"), QStringLiteral("0"), QStringLiteral("--load"),
                            folder + QStringLiteral("memory.QV1"), QStringLiteral("--announce-interval"),
                            QStringLiteral("20")});
    if (!sim.started()) {
        std::fprintf(stderr, "qv-module-sim did not start\n");
        return 1;
    }
    TestWindow window;
    Conversation &c = window.conversation();
    Heartbeat beat;

    const double lineMs = 9 * CharMs;                 // "RDsssvvv\r"
    const double readWireMs = 340 * lineMs;           // the module's own sending time
    const double sendWireMs = (7 + 340 * 9) * CharMs; // "T3700\n\r" and the slot frames
    const double pauseMs = Conversation::slotPauseMicroseconds(window.state().PcDelay) / 1000.0;
    const double frameMs = 9 * CharMs + 8 * pauseMs;
    const double spacingMs =
        std::chrono::duration<double, std::milli>(Conversation::slotSpacing(window.state().PcDelay)).count();
    // "T3700", a tick, then a frame every spacing (or back to back when a frame takes longer).
    const double sendScheduleMs = 7 * CharMs + 10.0 + 339 * qMax(spacingMs, frameMs) + frameMs;
    std::printf("relay module, 340 slots, 9600-baud timing, pause %d us\n", window.state().PcDelay);
    std::printf("module sending time %.0f ms; send wire time %.0f ms; slot frame %.3f ms, every %.3f ms; "
                "send schedule %.0f ms\n",
                readWireMs, sendWireMs, frameMs, spacingMs, sendScheduleMs);
    std::printf("%-6s %10s %8s %12s %10s %8s %12s %14s\n", "round", "read ms", "ratio", "stall ms", "send ms",
                "ratio", "stall ms", "frame every ms");

    for (int round = 1; round <= rounds; ++round) {
        QElapsedTimer t;
        bool loading = false, sending = false;
        qint64 readStart = 0, sendStart = 0;
        auto status = QObject::connect(&c, &Conversation::statusChanged, [&](Conversation::Status s) {
            if (s == Conversation::Status::Loading) {
                loading = true;
                readStart = t.nsecsElapsed();
                beat.start();
            } else if (s == Conversation::Status::Sending) {
                sending = true;
                sendStart = t.nsecsElapsed();
                beat.start();
            }
        });
        t.start();
        window.Command1_Click();
        if (!waitFor([&] { return window.Text1->text() == QLatin1String("Edit mode") && !c.isRunning(); },
                     20000)) {
            std::fprintf(stderr, "read did not finish\n");
            return 1;
        }
        // The command goes out 50 ms after the page appears.
        const double readMs = (t.nsecsElapsed() - readStart) / 1e6 - 50.0;
        const double readStall = beat.stopMs();
        window.Command2_Click();
        if (!waitFor([&] { return window.Text1->text() == QLatin1String("Ready"); }, 30000)) {
            std::fprintf(stderr, "send did not finish\n");
            return 1;
        }
        const double sendMs = (t.nsecsElapsed() - sendStart) / 1e6 - 50.0;
        const double sendStall = beat.stopMs();
        QObject::disconnect(status);
        // The mean period of the slot frames, from the send's total less "T3700", the first tick
        // and the last frame.
        const double periodMs = (sendMs - 7 * CharMs - 10.0 - frameMs) / 339;
        std::printf("%-6d %10.0f %8.3f %12.1f %10.0f %8.3f %12.1f %14.3f\n", round, readMs,
                    readMs / readWireMs, readStall, sendMs, sendMs / qMax(sendWireMs, sendScheduleMs),
                    sendStall, periodMs);
        Q_UNUSED(loading);
        Q_UNUSED(sending);
    }
    return 0;
}
