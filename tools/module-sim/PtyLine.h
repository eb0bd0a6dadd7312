#pragma once

#include "tools/module-sim/ModuleSim.h"

#include <QByteArray>
#include <QString>
#include <csignal>
#include <ctime>
#include <functional>

namespace Sim {

// The module's end of a pseudo-terminal: the simulator reads and writes the master, the program
// opens the slave path. The slave stays open here for the whole run (raw, no echo), so the line
// does not hang up when the program closes and reopens its port.
class PtyLine
{
public:
    PtyLine();
    ~PtyLine();
    PtyLine(const PtyLine &) = delete;
    PtyLine &operator=(const PtyLine &) = delete;

    bool open(QString *error);
    // Asks for a real-time (or at least a better) scheduling class, so that the arrival time of
    // each character is taken when it arrives even while the machine is busy. Returns what was
    // granted: "fifo", "nice" or "normal".
    static QByteArray raisePriority();
    QString slavePath() const { return m_slavePath; }
    // A symbolic link at `path` to the slave: an existing symbolic link is replaced, anything
    // else there is left alone and refused.
    bool makeLink(const QString &path, QString *error);
    void removeLink();

    // Microseconds since this line was made.
    qint64 nowUs() const { return nowNs() / 1000; }

    std::function<void(qint64 time, const QByteArray &text)> logSink;

    // Runs the module until *stop becomes non-zero. Signals are taken only while waiting, with
    // `waitMask` as the signal mask (see ppoll).
    void run(ModuleSim &module, bool fast, volatile std::sig_atomic_t *stop, const sigset_t *waitMask);

    // 9600 baud, 10 bits a character: 1041666.67 ns. Character i of a burst is due at
    // t0 + i * 3125000 / 3 ns, computed from i each time so that no error adds up.
    static qint64 characterDueNs(qint64 t0, qint64 i) { return t0 + i * 3125000 / 3; }

private:
    qint64 nowNs() const;
    void pump(ModuleSim &module, bool fast, qint64 now);
    bool readInput(ModuleSim &module); // false when the line reports an error
    void hangUp(ModuleSim &module);
    void log(const QByteArray &text);

    timespec m_start{};
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_link;

    // Paced sending.
    bool m_scheduled = false;
    qint64 m_t0 = 0;
    qint64 m_index = 0;
    // The line takes nothing more: announce lines are dropped, answers wait (at most a second).
    bool m_waitRoom = false;    // until POLLOUT
    qint64 m_blockedSince = -1; // from the first refused answer byte to the next one taken
    bool m_dropping = false;
};

} // namespace Sim
