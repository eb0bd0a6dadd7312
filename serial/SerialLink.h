#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// The serial line to one module. The conversation reads on the window's thread; the paced
// writer writes from its own thread, one character at a time, each returning only once the
// character has left the port.
class SerialLink : public QObject
{
    Q_OBJECT
public:
    enum class OpenError
    {
        None,
        NotFound,
        InUse,
        NoPermission,
        Other
    };

    using QObject::QObject;

    virtual void setPortName(const QString &name) = 0;
    virtual QString portName() const = 0;
    // Opens the port (closing it first when it is open). On failure lastOpenError() says why.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual OpenError lastOpenError() const = 0;
    virtual QString lastErrorText() const = 0;

    // Characters received and not read yet (window thread).
    virtual QByteArray readAll() = 0;
    // Drops everything received and not read yet (window thread).
    virtual void discardInput() = 0;

    // Writer thread: writes one character and waits until it has left the port.
    virtual bool writeAndDrain(char c) = 0;

Q_SIGNALS:
    void readyRead();
    // The line failed while open (adapter pulled, other end hung up).
    void lost(const QString &detail);
};

// The device of serial port number n: "COMn" on Windows; elsewhere the user's link "comN" in the
// settings folder (only while that folder is a private folder of the user's), else a root-owned
// "/etc/qv-velano5/comN", else "/dev/ttyS<n-1>". Looked up anew at every call: the conversation
// asks at each start.
QString serialPortName(int number);
