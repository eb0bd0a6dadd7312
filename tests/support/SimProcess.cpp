#include "support/SimProcess.h"

SimProcess::SimProcess(const QString &home, const QStringList &arguments, int port)
    : m_log(home + QStringLiteral("sim.log"))
{
    QFile::remove(m_log);
    QStringList args = arguments;
    args << QStringLiteral("--link") << home + QStringLiteral("com%1").arg(port) << QStringLiteral("--log")
         << m_log;
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

void SimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

QStringList SimProcess::log() const
{
    QFile f(m_log);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList SimProcess::frames() const
{
    QStringList out;
    static const QRegularExpression rx(QStringLiteral("^\\d+ RX (\\S+)"));
    for (const QString &line : log()) {
        const auto m = rx.match(line);
        if (m.hasMatch()) out << m.captured(1);
    }
    return out;
}

SimProcess::Span SimProcess::span(const QString &frame) const
{
    Span s;
    static const QRegularExpression rx(QStringLiteral("^(\\d+) RX (\\S+) gaps=(\\S*)"));
    qint64 first = -1;
    for (const QString &line : log()) {
        const auto m = rx.match(line);
        if (!m.hasMatch() || m.captured(2).section(QLatin1Char('*'), 0, 0) != frame) continue;
        const qint64 start = m.captured(1).toLongLong();
        const QStringList gaps = m.captured(3).split(QLatin1Char(','), Qt::SkipEmptyParts);
        qint64 last = start;
        for (const QString &g : gaps)
            last += g.toLongLong();
        if (first < 0) first = start;
        s.characters += int(gaps.size()) + 1;
        s.microseconds = last - first;
    }
    return s;
}

bool SimProcess::logged(const QString &event) const
{
    for (const QString &line : log())
        if (line.section(QLatin1Char(' '), 1).startsWith(event)) return true;
    return false;
}

int SimProcess::saves() const
{
    int n = 0;
    for (const QString &line : log())
        n += line.section(QLatin1Char(' '), 1, 1) == QLatin1String("SAVE") &&
             line.section(QLatin1Char(' '), 2, 2) != QLatin1String("FAILED");
    return n;
}
