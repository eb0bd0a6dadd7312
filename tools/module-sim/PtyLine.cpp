#include "tools/module-sim/PtyLine.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sched.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace Sim {

namespace {
constexpr qint64 kNsPerUs = 1000;
constexpr qint64 kNsPerMs = 1000 * 1000;
constexpr qint64 kRoomWaitNs = 1000 * kNsPerMs; // an answer the line cannot take is dropped after this
constexpr qint64 kIdleWakeNs = 1000 * kNsPerMs;

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}
} // namespace

PtyLine::PtyLine()
{
    clock_gettime(CLOCK_MONOTONIC, &m_start);
#ifdef __linux__
    // Timers as precise as the kernel gives them: the characters go out about 1 ms apart.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

PtyLine::~PtyLine()
{
    removeLink();
    if (m_master >= 0) ::close(m_master);
    if (m_slave >= 0) ::close(m_slave);
}

qint64 PtyLine::nowNs() const
{
    return monotonicNs() - (qint64(m_start.tv_sec) * 1000000000 + m_start.tv_nsec);
}

void PtyLine::log(const QByteArray &text)
{
    if (logSink) logSink(nowUs(), text);
}

QByteArray PtyLine::raisePriority()
{
    // The loop sleeps in ppoll() between characters and never spins, so the lowest real-time
    // priority costs the machine nothing but a prompt wake-up.
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO);
    if (::sched_setscheduler(0, SCHED_FIFO, &param) == 0) return "fifo";
    if (::setpriority(PRIO_PROCESS, 0, -10) == 0) return "nice";
    return "normal";
}

bool PtyLine::open(QString *error)
{
    if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0) {
        *error = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    termios tio{};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    const char *name = ::ptsname(m_master);
    m_slavePath = name ? QString::fromLocal8Bit(name) : QString();
    if (m_slavePath.isEmpty()) {
        *error = QStringLiteral("ptsname: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return true;
}

bool PtyLine::makeLink(const QString &path, QString *error)
{
    const QByteArray where = QFile::encodeName(path);
    const QFileInfo info(path);
    if (info.isSymLink()) {
        if (::unlink(where.constData()) != 0) {
            *error = QStringLiteral("cannot replace the link %1: %2")
                         .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    } else if (info.exists()) {
        *error = QStringLiteral("%1 exists and is no symbolic link; left alone").arg(path);
        return false;
    }
    if (::symlink(QFile::encodeName(m_slavePath).constData(), where.constData()) != 0) {
        *error = QStringLiteral("cannot link %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_link = path;
    return true;
}

void PtyLine::removeLink()
{
    if (m_link.isEmpty()) return;
    // Only our own link: someone may have put another one there meanwhile.
    if (QFile::symLinkTarget(m_link) == m_slavePath) ::unlink(QFile::encodeName(m_link).constData());
    m_link.clear();
}

void PtyLine::hangUp(ModuleSim &module)
{
    ::close(m_master);
    ::close(m_slave);
    m_master = m_slave = -1;
    // The pty's number may be handed to someone else now: the link must not lead there.
    removeLink();
    while (module.hasTx())
        module.txPop();
    log("HANGUP");
}

void PtyLine::pump(ModuleSim &module, bool fast, qint64 now)
{
    while (m_master >= 0 && !m_waitRoom && module.hasTx()) {
        ModuleSim::TxItem &item = module.txFront();
        if (item.hangup) {
            hangUp(module);
            return;
        }
        const qsizetype left = item.bytes.size() - item.sent;
        if (left <= 0) {
            module.txPop();
            continue;
        }
        ssize_t n;
        if (fast) {
            n = ::write(m_master, item.bytes.constData() + item.sent, size_t(left));
        } else {
            if (!m_scheduled) {
                // Continue the running schedule when this comes in time for its next character.
                if (characterDueNs(m_t0, m_index) < now) {
                    m_t0 = now;
                    m_index = 0;
                }
                m_scheduled = true;
            }
            if (characterDueNs(m_t0, m_index) > now) return;
            n = ::write(m_master, item.bytes.constData() + item.sent, 1);
            if (n > 0) ++m_index;
        }
        if (n > 0) {
            item.sent += n;
            m_dropping = false;
            m_blockedSince = -1;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && !item.droppable) {
            m_waitRoom = true;
            if (m_blockedSince < 0) m_blockedSince = now;
            return;
        }
        // Nobody reads (or the line failed): an announce line is not worth waiting for.
        if (!m_dropping) log("TX dropped");
        m_dropping = true;
        module.txPop();
    }
    if (!module.hasTx()) m_scheduled = false;
}

bool PtyLine::readInput(ModuleSim &module)
{
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n == 0 || errno == EAGAIN || errno == EWOULDBLOCK;
        const qint64 t = nowUs();
        for (ssize_t i = 0; i < n; ++i)
            module.receive(buffer[i], t);
    }
}

void PtyLine::run(ModuleSim &module, bool fast, volatile std::sig_atomic_t *stop, const sigset_t *waitMask)
{
    while (!*stop) {
        qint64 now = nowNs();
        if (m_master >= 0) {
            module.advance(now / kNsPerUs);
            if (m_blockedSince >= 0 && now - m_blockedSince >= kRoomWaitNs) {
                while (module.hasTx())
                    module.txPop();
                m_waitRoom = false;
                m_blockedSince = -1;
                m_scheduled = false;
                log("TX dropped");
            }
            pump(module, fast, now);
        }

        qint64 wake = now + kIdleWakeNs;
        if (m_master >= 0) {
            const qint64 deadline = module.nextDeadline();
            if (deadline >= 0) wake = std::min(wake, deadline * kNsPerUs);
            if (m_blockedSince >= 0) wake = std::min(wake, m_blockedSince + kRoomWaitNs);
            if (!m_waitRoom && module.hasTx()) // while waiting for room, POLLOUT wakes the loop
                wake = std::min(wake, m_scheduled ? characterDueNs(m_t0, m_index) : now);
        }
        now = nowNs();
        const qint64 wait = std::max<qint64>(0, wake - now);
        const timespec timeout{time_t(wait / 1000000000), long(wait % 1000000000)};
        pollfd fd{m_master, short(POLLIN | (m_waitRoom ? POLLOUT : 0)), 0};
        const int ready = ::ppoll(m_master >= 0 ? &fd : nullptr, m_master >= 0 ? 1 : 0, &timeout, waitMask);
        if (ready <= 0 || m_master < 0) continue;
        bool healthy = !(fd.revents & (POLLHUP | POLLERR));
        if (fd.revents & POLLIN) healthy = readInput(module) && healthy;
        if ((fd.revents & POLLOUT) && m_waitRoom) {
            m_waitRoom = false;
            m_scheduled = false;
        }
        if (!healthy) {
            // Cannot happen while the slave is held open; do not spin if it does.
            const timespec pause{0, 10 * kNsPerMs};
            ::nanosleep(&pause, nullptr);
        }
    }
}

} // namespace Sim
