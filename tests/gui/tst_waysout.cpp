#include "common/MessageBox.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "support/Find.h"
#include "support/RealBoxes.h"
#include "support/WaysOut.h"
#include "support/WindowRig.h"
#include "support/WindowState.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <utility>

// Every way out of a conversation, against a scripted module on an in-memory line: the window
// the installer had comes back, an image that was never read can never be sent, and the module
// gets what it is owed (stop frames, "T0006") and nothing else.
class TestWaysOut : public QObject
{
    Q_OBJECT

    // A slave relay module file opened as the installer does, with the push-button editor open.
    static ModuleImage openRelayFile(WindowRig &rig)
    {
        ModuleImage image = Images::pattern(0, 5, 17);
        image.set(ModuleTypes::MasterSlot, 0);
        if (!rig.openFile(0, image)) QTest::qFail("the module file was not opened", __FILE__, __LINE__);
        rig.w().Command7->click();
        return image;
    }
    // Reads a module of `type`, then opens the diagnostics panel; the wire is emptied.
    static ScriptedModule &readAndOpenDiagnostics(WindowRig &rig, int type = 0)
    {
        if (!rig.read(type)) QTest::qFail("the module was not read", __FILE__, __LINE__);
        rig.w().Command12->click();
        rig.link.takeWritten();
        return *rig.module;
    }

    static void getOut(WindowRig &rig, WayOut way)
    {
        switch (way) {
        case AbortButton:
            rig.w().AbortButton->click();
            break;
        case Escape:
            QTest::keyClick(rig.window.get(), Qt::Key_Escape);
            break;
        case LineLost:
            rig.link.hangUp();
            break;
        case Unsupported:
            rig.link.moduleSend("M17<b>501</b>\r");
            break;
        case PortMissing:
            break;
        }
    }

