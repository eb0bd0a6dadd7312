// Processor time of the program while the push-button monitor waits for presses that never
// come: the program against qv-module-sim on a pseudo-terminal, monitor started, then the
// process's own CPU time over the measuring period.
// Run: QT_QPA_PLATFORM=offscreen bench/qv-bench-monitor [seconds]
#include "common/InstallFolder.h"
#include "common/MessageBox.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "support/SimProcess.h"
#include "support/TestWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {
double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_utime.tv_usec / 1e6 + u.ru_stime.tv_sec + u.ru_stime.tv_usec / 1e6;
}

// Runs the event loop for a while, sleeping whenever nothing happens.
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? qMax(1, atoi(argv[1])) : 60;
    qputenv("QV_SIM", QV_SIM_PATH);
    MessageBox::setAutoAnswer(true);
    QTemporaryDir home;
    InstallFolder::setOverride(home.path());
    const QString folder = home.path() + QLatin1Char('/');
    for (const auto &[name, bytes] : {std::pair{"country.vdm", " 1 \r\n"},
                                      {"port.vdm", "1\r\n"},
                                      {"pc.vdm", "300\r\n"},
                                      {"directory.vdm", "\r\n"}}) {
        QFile f(folder + QLatin1String(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    SimProcess sim(folder, {QStringLiteral("--type"), QStringLiteral("1"),
                            QStringLiteral("--announce-interval"), QStringLiteral("20")});
    if (!sim.started()) return 1;
    TestWindow window;
    window.show();
    // The module is read first, as the installer does before opening Diagnose.
    window.Command1->click();
    QElapsedTimer reading;
    reading.start();
    while ((window.conversation().isRunning() || window.state().ModuleType != 1) && reading.elapsed() < 60000)
        runFor(50);
    if (window.state().ModuleType != 1) {
        std::fprintf(stderr, "the module was not read\n");
        return 1;
    }
    window.Command12->click();
    auto *start = window.findChild<QPushButton *>(QStringLiteral("Command17"));
    auto *stop = window.findChild<QPushButton *>(QStringLiteral("Command18"));
    start->click();
    QElapsedTimer wait;
    wait.start();
    while (!stop->isEnabled() && wait.elapsed() < 10000)
        runFor(50);
    if (!stop->isEnabled()) {
        std::fprintf(stderr, "the monitor did not start\n");
        return 1;
    }
    runFor(1000); // let "T8019" go out
    const double before = cpuSeconds();
    QElapsedTimer t;
    t.start();
    runFor(seconds * 1000);
    const double used = cpuSeconds() - before;
    const double wall = t.elapsed() / 1000.0;
    std::printf("push-button monitor waiting %.0f s: %.3f s of processor time = %.3f %% of one core\n", wall,
                used, 100.0 * used / wall);
    stop->click();
    runFor(500);
    return 0;
}
