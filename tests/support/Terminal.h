#pragma once

#include <QString>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

// A pseudo-terminal of the test's own: its terminal end stands for a serial port, as the
// simulated module's does. Open while the object lives.
class Terminal
{
public:
    enum Lock
    {
        Unlocked,
        Locked // its terminal end cannot be opened yet, by anybody
    };
    explicit Terminal(Lock lock = Unlocked)
    {
        m_main = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_main >= 0 && ::grantpt(m_main) == 0 && (lock == Locked || ::unlockpt(m_main) == 0))
            if (const char *name = ::ptsname(m_main)) m_device = QString::fromLocal8Bit(name);
    }
    ~Terminal()
    {
        if (m_main >= 0) ::close(m_main);
    }
    Terminal(const Terminal &) = delete;
    Terminal &operator=(const Terminal &) = delete;
    // "/dev/pts/N"; empty when the system gave none.
    QString device() const { return m_device; }

private:
    int m_main = -1;
    QString m_device;
};
