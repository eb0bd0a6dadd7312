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
    SimProcess(const QString &home, const QStringList &arguments, int port = 1)
        : m_log(home + QStringLiteral("sim.log"))
    {
        QFile::remove(m_log);
        QStringList args = arguments;
        args << QStringLiteral("--link") << home + QStringLiteral("com%1").arg(port) << QStringLiteral("--log") << m_log;
        m_process.setProgram(qEnvironmentVariable("QV_SIM"));
        m_process.setArguments(args);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        if (m_process.waitForStarted(5000)) {
            while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
            }
            m_pty = QString::fromLatin1(m_process.readLine()).trimmed();
        }
    }
    ~SimProcess() { stop(); }

    bool started() const { return m_pty.startsWith(QLatin1String("PTY ")); }
    // Ends the simulator (it saves its memory when asked to with --save).
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
    QStringList log() const
    {
        QFile f(m_log);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // The frames received, in order ("T3600", "D*52", ...).
    QStringList frames() const
    {
        QStringList out;
        static const QRegularExpression rx(QStringLiteral("^\\d+ RX (\\S+)"));
        for (const QString &line : log()) {
            const auto m = rx.match(line);
            if (m.hasMatch())
                out << m.captured(1);
        }
        return out;
    }
    // The characters of every run of frames named `frame` (e.g. "D", which a busy machine may
    // log as several runs) and the microseconds from the first of them to the last.
    struct Span
    {
        int characters = 0;
        qint64 microseconds = 0;
    };
    Span span(const QString &frame) const
    {
        Span s;
        static const QRegularExpression rx(QStringLiteral("^(\\d+) RX (\\S+) gaps=(\\S*)"));
        qint64 first = -1;
        for (const QString &line : log()) {
            const auto m = rx.match(line);
            if (!m.hasMatch() || m.captured(2).section(QLatin1Char('*'), 0, 0) != frame)
                continue;
            const qint64 start = m.captured(1).toLongLong();
            const QStringList gaps = m.captured(3).split(QLatin1Char(','), Qt::SkipEmptyParts);
            qint64 last = start;
            for (const QString &g : gaps)
                last += g.toLongLong();
            if (first < 0)
                first = start;
            s.characters += int(gaps.size()) + 1;
            s.microseconds = last - first;
        }
        return s;
    }
    bool logged(const QString &event) const
    {
        for (const QString &line : log())
            if (line.section(QLatin1Char(' '), 1).startsWith(event))
                return true;
        return false;
    }

private:
    QProcess m_process;
    QString m_log;
    QString m_pty;
};
