#pragma once

#include "serial/SerialLink.h"

#include <QSerialPort>
#include <atomic>
#include <memory>
#include <mutex>

// The program's serial link: a QSerialPort at 9600 baud, 8 data bits, no parity, 1 stop bit,
// no flow control. Reading goes through QSerialPort; the paced writer writes straight to the
// port's native handle and drains it, so each pause starts once the character has left.
class QtSerialLink : public SerialLink
{
    Q_OBJECT
public:
    explicit QtSerialLink(QObject *parent = nullptr);
    ~QtSerialLink() override;

    void setPortName(const QString &name) override;
    QString portName() const override { return m_name; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    OpenError lastOpenError() const override { return m_openError; }
    QString lastErrorText() const override { return m_errorText; }
    QByteArray readAll() override;
    void discardInput() override;
    bool writeAndDrain(char c) override;

private:
    void onError(QSerialPort::SerialPortError error);

    // The descriptor the writer thread writes to. On POSIX it is a duplicate of the port's own
    // descriptor that lives until the writer lets go of it, so a character can never reach a
    // descriptor number that the system has handed to somebody else after the port closed.
    struct WriteHandle;
    std::shared_ptr<WriteHandle> writeHandle() const;

    QSerialPort m_port;
    QString m_name;
    OpenError m_openError = OpenError::None;
    QString m_errorText;
    qint64 m_discardBytes = 0; // input the system held when it was discarded, still to be read
    mutable std::mutex m_handleMutex;
    std::shared_ptr<WriteHandle> m_writeHandle;
};
