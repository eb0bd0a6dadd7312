#include "serial/QtSerialLink.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

struct QtSerialLink::WriteHandle
{
    qintptr handle;
    std::atomic<bool> closed{false};
    explicit WriteHandle(qintptr h) : handle(h) {}
    ~WriteHandle()
    {
#ifndef Q_OS_WIN
        ::close(static_cast<int>(handle));
#endif
    }
};

QtSerialLink::QtSerialLink(QObject *parent) : SerialLink(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &SerialLink::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialLink::onError);
}

QtSerialLink::~QtSerialLink()
{
    close();
}

void QtSerialLink::setPortName(const QString &name)
{
    m_name = name;
    m_port.setPortName(name);
}

bool QtSerialLink::open()
{
    close();
    m_openError = OpenError::None;
    m_errorText.clear();
    m_port.setPortName(m_name);
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_errorText = m_port.errorString();
        switch (m_port.error()) {
        case QSerialPort::DeviceNotFoundError:
            m_openError = OpenError::NotFound;
            break;
        case QSerialPort::PermissionError:
            // Qt reports a port held by another program as a failure to lock the device.
            m_openError = m_errorText.contains(QLatin1String("lock"), Qt::CaseInsensitive)
                              ? OpenError::InUse
                              : OpenError::NoPermission;
            break;
        case QSerialPort::OpenError:
            m_openError = OpenError::InUse;
            break;
        default:
            m_openError = OpenError::Other;
            break;
        }
        m_port.clearError();
        return false;
    }
#ifdef Q_OS_WIN
    const qintptr writerHandle = m_port.handle();
#else
    const qintptr writerHandle = ::fcntl(static_cast<int>(m_port.handle()), F_DUPFD_CLOEXEC, 0);
    if (writerHandle < 0) {
        m_errorText = QString::fromLocal8Bit(strerror(errno));
        m_openError = OpenError::Other;
        m_port.close();
        return false;
    }
#endif
    std::lock_guard lock(m_handleMutex);
    m_writeHandle = std::make_shared<WriteHandle>(writerHandle);
    return true;
}

std::shared_ptr<QtSerialLink::WriteHandle> QtSerialLink::writeHandle() const
{
    std::lock_guard lock(m_handleMutex);
    return m_writeHandle;
}

void QtSerialLink::close()
{
    {
        std::lock_guard lock(m_handleMutex);
        if (m_writeHandle) {
            m_writeHandle->closed = true;
            m_writeHandle.reset();
        }
    }
    if (m_port.isOpen()) m_port.close();
    m_discardBytes = 0;
}

QByteArray QtSerialLink::readAll()
{
    if (!m_port.isOpen()) return {};
    QByteArray bytes = m_port.readAll();
    const qint64 skipped = std::min<qint64>(m_discardBytes, bytes.size());
    m_discardBytes -= skipped;
    bytes.remove(0, skipped);
    return bytes;
}

void QtSerialLink::discardInput()
{
    if (!m_port.isOpen()) return;
    m_port.readAll();
#ifdef Q_OS_WIN
    m_port.clear(QSerialPort::Input);
#else
    // Flushing the system's input buffer here races with the port's read notification: when the
    // event loop has already seen the port readable, the port then reads nothing and reports a
    // read error, which would end the conversation as a lost line. So what the system holds now
    // is counted and thrown away as it is read, which drops exactly the same bytes.
    int pending = 0;
    if (::ioctl(static_cast<int>(m_port.handle()), FIONREAD, &pending) == 0)
        m_discardBytes = std::max(pending, 0);
#endif
}

void QtSerialLink::onError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        // A line that hung up keeps reporting the same error until the port is closed.
        if (m_port.isOpen()) {
            const QString detail = m_port.errorString();
            close();
            m_port.clearError();
            Q_EMIT lost(detail);
        }
        break;
    default:
        break;
    }
}

bool QtSerialLink::writeAndDrain(char c)
{
    const std::shared_ptr<WriteHandle> held = writeHandle();
    if (!held) return false;
    const qintptr handle = held->handle;
#ifdef Q_OS_WIN
    const HANDLE h = reinterpret_cast<HANDLE>(handle);
    OVERLAPPED ov = {};
    ov.hEvent = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    if (!ov.hEvent) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, &c, 1, &written, &ov) || GetLastError() == ERROR_IO_PENDING;
    ok = ok && GetOverlappedResult(h, &ov, &written, TRUE) && written == 1;
    CloseHandle(ov.hEvent);
    return ok && FlushFileBuffers(h);
#else
    const int fd = static_cast<int>(handle);
    // A port that takes nothing for this long is stuck: report it rather than wait forever.
    int waitsLeft = 20;
    for (;;) {
        const ssize_t n = ::write(fd, &c, 1);
        if (n == 1) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, 100) < 0 && errno != EINTR) return false;
            if (held->closed || --waitsLeft == 0) return false;
            continue;
        }
        return false;
    }
    while (::tcdrain(fd) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
#endif
}
