// The one way the start-up benchmark measures a window: time from process start to the window
// shown, and resident memory at rest. Both measured windows (the program's main window and the
// bare floor window) include this file and call it the same way, so their figures compare.
#pragma once

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace StartupProbe {

// How long the window is left alone after it was shown before its resident memory is read.
inline constexpr int RestMs = 2000;

// Milliseconds since this process started, from the kernel's record of its start time (whole
// clock ticks since boot, so the figure is late by up to one tick).
inline double sinceProcessStartMs()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    // The fields after the command name, which is in parentheses and may itself hold blanks:
    // the state is field 3 of the record, the start time field 22.
    const QByteArray record = stat.readAll();
    const QList<QByteArray> fields = record.mid(record.lastIndexOf(')') + 2).split(' ');
    bool ok = false;
    const double startTicks = fields.value(22 - 3).toDouble(&ok);
    if (!ok) return -1;
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - startTicks * 1000.0 / sysconf(_SC_CLK_TCK);
}

inline long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Call right after the window's show(), before the event loop runs. On the first event loop turn
// after show() the window has been mapped and painted: the time is taken then. After RestMs the
// two figures are printed and the application quits.
inline void reportWhenShown()
{
    QTimer::singleShot(0, [] {
        QApplication::processEvents();
        const double shownMs = sinceProcessStartMs();
        QTimer::singleShot(RestMs, [shownMs] {
            std::printf("start to window shown: %.0f ms (clock tick %ld Hz)\n", shownMs,
                        sysconf(_SC_CLK_TCK));
            std::printf("resident memory at rest: %ld KiB\n", residentKb());
            std::fflush(stdout);
            QApplication::quit();
        });
    });
}

} // namespace StartupProbe
