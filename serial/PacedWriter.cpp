#include "serial/PacedWriter.h"

#include "serial/SerialLink.h"

namespace {
// A character takes about a millisecond at 9600 baud and a stuck port gives up within a few
// seconds (see the links); a cancel never holds the window longer than this.
constexpr auto LetGoTimeout = std::chrono::seconds(3);
} // namespace

PacedWriter::PacedWriter(SerialLink &link, QObject *parent, WriterClock *clock)
    : QObject(parent), m_link(link), m_clock(clock ? *clock : m_steadyClock)
{
    m_thread = std::thread([this] { run(); });
}

PacedWriter::~PacedWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        ++m_generation;
        m_queue.clear();
    }
    m_wake.notify_all();
    m_thread.join();
}

quint64 PacedWriter::send(const QList<QByteArray> &frames, int pauseMicroseconds,
                          std::chrono::nanoseconds spacing)
{
    quint64 id;
    {
        std::lock_guard lock(m_mutex);
        id = m_nextId++;
        m_queue.push_back(
            Job{id, frames, qBound(0, pauseMicroseconds, MaxPauseMicroseconds), spacing, m_generation});
    }
    m_wake.notify_all();
    return id;
}

void PacedWriter::dropQueued()
{
    std::lock_guard lock(m_mutex);
    m_queue.clear();
}

void PacedWriter::cancel()
{
    std::unique_lock lock(m_mutex);
    ++m_generation;
    m_queue.clear();
    m_wake.notify_all(); // ends a pause at once
    m_idle.wait_for(lock, LetGoTimeout, [this] { return !m_busy; });
}

bool PacedWriter::isIdle() const
{
    std::lock_guard lock(m_mutex);
    return !m_busy && m_queue.empty();
}

bool PacedWriter::waitUntil(WriterClock::Time deadline, quint64 generation)
{
    std::unique_lock lock(m_mutex);
    return m_clock.waitUntil(lock, m_wake, deadline, [&] { return generation != m_generation; });
}

void PacedWriter::run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || !m_queue.empty(); });
            if (m_quit) return;
            job = std::move(m_queue.front());
            m_queue.pop_front();
            m_busy = true;
        }
        bool ok = true;
        bool dropped = false;
        for (const QByteArray &frame : job.frames) {
            // Every character before this one has left the port: "now" is at least the moment
            // the previous frame's carriage return went.
            if (job.spacing.count() > 0 && m_lastFrameStart &&
                !waitUntil(FrameRhythm::nextStart(*m_lastFrameStart, m_clock.now(), job.spacing),
                           job.generation)) {
                dropped = true;
                break;
            }
            m_lastFrameStart = m_clock.now();
            for (int i = 0; i < frame.size(); ++i) {
                {
                    std::lock_guard lock(m_mutex);
                    dropped = job.generation != m_generation;
                }
                if (dropped) break;
                ok = m_link.writeAndDrain(frame[i]);
                if (!ok) break;
                if (i + 1 < frame.size() && job.pauseMicroseconds > 0 &&
                    !waitUntil(m_clock.now() + std::chrono::microseconds(job.pauseMicroseconds),
                               job.generation)) {
                    dropped = true;
                    break;
                }
            }
            if (!ok || dropped) break;
            ++m_framesWritten;
        }
        {
            std::lock_guard lock(m_mutex);
            m_busy = false;
            dropped = dropped || job.generation != m_generation;
        }
        m_idle.notify_all();
        if (dropped) continue;
        if (ok)
            Q_EMIT sent(job.id);
        else
            Q_EMIT failed(job.id);
    }
}
