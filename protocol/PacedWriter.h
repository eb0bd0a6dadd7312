#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class SerialLink;

// Writes frames to the serial link on a thread of its own, one character at a time: after
// each character except the last of a frame it waits until the character has left the port,
// then pauses. A pause never ends early unless the writer is cancelled; a cancel ends it at
// once. The window's thread never waits for the line.
class PacedWriter : public QObject
{
    Q_OBJECT
public:
    // The longest pause after a character; a longer setting would make a send last for hours.
    static constexpr int MaxPauseMicroseconds = 100'000;

    explicit PacedWriter(SerialLink &link, QObject *parent = nullptr);
    ~PacedWriter() override;

    // Queues frames; returns the job number that sent() or failed() will report.
    quint64 send(const QList<QByteArray> &frames, int pauseMicroseconds);
    // Drops the jobs that have not started; the job going out finishes (its frames are never
    // cut short).
    void dropQueued();
    // Drops every job and stops the one going out after its current character (a pause is cut
    // short), then waits until the writer has let go of the link, so that the port can be
    // closed safely.
    void cancel();
    bool isIdle() const;

Q_SIGNALS:
    void sent(quint64 job);
    void failed(quint64 job);

private:
    struct Job
    {
        quint64 id;
        QList<QByteArray> frames;
        int pauseMicroseconds;
        quint64 generation;
    };
    void run();
    // Waits `us` microseconds, or less when the job's generation is cancelled meanwhile.
    // Returns false when cancelled.
    bool pause(int us, quint64 generation);

    SerialLink &m_link;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_queue;
    quint64 m_nextId = 1;
    quint64 m_generation = 0;
    bool m_busy = false;
    bool m_quit = false;
    std::thread m_thread;
};
