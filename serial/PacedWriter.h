#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class SerialLink;

// The clock the writer paces by: the steady clock in the program. A test gives one that moves
// only when its line writes a character or the writer waits, so that the moments at which the
// writer starts each frame can be checked exactly, whatever the load of the machine.
class WriterClock
{
public:
    using Time = std::chrono::steady_clock::time_point;
    virtual ~WriterClock() = default;
    virtual Time now() const { return std::chrono::steady_clock::now(); }
    // Waits on `wake` (with `lock` held) until `deadline`, or less when `stopped()` becomes true;
    // returns false then. Neither a spurious wake-up nor a notification meant for somebody else
    // shortens the wait.
    virtual bool waitUntil(std::unique_lock<std::mutex> &lock, std::condition_variable &wake, Time deadline,
                           const std::function<bool()> &stopped)
    {
        return !wake.wait_until(lock, deadline, stopped);
    }
};

// The rhythm of frames written with a spacing (the slot frames of a send): a frame starts no
// sooner than `spacing` after the start of the frame before it, and never before that frame's
// carriage return has left the port.
namespace FrameRhythm {
using Time = WriterClock::Time;
// The moment the next frame may start, given when the previous one started and when its last
// character left the port.
inline Time nextStart(Time previousStart, Time previousEnd, std::chrono::nanoseconds spacing)
{
    return std::max(previousStart + spacing, previousEnd);
}
} // namespace FrameRhythm

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

    // `clock` (kept by the caller, outliving the writer) replaces the steady clock (tests).
    explicit PacedWriter(SerialLink &link, QObject *parent = nullptr, WriterClock *clock = nullptr);
    ~PacedWriter() override;

    // Queues frames; returns the job number that sent() or failed() will report. With a
    // `spacing`, each frame of the job starts no sooner than that after the start of the frame
    // written before it (FrameRhythm), and never before that frame has left the port.
    quint64 send(const QList<QByteArray> &frames, int pauseMicroseconds,
                 std::chrono::nanoseconds spacing = std::chrono::nanoseconds(0));
    // Drops the jobs that have not started; the job going out finishes (its frames are never
    // cut short).
    void dropQueued();
    // Drops every job and stops the one going out after its current character (a pause is cut
    // short), then waits until the writer has let go of the link, so that the port can be
    // closed safely.
    void cancel();
    bool isIdle() const;
    // Frames written whole so far (their last character has left the port), since the writer
    // was made. Final for a stopped job once cancel() has returned.
    quint64 framesWritten() const { return m_framesWritten.load(); }

Q_SIGNALS:
    void sent(quint64 job);
    void failed(quint64 job);

private:
    struct Job
    {
        quint64 id;
        QList<QByteArray> frames;
        int pauseMicroseconds;
        std::chrono::nanoseconds spacing;
        quint64 generation;
    };
    void run();
    // Waits until `deadline`, or less when the job's generation is cancelled meanwhile.
    // Returns false when cancelled.
    bool waitUntil(WriterClock::Time deadline, quint64 generation);

    SerialLink &m_link;
    WriterClock m_steadyClock;
    WriterClock &m_clock;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_queue;
    quint64 m_nextId = 1;
    quint64 m_generation = 0;
    bool m_busy = false;
    bool m_quit = false;
    // When the first character of the last frame written went out (writer thread only).
    std::optional<WriterClock::Time> m_lastFrameStart;
    std::atomic<quint64> m_framesWritten{0};
    std::thread m_thread;
};
