#include "serial/QtSerialLink.h"

#include <QSignalSpy>
#include <QTest>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The program's serial link on a pseudo-terminal: the test holds the module's end.
class TestQtSerialLink : public QObject
{
    Q_OBJECT

    int m_module = -1;
    int m_slave = -1;
    QString m_path;

    void fromModule(const QByteArray &bytes)
    {
        QCOMPARE(::write(m_module, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
        // Let the bytes reach the program's side before the event loop looks at the port.
        QTest::qSleep(50);
    }

private Q_SLOTS:
    void init()
    {
        char name[256] = {};
        QVERIFY(::openpty(&m_module, &m_slave, name, nullptr, nullptr) == 0);
        termios tio{};
        ::tcgetattr(m_slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
        m_path = QString::fromLocal8Bit(name);
    }
    void cleanup()
    {
        if (m_module >= 0) ::close(m_module);
        if (m_slave >= 0) ::close(m_slave);
    }

    // Input thrown away while the port already reports it readable (the module keeps announcing
    // while the program finishes a burst) is not a lost line, and only what came before is lost.
    void discardingPendingInputKeepsTheLine()
    {
        QtSerialLink link;
        link.setPortName(m_path);
        QVERIFY(link.open());
        QSignalSpy lost(&link, &SerialLink::lost);
        QByteArray received;
        connect(&link, &SerialLink::readyRead, this, [&] { received += link.readAll(); });

        for (int round = 0; round < 20; ++round) {
            fromModule("M0123 0229\r\n");
            // Runs in the same turn of the event loop that sees the port readable.
            QMetaObject::invokeMethod(
                &link, [&] { link.discardInput(); }, Qt::QueuedConnection);
            QTest::qWait(20);
        }
        fromModule("A0007\r\n");
        QTRY_COMPARE(received, "A0007\r\n"_ba);
        QCOMPARE(lost.count(), 0);
        QVERIFY(link.isOpen());
    }

    // A module end that goes away is a lost line.
    void hangUpIsALostLine()
    {
        QtSerialLink link;
        link.setPortName(m_path);
        QVERIFY(link.open());
        QSignalSpy lost(&link, &SerialLink::lost);
        ::close(m_module);
        ::close(m_slave);
        m_module = m_slave = -1;
        QTRY_COMPARE(lost.count(), 1);
        QVERIFY(!link.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestQtSerialLink)
#include "tst_qtseriallink.moc"
