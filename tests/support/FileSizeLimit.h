#pragma once

#include <csignal>
#include <sys/resource.h>

// While it lives, this process may write files of at most `bytes` bytes: a write beyond that
// fails (EFBIG) instead of stopping the test with SIGXFSZ, the way a full disk makes a save fail
// half-way. The previous limit comes back when it goes. active() says whether the limit could be
// set (a test that relies on it checks that first).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        m_active = getrlimit(RLIMIT_FSIZE, &m_previous) == 0;
        if (!m_active) return;
        rlimit small = m_previous;
        small.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_active) setrlimit(RLIMIT_FSIZE, &m_previous);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool active() const { return m_active; }

private:
    rlimit m_previous{};
    bool m_active = false;
};
