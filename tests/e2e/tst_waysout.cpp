#include "common/MessageBox.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "files/ModuleFile.h"
#include "support/SimRig.h"
#include "support/WaysOut.h"
#include "support/WindowState.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The ways out of a conversation through the program's real serial port, against the module
// simulator: what reaches the module afterwards, and what a send writes after a way out.
class TestWaysOutOnTheWire : public QObject
{
    Q_OBJECT

    static constexpr int WindowClosed = PortMissing + 1;

    static void getOut(SimRig &rig, int way)
    {
        if (way == AbortButton)
            rig.w().AbortButton->click();
        else if (way == Escape)
            QTest::keyClick(&rig.w(), Qt::Key_Escape);
        else if (way == LineLost)
            rig.sim().stop();
        else if (way == WindowClosed)
            QVERIFY(!rig.w().close()); // the window waits for what the module is owed
    }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    void readAbandoned_data()
    {
        addWayOutRows("dim file open");
        for (bool fileOpen : {false, true}) {
            QTest::addRow("%s, port cannot be opened", fileOpen ? "dim file open" : "fresh")
                << int(PortMissing) << -1 << fileOpen;
            QTest::addRow("%s, module not supported", fileOpen ? "dim file open" : "fresh")
                << int(Unsupported) << -1 << fileOpen;
        }
    }
    // The window and every image are as before, the installer is told what went wrong. With a
    // fresh program nothing can be sent afterwards; with a dim file open the file is in hand
    // again and a dim module gets exactly its values.
    void readAbandoned()
    {
        QFETCH(int, way);
        QFETCH(int, moment);
        QFETCH(bool, fileOpen);
        const QStringList faults[] = {{u"silent"_s}, {u"no-reply"_s}, {u"stop-after=60"_s}};
        // Port 8 has no link: it is the serial port the system names /dev/ttyS7.
        SimRig rig({.faults = way == Unsupported ? QStringList{u"wrong-digit"_s}
                              : moment >= 0      ? faults[moment]
                                                 : QStringList(),
                    .port = way == PortMissing ? 8 : 1});
        TestWindow &w = rig.w();
        const ModuleImage file = Images::pattern(1, 11);
        if (fileOpen) {
            writeModuleFile(rig.home.file(u"klant.QV1"_s), 1, file);
            QVERIFY(w.openModuleFile(rig.home.file(u"klant.QV1"_s)));
        }
        const QStringList before = windowState(w);
        const ModuleState images = w.state();

        w.Command1->click();
        if (moment == Waiting)
            QTest::qWait(150);
        else if (moment == Announced)
            QTRY_VERIFY_WITH_TIMEOUT(rig.sim().frames().contains(u"T3600"_s), 5000);
        else if (moment == HalfWay)
            QTRY_COMPARE_WITH_TIMEOUT(w.ProgressBar1->value(), 60, 5000);
        if (moment >= 0) QVERIFY(w.conversation().isRunning() && w.AbortButton->isVisible());
        getOut(rig, way);
        if (way == AbortButton || way == Escape)
            QVERIFY(w.isIdle()); // at once: nothing is owed to a module that is being read
        QVERIFY(rig.waitIdle());
        QVERIFY(w.poort->isEnabled()); // the installer may choose another port
        QCOMPARE(windowState(w), before);
        QVERIFY(Images::sameImages(w.state(), images));
        if (moment == Waiting)
            QCOMPARE(rig.sim().frames(), QStringList()); // never announced: never spoken to
        if (way == LineLost)
            QVERIFY2(MessageBox::lastText().contains(u"verbroken"_s), qPrintable(MessageBox::lastText()));
        if (way == Unsupported) QVERIFY(MessageBox::lastText().contains(u"niet ondersteund"_s));
        if (way == PortMissing) {
            QCOMPARE(MessageBox::shownCount(), 1);
            QVERIFY2(MessageBox::lastText().contains(u"/dev/ttyS7"_s), qPrintable(MessageBox::lastText()));
            byName<QAction>(&w, "p1")->trigger();
        }

        if (!fileOpen) {
            QVERIFY(!w.Command2->isEnabled());
            rig.attach(0, 3);
            w.Command2->click();
            QTest::qWait(300);
            QVERIFY(!rig.sim().frames().contains(u"T3700"_s));
            QCOMPARE(rig.stoppedMemory(), Images::values(rig.module()));
            return;
        }
        QCOMPARE(w.state().ModuleType, 1);
        QVERIFY(w.Command2->isEnabled());
        rig.attach(1, 3);
        QVERIFY(rig.send());
        QCOMPARE(w.Text1->text(), u"Ready"_s);
        QCOMPARE(rig.saved(), Images::values(file));
    }

