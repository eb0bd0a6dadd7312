#include "protocol/PacedWriter.h"

#include "protocol/SerialLink.h"

#include <chrono>

PacedWriter::PacedWriter(SerialLink &link, QObject *parent) : QObject(parent), m_link(link)
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

quint64 PacedWriter::send(const QList<QByteArray> &frames, int pauseMicroseconds)
{
    quint64 id;
    {
        std::lock_guard lock(m_mutex);
        id = m_nextId++;
        m_queue.push_back(Job{id, frames, qMax(0, pauseMicroseconds), m_generation});
    }
    m_wake.notify_all();
    return id;
}

void PacedWriter::cancel()
{
    std::unique_lock lock(m_mutex);
    ++m_generation;
    m_queue.clear();
    // A character being written takes about a millisecond; never hold the window longer
    // than a short while for a port that does not take it.
    m_idle.wait_for(lock, std::chrono::milliseconds(500), [this] { return !m_busy; });
}

bool PacedWriter::isIdle() const
{
    std::lock_guard lock(m_mutex);
    return !m_busy && m_queue.empty();
}

bool PacedWriter::cancelled(quint64 generation) const
{
    std::lock_guard lock(m_mutex);
    return generation != m_generation;
}

void PacedWriter::run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || !m_queue.empty(); });
            if (m_quit)
                return;
            job = std::move(m_queue.front());
            m_queue.pop_front();
            m_busy = true;
        }
        bool ok = true;
        bool dropped = false;
        for (const QByteArray &frame : job.frames) {
            for (int i = 0; i < frame.size() && ok && !dropped; ++i) {
                if (cancelled(job.generation)) {
                    dropped = true;
                    break;
                }
                ok = m_link.writeAndDrain(frame[i]);
                if (ok && i + 1 < frame.size() && job.pauseMicroseconds > 0)
                    std::this_thread::sleep_for(std::chrono::microseconds(job.pauseMicroseconds));
            }
            if (!ok || dropped)
                break;
        }
        {
            std::lock_guard lock(m_mutex);
            m_busy = false;
            dropped = dropped || job.generation != m_generation;
        }
        m_idle.notify_all();
        if (dropped)
            continue;
        if (ok)
            Q_EMIT sent(job.id);
        else
            Q_EMIT failed(job.id);
    }
}