    static int count(const QByteArray &wire, const QByteArray &frame) { return int(wire.count(frame)); }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    // Rows of every way out of a read at every moment, with a fresh program and with a file
    // open; for a port that cannot be opened, `moment` is how opening it fails.
    void readAbandoned_data()
    {
        addWayOutRows("file open");
        for (bool fileOpen : {false, true}) {
            const char *program = fileOpen ? "file open" : "fresh";
            QTest::addRow("%s, port missing", program)
                << int(PortMissing) << int(SerialLink::OpenError::NotFound) << fileOpen;
            QTest::addRow("%s, port busy", program)
                << int(PortMissing) << int(SerialLink::OpenError::InUse) << fileOpen;
            QTest::addRow("%s, port not allowed", program)
                << int(PortMissing) << int(SerialLink::OpenError::NoPermission) << fileOpen;
            QTest::addRow("%s, module not supported", program) << int(Unsupported) << -1 << fileOpen;
        }
    }
    void readAbandoned()
    {
        QFETCH(int, way);
        QFETCH(int, moment);
        QFETCH(bool, fileOpen);
        const int openError = way == PortMissing ? std::exchange(moment, -1) : -1;
        WindowRig rig;
        TestWindow &w = rig.w();
        const ModuleImage file = fileOpen ? openRelayFile(rig) : ModuleImage(ModuleTypes::RelaySlots);
        if (way == PortMissing) w.p[7]->trigger(); // port 8: no link in the folder, so the device ttyS7
        const QStringList before = windowState(w);
        const ModuleState images = w.state();

        // A dim module is attached.
        ScriptedModule &dim = rig.attach(1);
        if (way == PortMissing)
            rig.link.failNextOpen(SerialLink::OpenError(openError), QStringLiteral("detail"));
        w.Command1->click();
        if (way != PortMissing) QVERIFY(w.AbortButton->isVisible() && !w.Command1->isEnabled());
        if (moment == Announced) {
            dim.answer = false;
            dim.announce();
            QTRY_VERIFY(rig.link.written().endsWith("T3600\n\r"));
            QCOMPARE(w.state().ModuleType, 1);
        } else if (moment == HalfWay) {
            dim.stopAfterLines = 60;
            dim.announce();
            QTRY_COMPARE(w.ProgressBar1->value(), 60);
            QTest::qWait(20);
        } else if (moment == Waiting) {
            QTRY_VERIFY(w.ProgressBar1->isVisible());
            QTest::qWait(20);
        } else {
            QTest::qWait(20);
        }
        getOut(rig, WayOut(way));
        if (way == AbortButton || way == Escape) QVERIFY(w.isIdle()); // at once: nothing is owed
        QTRY_VERIFY(!w.conversation().isRunning());
        QVERIFY(!rig.link.isOpen());
        QCOMPARE(rig.link.writesWhileClosed(), 0);
        if (moment == Waiting) QCOMPARE(rig.link.written(), QByteArray()); // no announce, no burst
        if (way == Unsupported) QCOMPARE(rig.link.written(), QByteArray(52, 'D'));

        QCOMPARE(windowState(w), before);
        for (int type : {0, 1, 2})
            QCOMPARE(*w.state().imageFor(type), *images.imageFor(type));
        if (way == AbortButton || way == Escape) {
            QCOMPARE(w.Text1->text(), QStringLiteral("Afgebroken"));
            QCOMPARE(MessageBox::shownCount(), 0);
        } else {
            QCOMPARE(MessageBox::shownCount(), 1);
            QCOMPARE(w.Text1->text(), MessageBox::lastText());
            const QString words =
                way == LineLost                                     ? QStringLiteral("verbroken")
                : way == Unsupported                                ? QStringLiteral("niet ondersteund")
                : openError == int(SerialLink::OpenError::NotFound) ? QStringLiteral("bestaat niet")
                : openError == int(SerialLink::OpenError::InUse)    ? QStringLiteral("in gebruik")
                                                                    : QStringLiteral("dialout");
            QVERIFY2(MessageBox::lastText().contains(words), qPrintable(MessageBox::lastText()));
            if (way == PortMissing) QVERIFY(MessageBox::lastText().contains(QStringLiteral("/dev/ttyS7")));
        }
        QVERIFY(w.isIdle());
        QVERIFY(w.poort->isEnabled());

        if (!fileOpen) {
            // Nothing was read: nothing can be sent, whatever is clicked.
            QCOMPARE(w.state().ModuleType, 4);
            QVERIFY(!w.Command2->isEnabled());
            rig.link.takeWritten();
            w.Command2->click();
            QTest::qWait(30);
            QVERIFY(!rig.link.written().contains("T3700"));
            // The next connection reads the whole image.
            dim.answer = true;
            dim.stopAfterLines = -1;
            QVERIFY(rig.read());
            QCOMPARE(w.state().DimImage, dim.image());
            return;
        }
        // The file's image comes back whole, and a relay module gets exactly its values (once
        // here; the end-to-end tests send after every way out).
        QCOMPARE(w.state().ModuleType, 0);
        QVERIFY(w.Command2->isEnabled());
        QVERIFY(w.Frame3->isVisible());
        if (moment != HalfWay || way != LineLost) return;
        rig.attach(0);
        w.Command2->click();
        rig.module->announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Ready"));
        QCOMPARE(rig.module->image(), file);
    }

