#pragma once

#include "serial/SerialLink.h"

#include <QElapsedTimer>
#include <QList>
#include <atomic>
#include <mutex>

// A serial link that stays in memory: what the program writes is recorded, and the module
// side is played by whoever holds the link (tests, benchmarks).
class MemoryLink : public SerialLink
{
    Q_OBJECT
public:
    explicit MemoryLink(QObject *parent = nullptr);

    void setPortName(const QString &name) override { m_name = name; }
    QString portName() const override { return m_name; }
    bool open() override;
    void close() override
    {
        m_open = false;
        m_openForWriter = false;
    }
    bool isOpen() const override { return m_open; }
    OpenError lastOpenError() const override { return m_lastError; }
    QString lastErrorText() const override { return m_lastErrorText; }
    QByteArray readAll() override;
    void discardInput() override { m_input.clear(); }
    bool writeAndDrain(char c) override;

    // Module side.
    void moduleSend(const QByteArray &bytes); // characters toward the program
    QByteArray written() const;               // everything the program wrote
    QByteArray takeWritten();                 // ... and forget it
    // Microseconds between each written character and the one before it.
    QList<qint64> writeGaps() const;
    void failNextOpen(OpenError error, const QString &text = QString());
    void failWrites(bool fail) { m_failWrites = fail; }
    void hangUp(); // the other end vanishes
    int openCount() const { return m_openCount; }
    // Characters the program tried to write while the link was closed (refused).
    int writesWhileClosed() const { return m_writesWhileClosed; }

Q_SIGNALS:
    // A character the program wrote (delivered on the link's thread).
    void programWrote(char c);

private:
    QString m_name;
    bool m_open = false;
    int m_openCount = 0;
    OpenError m_nextError = OpenError::None;
    QString m_nextErrorText;
    OpenError m_lastError = OpenError::None;
    QString m_lastErrorText;
    QByteArray m_input;
    mutable std::mutex m_mutex;
    QByteArray m_written;
    QList<qint64> m_times;
    QElapsedTimer m_clock;
    std::atomic<bool> m_failWrites{false};
    std::atomic<bool> m_openForWriter{false};
    std::atomic<int> m_writesWhileClosed{0};
};
