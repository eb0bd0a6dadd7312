#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class SerialLink;

// Writes frames to the serial link on a thread of its own, one character at a time: after
// each character except the last of a frame it waits until the character has left the port,
// then pauses. The window's thread never waits for the line.
class PacedWriter : public QObject
{
    Q_OBJECT
public:
    explicit PacedWriter(SerialLink &link, QObject *parent = nullptr);
    ~PacedWriter() override;

    // Queues frames; returns the job number that sent() or failed() will report.
    quint64 send(const QList<QByteArray> &frames, int pauseMicroseconds);
    // Drops every queued job and waits (briefly) for the character being written.
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
    bool cancelled(quint64 generation) const;

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
