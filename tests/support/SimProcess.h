#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <vector>

class ModuleImage;

// qv-module-sim on a pseudo-terminal, linked as "com<port>" into an installation folder.
class SimProcess
{
public:
    SimProcess(const QString &home, const QStringList &arguments, int port = 1);
    // A fast simulator announcing every 20 ms with a memory of its own: `memory` (of a module of
    // `type`) is written to `memoryFile`, loaded at start and saved there after every completed
    // write. `extra` adds arguments.
    SimProcess(const QString &home, const QString &memoryFile, int type, const ModuleImage &memory,
               const QStringList &extra = {});
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
    // Writes the simulator took to their last slot (aborted ones not counted).
    int completedWrites() const;
    // The memory the simulator saved last (empty without a memory file or when it cannot be read).
    std::vector<int> savedMemory() const;

private:
    QProcess m_process;
    QString m_log;
    QString m_pty;
    QString m_memoryFile;
};
