// Start-up benchmark: time from process start to the main window shown, and the resident
// memory of the program at rest, beside the same figures of a bare Qt Widgets main window (the
// floor, qv-bench-startup-floor). Each run starts the program's window and the floor window as
// child processes, one after the other, and each measures itself the same way
// (startup_probe.h). Run under a display (e.g. xvfb-run -a) with QV_VELANO_HOME set:
//   qv-bench-startup [runs]          runs of each window, 5 unless given
//   qv-bench-startup --one           one start of the program's window, measured in this process
#include "app/MainWindow.h"
#include "startup_probe.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <unistd.h>

namespace {
constexpr int DefaultRuns = 5;
constexpr int ChildTimeoutMs = 120000;

// One start of the program's window, as the program's main() starts it.
int measureProgramOnce(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QV Velano5"));
    MainWindow window;
    window.show();
    StartupProbe::reportWhenShown();
    return QApplication::exec();
}

struct Figures
{
    double shownMs = -1;
    double residentKb = -1;
};

// Starts one measured window as a child process and reads the two lines it prints.
std::optional<Figures> measure(const char *what, const QString &program, const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, arguments);
    if (!child.waitForStarted(ChildTimeoutMs)) {
        std::fprintf(stderr, "qv-bench-startup: cannot start the %s window (%s): %s\n", what,
                     qPrintable(program), qPrintable(child.errorString()));
        return std::nullopt;
    }
    if (!child.waitForFinished(ChildTimeoutMs)) {
        child.kill();
        child.waitForFinished();
        std::fprintf(stderr, "qv-bench-startup: the %s window did not end within %d s\n", what,
                     ChildTimeoutMs / 1000);
        return std::nullopt;
    }
    Figures f;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        static constexpr QByteArrayView shown = "start to window shown: ";
        static constexpr QByteArrayView resident = "resident memory at rest: ";
        bool ok = false;
        if (line.startsWith(shown)) {
            const double v = line.mid(shown.size()).split(' ').value(0).toDouble(&ok);
            if (ok && v >= 0) f.shownMs = v;
        } else if (line.startsWith(resident)) {
            const double v = line.mid(resident.size()).split(' ').value(0).toDouble(&ok);
            if (ok && v >= 0) f.residentKb = v;
        }
    }
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 || f.shownMs < 0 ||
        f.residentKb < 0) {
        std::fprintf(stderr, "qv-bench-startup: the %s window did not report its figures (exit code %d)\n",
                     what, child.exitCode());
        return std::nullopt;
    }
    return f;
}

struct Spread
{
    double median = 0;
    double min = 0;
    double max = 0;
};

Spread spread(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

// The load average over the last minute, as the kernel reports it.
QByteArray loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly)) return "?";
    return f.readAll().split(' ').value(0);
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--one") == 0) return measureProgramOnce(argc, argv);

    // This process stays connected to the display while the measured windows come and go: an X
    // server whose last client leaves resets itself (rebuilding its keyboard map) just as the next
    // window starts, which would slow every start but the first. So each window starts on a
    // display as settled as the first window's.
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : DefaultRuns;
    if (runs < 1) {
        std::fprintf(stderr, "usage: qv-bench-startup [runs]    (runs of each window, %d unless given)\n",
                     DefaultRuns);
        return 2;
    }
    const QString self = QCoreApplication::applicationFilePath();
    const QString floor = QStringLiteral(QV_BENCH_FLOOR_PATH);

    const QByteArray loadBefore = loadAverage();
    QList<double> programMs, floorMs, programKb, floorKb;
    for (int run = 1; run <= runs; ++run) {
        // Alternate which window starts first, so neither always follows the other.
        std::optional<Figures> p, f;
        if (run % 2) {
            p = measure("program's", self, {QStringLiteral("--one")});
            f = p ? measure("floor", floor, {}) : std::nullopt;
        } else {
            f = measure("floor", floor, {});
            p = f ? measure("program's", self, {QStringLiteral("--one")}) : std::nullopt;
        }
        if (!p || !f) return 1;
        programMs << p->shownMs;
        programKb << p->residentKb;
        floorMs << f->shownMs;
        floorKb << f->residentKb;
        std::printf("run %d of %d: program %.0f ms %.0f KiB, floor %.0f ms %.0f KiB\n", run, runs, p->shownMs,
                    p->residentKb, f->shownMs, f->residentKb);
        std::fflush(stdout);
    }
    const QByteArray loadAfter = loadAverage();

    const Spread pMs = spread(programMs), fMs = spread(floorMs), pKb = spread(programKb),
                 fKb = spread(floorKb);
    // The program's own figures, medians of the runs, in the lines this benchmark always printed.
    std::printf("start to window shown: %.0f ms (clock tick %ld Hz)\n", pMs.median, sysconf(_SC_CLK_TCK));
    std::printf("resident memory at rest: %.0f KiB\n", pKb.median);
    // Beside the floor's.
    std::printf("start to window shown, program / floor: %.0f ms / %.0f ms, ratio %.2f"
                " (medians of %d runs each; program %.0f..%.0f ms, floor %.0f..%.0f ms)\n",
                pMs.median, fMs.median, pMs.median / fMs.median, runs, pMs.min, pMs.max, fMs.min, fMs.max);
    std::printf("resident memory at rest, program / floor: %.0f KiB / %.0f KiB"
                " (medians of %d runs each; program %.0f..%.0f KiB, floor %.0f..%.0f KiB)\n",
                pKb.median, fKb.median, runs, pKb.min, pKb.max, fKb.min, fKb.max);
    std::printf("load average (1 minute) before / after the runs: %s / %s\n", loadBefore.constData(),
                loadAfter.constData());
    return 0;
}
