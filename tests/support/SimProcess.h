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
    // The gaps in microseconds between the characters of every frame named `frame`.
    QList<int> gaps(const QString &frame) const
    {
        QList<int> out;
        for (const QString &line : log()) {
            if (!line.contains(QStringLiteral(" RX ") + frame + QStringLiteral(" gaps=")))
                continue;
            for (const QString &g : line.section(QStringLiteral("gaps="), 1).split(QLatin1Char(','), Qt::SkipEmptyParts))
                out << g.toInt();
        }
        return out;
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
