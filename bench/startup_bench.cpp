// Start-up benchmark: time from process start to the main window shown, and the resident
// memory of the program at rest. Run under a display (e.g. xvfb-run -a) with QV_VELANO_HOME set.
#include "app/Form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {
// Milliseconds since this process started, from the kernel's record of its start time.
double sinceProcessStartMs()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = stat.readAll().split(' ');
    const double startTicks = fields.value(21).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / sysconf(_SC_CLK_TCK);
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Form1 window;
    window.show();
    double shownMs = -1;
    QTimer::singleShot(0, [&] {
        // The first event loop turn after show(): the window has been mapped and painted.
        QApplication::processEvents();
        shownMs = sinceProcessStartMs();
        QTimer::singleShot(2000, [&] {
            std::printf("start to window shown: %.0f ms (clock tick %ld Hz)\n", shownMs, sysconf(_SC_CLK_TCK));
            std::printf("resident memory at rest: %ld KiB\n", residentKb());
            QApplication::quit();
        });
    });
    return QApplication::exec();
}
