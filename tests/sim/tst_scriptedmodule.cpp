#include "serial/MemoryLink.h"
#include "support/ScriptedModule.h"

#include <QTest>
#include <QThread>

#include <atomic>
#include <thread>

// The module of the GUI tests: the simulator's module logic on the in-memory line, fed from the
// program's writer thread.
class TestScriptedModule : public QObject
{
    Q_OBJECT

    // Writes `bytes` as the program's writer thread does, one character at a time.
    static void writeFromAnotherThread(MemoryLink &link, const QByteArray &bytes)
    {
        std::thread writer([&] {
            for (char c : bytes)
                link.writeAndDrain(c);
        });
        writer.join();
    }

private Q_SLOTS:
    // The module times a frame by when its characters were written, not by when the test thread
    // got round to them: a test thread busy for longer than the module's 50 ms frame timeout
    // between two halves of a frame must not cut it.
    void aBusyTestThreadDoesNotCutAFrame()
    {
        MemoryLink link;
        QVERIFY(link.open());
        ScriptedModule module(link, 1);
        writeFromAnotherThread(link, "DDDDT36");
        QCoreApplication::processEvents(); // the module has the first half and waits for the rest
        writeFromAnotherThread(link, "00\n\r");
        QThread::msleep(150);
        QByteArray answer;
        QTRY_VERIFY((answer += link.readAll()).count('\r') >= 150);
        QVERIFY(answer.startsWith("RD000003\r"));
        QCOMPARE(module.frames, QStringList{QStringLiteral("T3600")});
        QCOMPARE(module.dCount, 4);
    }

    // A module may go while the program writes: nothing reaches it afterwards.
    void goesWhileTheProgramWrites()
    {
        MemoryLink link;
        QVERIFY(link.open());
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            while (!stop) {
                for (char c : QByteArray("DT3500\n\r"))
                    link.writeAndDrain(c);
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            }
        });
        for (int i = 0; i < 200; ++i) {
            ScriptedModule module(link, i % 4);
            module.announce();
            QCoreApplication::processEvents();
        }
        stop = true;
        writer.join();
        QCoreApplication::processEvents();
        QVERIFY(link.readAll().startsWith("M1"));
    }
};

QTEST_GUILESS_MAIN(TestScriptedModule)
#include "tst_scriptedmodule.moc"
