#include "serial/MemoryLink.h"

#include <QMetaObject>

MemoryLink::MemoryLink(QObject *parent) : SerialLink(parent)
{
    m_clock.start();
}

bool MemoryLink::open()
{
    ++m_openCount;
    m_lastError = m_nextError;
    m_lastErrorText = m_nextErrorText;
    m_nextError = OpenError::None;
    m_nextErrorText.clear();
    m_open = m_lastError == OpenError::None;
    m_openForWriter = m_open;
    return m_open;
}

QByteArray MemoryLink::readAll()
{
    QByteArray bytes;
    bytes.swap(m_input);
    return bytes;
}

bool MemoryLink::writeAndDrain(char c)
{
    if (m_failWrites) return false;
    if (!m_openForWriter) {
        ++m_writesWhileClosed;
        return false;
    }
    {
        std::lock_guard lock(m_mutex);
        m_written += c;
        m_times << m_clock.nsecsElapsed() / 1000;
    }
    Q_EMIT programWrote(c);
    return true;
}

void MemoryLink::moduleSend(const QByteArray &bytes)
{
    if (!m_open) return;
    m_input += bytes;
    QMetaObject::invokeMethod(this, &SerialLink::readyRead, Qt::QueuedConnection);
}

QByteArray MemoryLink::written() const
{
    std::lock_guard lock(m_mutex);
    return m_written;
}

QByteArray MemoryLink::takeWritten()
{
    std::lock_guard lock(m_mutex);
    QByteArray bytes;
    bytes.swap(m_written);
    m_times.clear();
    return bytes;
}

QList<qint64> MemoryLink::writeGaps() const
{
    std::lock_guard lock(m_mutex);
    QList<qint64> gaps;
    for (int i = 1; i < m_times.size(); ++i)
        gaps << m_times[i] - m_times[i - 1];
    return gaps;
}

void MemoryLink::failNextOpen(OpenError error, const QString &text)
{
    m_nextError = error;
    m_nextErrorText = text;
}

void MemoryLink::hangUp()
{
    if (!m_open) return;
    m_open = false;
    m_openForWriter = false;
    Q_EMIT lost(QStringLiteral("the line hung up"));
}