    // A module announcing markup gets it shown as text, shortened.
    void outsideTextIsPlain()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        w.Command1->click();
        rig.link.moduleSend("M19<img src=x>" + QByteArray(200, 'A') + "\r");
        QTRY_COMPARE(MessageBox::shownCount(), 1);
        QVERIFY(MessageBox::lastText().contains(QStringLiteral("M19<img src=x>AAA")));
        QVERIFY(!MessageBox::lastText().contains(QString(100, QLatin1Char('A'))));
    }

    // A running test is ended on the module as its Stop ends it; before the module's answer
    // nothing is owed.
    void diagnosticsAbandoned_data()
    {
        QTest::addColumn<int>("test");
        QTest::addColumn<bool>("answered");
        QTest::addColumn<int>("way");
        QTest::addColumn<QByteArray>("owed");
        for (const auto &[name, way] :
             {std::pair{"Afbreken", int(AbortButton)}, std::pair{"Esc", int(Escape)}}) {
            QTest::addRow("monitor running, %s", name)
                << 2 << true << way << QByteArray("T8219\n\r").repeated(11);
            QTest::addRow("output test running, %s", name)
                << 3 << true << way << QByteArray("T7219\n\r").repeated(11);
            QTest::addRow("scan answered, %s", name) << 1 << true << way << QByteArray("T0006\n\r");
            QTest::addRow("monitor opening, %s", name) << 2 << false << way << QByteArray();
            QTest::addRow("output test opening, %s", name) << 3 << false << way << QByteArray();
            QTest::addRow("scan opening, %s", name) << 1 << false << way << QByteArray();
        }
    }
    void diagnosticsAbandoned()
    {
        QFETCH(int, test);
        QFETCH(bool, answered);
        QFETCH(int, way);
        QFETCH(QByteArray, owed);
        WindowRig rig;
        TestWindow &w = rig.w();
        ScriptedModule &module = readAndOpenDiagnostics(rig);
        DiagnosticsFrame *f = w.Frame10;
        const QStringList before = windowState(w);
        module.statusLines = module.statusLines.mid(0, 3); // a scan that stops short
        QPushButton *start = test == 1   ? byName<QPushButton>(f, "Command6")
                             : test == 2 ? byName<QPushButton>(f, "Command17")
                                         : byName<QPushButton>(f, "Command19");
        start->click();
        module.answer = answered;
        module.announce();
        if (test == 2 && answered)
            QTRY_VERIFY(byName<QPushButton>(f, "Command18")->isEnabled());
        else if (test == 3 && answered)
            QTRY_VERIFY(byName<QPushButton>(f, "Command20")->isEnabled());
        else if (test == 1 && answered)
            QTRY_COMPARE(byName<QComboBox>(f, "Combo30")->count(), 3);
        else
            QTRY_VERIFY(rig.link.written().endsWith("T3500\n\r"));
        if (answered && test != 3) // the monitor's "T8019" or the scan's "T9019" has gone out
            QTRY_VERIFY(rig.link.written().endsWith(test == 2 ? "T8019\n\r" : "T9019\n\r"));
        rig.link.takeWritten();
        getOut(rig, WayOut(way));
        QTRY_VERIFY(!w.conversation().isRunning());
        QCOMPARE(rig.link.written(), owed);
        QVERIFY(!rig.link.isOpen());
        QCOMPARE(windowState(w), before);
        QCOMPARE(w.Text1->text(), QStringLiteral("Afgebroken"));
        QVERIFY(byName<QPushButton>(f, "Command6")->isEnabled() &&
                byName<QPushButton>(f, "Command17")->isEnabled() &&
                byName<QPushButton>(f, "Command19")->isEnabled());
        QVERIFY(!byName<QPushButton>(f, "Command18")->isEnabled() &&
                !byName<QPushButton>(f, "Command20")->isEnabled());
    }

    // Esc after the installer's own Stop, in the 40 ms before a wrong-module "T0006" or in the
    // second before a scan's "T0006": the owed frames go out once, nothing else.
    void getOutWhileFramesAreOwed()
    {
        {
            WindowRig rig;
            ScriptedModule &module = readAndOpenDiagnostics(rig);
            DiagnosticsFrame *f = rig.w().Frame10;
            byName<QPushButton>(f, "Command17")->click();
            module.announce();
            QTRY_VERIFY(byName<QPushButton>(f, "Command18")->isEnabled());
            QTRY_VERIFY(rig.link.written().endsWith("T8019\n\r"));
            rig.link.takeWritten();
            byName<QPushButton>(f, "Command18")->click();
            QTest::keyClick(rig.window.get(), Qt::Key_Escape);
            QTest::keyClick(rig.window.get(), Qt::Key_Escape);
            QTRY_VERIFY(!rig.w().conversation().isRunning());
            QCOMPARE(rig.link.written(), QByteArray("T8219\n\r").repeated(11));
        }
        {
            WindowRig rig;
            ScriptedModule &module = readAndOpenDiagnostics(rig);
            QElapsedTimer clock;
            byName<QPushButton>(rig.w().Frame10, "Command6")->click();
            module.announce();
            QTRY_COMPARE(byName<QComboBox>(rig.w().Frame10, "Combo30")->count(), 10);
            clock.start();
            rig.link.takeWritten();
            QTest::keyClick(rig.window.get(), Qt::Key_Escape);
            QTRY_VERIFY(!rig.w().conversation().isRunning());
            QVERIFY2(clock.elapsed() < 500, "the end frame goes out at once, not after its second");
            QCOMPARE(rig.link.written(), QByteArray("T0006\n\r"));
        }
        {
            WindowRig rig;
            readAndOpenDiagnostics(rig);
            rig.attach(1);
            rig.w().Command2->click();
            rig.module->announce();
            QTRY_COMPARE(count(rig.link.written(), "D"), 52);
            QTest::keyClick(rig.window.get(), Qt::Key_Escape);
            QTRY_VERIFY(!rig.w().conversation().isRunning());
            QCOMPARE(rig.link.written(), QByteArray(52, 'D') + "T0006\n\r");
            QCOMPARE(rig.w().Text1->text(), QStringLiteral("Afgebroken"));
            QVERIFY(rig.w().Command2->isEnabled());
        }
    }

    // A test's own buttons while the stop frames of a way out are still going out (slow pauses):
    // they are no longer offered, and what they would ask of the conversation does nothing, so
    // the module gets its stop frames once and nothing after them.
    void testButtonsWhileGettingOut_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<QByteArray>("owed");
        const auto row = [](const char *name, const char *start, const char *stop, const char *pressed,
                            const char *stopFrame) {
            QTest::newRow(name) << QString::fromLatin1(start) << QString::fromLatin1(stop)
                                << QString::fromLatin1(pressed) << QByteArray(stopFrame).repeated(11);
        };
        row("monitor, Stop", "Command17", "Command18", "Command18", "T8219\n\r");
        row("output test, Stop", "Command19", "Command20", "Command20", "T7219\n\r");
        row("output test, output 2", "Command19", "Command20", "Command23", "T7219\n\r");
    }
    void testButtonsWhileGettingOut()
    {
        QFETCH(QString, start);
        QFETCH(QString, stop);
        QFETCH(QString, pressed);
        QFETCH(QByteArray, owed);
        WindowRig rig(
            {.pc = "2000\r\n"}); // eleven stop frames take far longer than the 40 ms of an output command
        ScriptedModule &module = readAndOpenDiagnostics(rig);
        const auto button = [&](const QString &name) { return rig.w().findChild<QPushButton *>(name); };
        button(start)->click();
        module.announce();
        QTRY_VERIFY(button(stop)->isEnabled());
        if (start == QLatin1String("Command17")) QTRY_VERIFY(rig.link.written().endsWith("T8019\n\r"));
        rig.link.takeWritten();
        QTest::keyClick(rig.window.get(), Qt::Key_Escape);
        QVERIFY(!button(pressed)->isEnabled());
        Conversation &c = rig.w().conversation();
        if (pressed == QLatin1String("Command18"))
            c.stopMonitor();
        else if (pressed == QLatin1String("Command20"))
            c.stopOutputTest();
        else
            c.switchOutput(2);
        QTRY_VERIFY(!c.isRunning());
        QCOMPARE(rig.link.written(), owed);
        QCOMPARE(rig.w().Text1->text(), QStringLiteral("Afgebroken"));
    }

    // Afbreken while slot frames are written asks first: going on is the default.
    void sendAbandoned()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        QVERIFY(rig.read(0));
        ScriptedModule &module = *rig.module;
        w.state().PcDelay = 300;

        w.Command2->click();
        module.announce();
        QTRY_VERIFY(w.conversation().isWriting() && w.ProgressBar1->value() > 20);
        w.AbortButton->click(); // answered with the default: go on
        QCOMPARE(MessageBox::shownCount(), 1);
        QCOMPARE(MessageBox::lastButtons(),
                 (QStringList{QStringLiteral("Verder versturen"), QStringLiteral("Nu stoppen")}));
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Ready"));
        QCOMPARE(count(rig.link.written(), "T339"), 1);

        const QStringList before = windowState(w);
        rig.link.takeWritten();
        w.Command2->click();
        module.announce();
        QTRY_VERIFY(w.conversation().isWriting() && w.ProgressBar1->value() > 20);
        MessageBox::setNextChoice(1);
        w.AbortButton->click();
        QVERIFY(!w.conversation().isRunning());
        QVERIFY(!rig.link.isOpen());
        const QByteArray wire = rig.link.written();
        QTest::qWait(50);
        QCOMPARE(rig.link.written(), wire);        // nothing after the stop
        QCOMPARE(rig.link.writesWhileClosed(), 0); // the writer had let go before the port closed
        QVERIFY(!wire.contains("T339"));
        QCOMPARE(windowState(w), before);
        QCOMPARE(w.state().PcDelay, 300);
        QCOMPARE(w.Text1->text(), QStringLiteral("Afgebroken"));
        // The installer learns how far the send got: the slot frames that left whole.
        const QByteArray frames = wire.mid(wire.indexOf("T3700\n\r") + 7);
        const int whole = int(frames.count("\n\r"));
        QVERIFY(whole > 20 && whole < 340);
        QCOMPARE(MessageBox::lastText(),
                 QStringLiteral("De module is maar gedeeltelijk beschreven (%1 van 340 "
                                "waarden). Verstuur de gegevens opnieuw.")
                     .arg(whole));
    }

    // Closing the window: owed frames first; during a send the installer chooses.
    void closingTheWindow()
    {
        {
            WindowRig rig;
            ScriptedModule &module = readAndOpenDiagnostics(rig);
            byName<QPushButton>(rig.w().Frame10, "Command19")->click();
            module.announce();
            QTRY_VERIFY(byName<QPushButton>(rig.w().Frame10, "Command20")->isEnabled());
            byName<QPushButton>(rig.w().Frame10, "Command23")->click();
            QTRY_VERIFY(rig.link.written().endsWith("T7002\n\r"));
            rig.link.takeWritten();
            QVERIFY(!rig.w().close()); // the module is owed its stop frames
            QTRY_VERIFY(!rig.w().isVisible());
            QCOMPARE(rig.link.written(), QByteArray("T7219\n\r").repeated(11));
        }
        for (int choice : {0, 1, 2}) {
            WindowRig rig;
            TestWindow &w = rig.w();
            QVERIFY(rig.read(1));
            w.Command2->click();
            rig.module->announce();
            QTRY_VERIFY(w.conversation().isWriting() && w.ProgressBar1->value() > 20);
            MessageBox::setNextChoice(choice);
            w.close();
            QCOMPARE(MessageBox::lastButtons(),
                     (QStringList{QStringLiteral("Sluiten na het versturen"), QStringLiteral("Nu sluiten"),
                                  QStringLiteral("Blijven")}));
            if (choice == 1) { // close now
                QVERIFY(!w.isVisible());
                QVERIFY(!w.conversation().isRunning());
                QVERIFY(!rig.link.written().contains("T149"));
                continue;
            }
            QVERIFY(w.isVisible());
            QTRY_COMPARE(w.Text1->text(), QStringLiteral("Ready"));
            QCOMPARE(count(rig.link.written(), "T149"), 1);
            QTRY_COMPARE(w.isVisible(), choice == 2);
        }
    }

    // A question about the send that nobody answered closes by itself when the send ends: the
    // send went on (the stop question's "go on"), and the window stays (the closing question's
    // "stay": nobody confirmed closing).
    void questionsCloseWhenTheSendEnds_data()
    {
        QTest::addColumn<bool>("closing");
        QTest::newRow("stop the send?") << false;
        QTest::newRow("close during the send?") << true;
    }
    void questionsCloseWhenTheSendEnds()
    {
        QFETCH(bool, closing);
        WindowRig rig({.pc = "300\r\n"});
        TestWindow &w = rig.w();
        QVERIFY(rig.read(1));
        MessageBox::setAutoAnswer(false);
        RealBoxes boxes({RealBoxes::leaveOpen()}, 30000);
        w.Command2->click();
        rig.module->announce();
        QTRY_VERIFY(w.conversation().isWriting() && w.ProgressBar1->value() > 5);
        if (closing)
            QVERIFY(!w.close()); // returns once the question has gone
        else
            w.AbortButton->click();
        QCOMPARE(boxes.shown(), 1);
        QCOMPARE(boxes.unexpected(), 0);
        QVERIFY(boxes.lastClosed());
        QCOMPARE(w.Text1->text(), QStringLiteral("Ready"));
        QCOMPARE(count(rig.link.written(), "T149"), 1);
        QVERIFY(!w.conversation().isRunning());
        QTest::qWait(50);
        QVERIFY(w.isVisible());
        QCOMPARE(boxes.shown(), 1); // no question and no message followed
    }

    // A send that loses its line says how far it got: the slot frames that left the port whole.
    void lineLostDuringASend()
    {
        WindowRig rig({.pc = "300\r\n"});
        TestWindow &w = rig.w();
        QVERIFY(rig.read(0));
        rig.link.takeWritten();
        w.Command2->click();
        rig.module->announce();
        QTRY_VERIFY(w.conversation().isWriting() && w.ProgressBar1->value() > 20);
        rig.link.hangUp();
        QTRY_VERIFY(!w.conversation().isRunning());
        const QByteArray wire = rig.link.written();
        const int whole = int(wire.mid(wire.indexOf("T3700\n\r") + 7).count("\n\r"));
        QVERIFY(whole > 10 && whole < 340);
        QVERIFY2(
            MessageBox::lastText().endsWith(
                QStringLiteral("\nDe module is maar gedeeltelijk beschreven (%1 van 340 waarden). Verstuur "
                               "de gegevens opnieuw.")
                    .arg(whole)),
            qPrintable(MessageBox::lastText()));
        QVERIFY(MessageBox::lastText().startsWith(QStringLiteral("De verbinding met de module")));
    }

    // A pause setting far beyond the longest pause: a way out still takes effect at once.
    void longPausesAreCutByAWayOut()
    {
        for (bool closing : {false, true}) {
            WindowRig rig({.pc = "1000000\r\n"});
            TestWindow &w = rig.w();
            w.state().PcDelay = 0;
            QVERIFY(rig.read(1));
            w.state().PcDelay = 1000000;
            QSignalSpy queued(&w.conversation(), &Conversation::framesQueued);
            w.Command2->click();
            rig.module->announce();
            QTRY_VERIFY_WITH_TIMEOUT(w.conversation().isWriting() && w.ProgressBar1->value() >= 1, 15000);
            QCOMPARE(queued.first().at(1).toInt(), 100000); // the "D" burst
            QCOMPARE(queued.last().at(1).toInt(), 50000);   // a slot frame
            QElapsedTimer clock;
            clock.start();
            MessageBox::setNextChoice(1);
            if (closing)
                w.close();
            else
                w.AbortButton->click();
            QTRY_VERIFY_WITH_TIMEOUT(!w.conversation().isRunning(), 2000);
            QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
            QCOMPARE(w.isVisible(), !closing);
            QCOMPARE(w.state().PcDelay, 1000000);
            QTest::qWait(120); // longer than a pause: a writer still at work would show now
            QCOMPARE(rig.link.writesWhileClosed(), 0);
        }
    }

    // What arrives between conversations is thrown away; during one, a line without end is cut.
    void floodsStayBounded()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        ScriptedModule &module = rig.attach(0);
        const auto flood = [&] {
            for (int i = 0; i < 10; ++i) {
                rig.link.moduleSend(QByteArray(1024 * 1024, 'x'));
                QCoreApplication::processEvents();
            }
            QTest::qWait(5);
            QVERIFY2(w.conversation().pendingInput() <= LineReader::MaxPending,
                     qPrintable(QString::number(w.conversation().pendingInput())));
        };
        w.Command1->click();
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QVERIFY(rig.link.isOpen());
        flood(); // idle, the port still open
        QCOMPARE(w.conversation().pendingInput(), 0);

        w.Command1->click();
        flood(); // waiting for the announce line
        rig.link.moduleSend("\r");
        module.stopAfterLines = 100;
        module.announce();
        QTRY_COMPARE(w.ProgressBar1->value(), 100);
        flood(); // half-way through the read
        QByteArray rest = "\r";
        for (int slot = 100; slot < 340; ++slot)
            rest += "RD" + threeDigits(slot).toLatin1() +
                    threeDigits(module.memory[size_t(slot)]).toLatin1() + "\r";
        rig.link.moduleSend(rest);
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QCOMPARE(w.state().RelayImage, module.image());
    }
};

QTEST_MAIN(TestWaysOut)
#include "tst_waysout.moc"
