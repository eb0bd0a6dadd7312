#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

// qv-module-sim on a pseudo-terminal, linked as "com<port>" into an installation folder.
class SimProcess
{
public:
    SimProcess(const QString &home, const QStringList &arguments, int port = 1);
    ~SimProcess() { stop(); }
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    bool started() const { return m_pty.startsWith(QLatin1String("PTY ")); }
    // Ends the simulator (it saves its memory when asked to with --save).
    void stop();
    QStringList log() const;
    // The frames received, in order ("T3600", "D*52", ...).
    QStringList frames() const;
    // The characters of every run of frames named `frame` (e.g. "D", which a busy machine may
    // log as several runs) and the microseconds from the first of them to the last.
    struct Span
    {
        int characters = 0;
        qint64 microseconds = 0;
    };
    Span span(const QString &frame) const;
    bool logged(const QString &event) const;
    // Times the simulator saved its memory (after a completed write, and when it stopped).
    int saves() const;

private:
    QProcess m_process;
    QString m_log;
    QString m_pty;
};