    // A port whose module is replaced is found: the device is looked up at every conversation
    // start (the window was made before the first module's link).
    void portLookedUpAtEveryStart()
    {
        SimRig rig({.type = 2, .seed = 3});
        QVERIFY(rig.read());
        QCOMPARE(rig.w().state().ModuleType, 2);
        QCOMPARE(rig.image(), Images::values(rig.module()));

        rig.attach(2, 8); // another pseudo-terminal behind the same link
        QVERIFY(rig.read());
        QCOMPARE(rig.image(), Images::values(rig.module()));
    }

    void testsEndedOnTheModule_data()
    {
        QTest::addColumn<QString>("start"); // the test's Start button
        QTest::addColumn<QString>("last");  // the last frame before the way out
        QTest::addColumn<int>("way");
        QTest::addColumn<QStringList>("owed"); // what the module gets after `last`
        const QStringList monitorStop(11, u"T8219"_s);
        QTest::newRow("monitor, Esc") << "Command17"
                                      << "T8019" << int(Escape) << monitorStop;
        QTest::newRow("monitor, window closed") << "Command17"
                                                << "T8019" << WindowClosed << monitorStop;
        // Output 5 switched on, then Afbreken.
        QTest::newRow("output test, Afbreken") << "Command19"
                                               << "T7004" << int(AbortButton) << QStringList(11, u"T7219"_s);
        // In the second before the scan's own end frame (timed in the GUI test).
        QTest::newRow("scan answered, Esc") << "Command6"
                                            << "T9019" << int(Escape) << QStringList{u"T0006"_s};
    }
    // Each running test ends on the module as its Stop ends it; a scan gets its end frame at once.
    void testsEndedOnTheModule()
    {
        QFETCH(QString, start);
        QFETCH(QString, last);
        QFETCH(int, way);
        QFETCH(QStringList, owed);
        SimRig rig;
        TestWindow &w = rig.w();
        QVERIFY(rig.read());
        w.Command12->click();
        DiagnosticsFrame *f = w.Frame10;
        byName<QPushButton>(f, start.toLatin1().constData())->click();
        QTRY_VERIFY_WITH_TIMEOUT(rig.sim().logged(u"TX reply"_s), 5000);
        if (start == u"Command17"_s) QTRY_VERIFY(byName<QPushButton>(f, "Command18")->isEnabled());
        if (start == u"Command19"_s) {
            QTRY_VERIFY(byName<QPushButton>(f, "Command20")->isEnabled());
            byName<QPushButton>(f, "Command25")->click();
        }
        if (start == u"Command6"_s)
            QTRY_COMPARE_WITH_TIMEOUT(byName<QComboBox>(f, "Combo30")->count(), 10, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(rig.sim().frames().contains(last), 5000);
        getOut(rig, way);
        QTRY_VERIFY_WITH_TIMEOUT(!w.conversation().isRunning(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(rig.sim().logged(owed.size() > 1 ? u"STOP"_s : u"END"_s), 5000);
        QCOMPARE(rig.framesAfter(last), owed);
        if (way == WindowClosed) QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 5000);
    }

    // "Stop now" during a send: the module is left half-written and nothing follows.
    void sendStoppedHalfWay()
    {
        SimRig rig;
        TestWindow &w = rig.w();
        QVERIFY(rig.read());
        const QStringList before = windowState(w);
        w.Command2->click();
        QTRY_VERIFY_WITH_TIMEOUT(w.ProgressBar1->value() > 100, 10000);
        MessageBox::setNextChoice(1);
        w.AbortButton->click();
        QVERIFY(!w.conversation().isRunning());
        QTest::qWait(300);
        const QStringList written = rig.framesAfter(u"T3700"_s);
        // Slots 0..99 went out whole; the frame under way when the installer stopped may be cut.
        const int whole = int(written.filter(QRegularExpression(u"^T\\d{6}$"_s)).size());
        QVERIFY2(whole >= 100 && whole < 340, qPrintable(written.join(QLatin1Char(' '))));
        QTest::qWait(300);
        QCOMPARE(rig.framesAfter(u"T3700"_s), written);
        QCOMPARE(windowState(w), before);
        QCOMPARE(w.Text1->text(), u"Afgebroken"_s);
        // The installer is told how many slot frames left the port with their carriage return.
        // The simulated module takes a frame at its line feed, so it may hold one frame more: the
        // one whose carriage return the stop cut off.
        const QRegularExpressionMatch told =
            QRegularExpression(u"^De module is maar gedeeltelijk beschreven \\((\\d+) van 340 "
                               "waarden\\)\\. Verstuur de gegevens opnieuw\\.$"_s)
                .match(MessageBox::lastText());
        QVERIFY2(told.hasMatch(), qPrintable(MessageBox::lastText()));
        const int count = told.captured(1).toInt();
        QVERIFY2(count == whole || count == whole - 1, qPrintable(QString::number(count)));
    }
};

QTEST_MAIN(TestWaysOutOnTheWire)
#include "tst_waysout.moc"
