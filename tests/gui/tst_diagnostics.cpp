#include "common/MessageBox.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "support/WindowRig.h"

#include <QLineEdit>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The three diagnostic tests driven through the main window, against a scripted module on an
// in-memory line.
class TestDiagnostics : public QObject
{
    Q_OBJECT

    // Reads a module of `type` and opens the diagnostics panel on it; the wire is emptied.
    static void openDiagnostics(WindowRig &rig, int type)
    {
        if (!rig.read(type)) QTest::qFail("the module was not read", __FILE__, __LINE__);
        rig.w().Command12->click();
        rig.link.takeWritten();
    }
    // Starts a test with its Start button; the module announces itself.
    static void start(WindowRig &rig, QPushButton *button)
    {
        button->click();
        rig.module->announce();
    }
    static bool windowIdle(WindowRig &rig)
    {
        TestWindow &w = rig.w();
        return w.Command1->isEnabled() && w.Command12->isEnabled() && w.bestand->menuAction()->isEnabled() &&
               !w.conversation().isRunning();
    }

    // Command21..Command32, the output buttons in their two rows of six.
    static QList<QPushButton *> outputButtons(const DiagnosticsFrame *f)
    {
        QList<QPushButton *> list;
        for (int n = 21; n <= 32; ++n) {
            const QByteArray name = "Command" + QByteArray::number(n);
            list << byName<QPushButton>(f, name.constData());
        }
        return list;
    }

    // What differs from the controls of a freshly opened frame (empty when nothing does).
    static QString notAtStart(const DiagnosticsFrame *f)
    {
        QStringList wrong;
        for (const char *name : {"Command6", "Command17", "Command19", "Combo29", "Combo30"})
            if (!byName<QWidget>(f, name)->isEnabled()) wrong << QLatin1String(name);
        for (QPushButton *b : outputButtons(f))
            if (b->isEnabled()) wrong << b->objectName();
        const QLabel *pressed = byName<QLabel>(f, "Label33");
        if (byName<QWidget>(f, "Command18")->isEnabled() || byName<QWidget>(f, "Command20")->isEnabled() ||
            !byName<QLabel>(f, "Label24")->text().isEmpty() || !pressed->text().isEmpty() ||
            pressed->palette().color(QPalette::Window) != QColor(192, 192, 192))
            wrong << QStringLiteral("Stop buttons or value labels");
        return wrong.join(QLatin1Char(' '));
    }
#define VERIFY_AT_START(f) QVERIFY2(notAtStart(f).isEmpty(), qPrintable(notAtStart(f)))

    static void verifyDisabled(const QObject *root, std::initializer_list<const char *> names)
    {
        for (const char *name : names)
            QVERIFY2(!byName<QWidget>(root, name)->isEnabled(), name);
    }

    static QStringList entries(const QComboBox *c)
    {
        QStringList list;
        for (int i = 0; i < c->count(); ++i)
            list << c->itemText(i);
        return list;
    }

    // The captions of the output buttons as the output tab shows them ("-" for a hidden one).
    static QStringList outputCaptions(DiagnosticsFrame *f)
    {
        byName<QTabWidget>(f, "SSTab1")->setCurrentIndex(2);
        QStringList list;
        for (QPushButton *b : outputButtons(f))
            list << (b->isVisible() ? b->text() : QStringLiteral("-"));
        return list;
    }

    inline static QTime now;
    inline static int clockReads = 0;

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
        now = QTime(13, 0, 1);
        clockReads = 0;
        DiagnosticsFrame::clock = [] {
            ++clockReads;
            return now;
        };
    }

    void lineStatusScan()
    {
        WindowRig rig;
        openDiagnostics(rig, 0);
        DiagnosticsFrame *f = rig.w().Frame10;
        QCOMPARE(byName<QTabWidget>(f, "SSTab1")->currentIndex(), 0);
        VERIFY_AT_START(f);
        QStringList shown; // the value field as each status line comes in
        connect(&rig.window->conversation(), &Conversation::lineStatus, f,
                [&] { shown << byName<QLabel>(f, "Label24")->text(); });

        start(rig, byName<QPushButton>(f, "Command6"));
        verifyDisabled(rig.window.get(), {"Command1", "Command12", "Command6", "Combo29", "Command17",
                                          "Command18", "Command19", "Command20"});
        QTRY_VERIFY(byName<QPushButton>(f, "Command6")->isEnabled()); // after "T0006"
        const QStringList values = {u"0412"_s, u"0413"_s, u"0414"_s, u"0415"_s, u"0416"_s,
                                    u"0417"_s, u"0418"_s, u"0419"_s, u"0420"_s, u"0421"_s};
        QCOMPARE(entries(byName<QComboBox>(f, "Combo30")), values);
        QCOMPARE(shown, values.mid(0, 9) << QString());
        VERIFY_AT_START(f);
        QVERIFY(windowIdle(rig));
        QCOMPARE(rig.link.written(), QByteArray(52, 'D') + "T3500\n\rT9019\n\rT0006\n\r");
        const qint64 beforeEnd = rig.link.writeGaps().value(52 + 7 + 7 - 1);
        QVERIFY2(beforeEnd >= 950'000 && beforeEnd < 2'500'000, qPrintable(QString::number(beforeEnd)));

        // The history field shows its heading whatever is typed or picked; the entries stay.
        QTest::keyClicks(byName<QComboBox>(f, "Combo30")->lineEdit(), QStringLiteral("abc"));
        QCOMPARE(byName<QComboBox>(f, "Combo30")->currentText(), QStringLiteral("Historiek"));
        byName<QComboBox>(f, "Combo30")->setCurrentIndex(4);
        QCOMPARE(byName<QComboBox>(f, "Combo30")->currentText(), QStringLiteral("Historiek"));
        QCOMPARE(byName<QComboBox>(f, "Combo30")->count(), 10);

        rig.window->Command12->click(); // opening anew empties the histories
        QCOMPARE(byName<QComboBox>(f, "Combo30")->count(), 0);
        QCOMPARE(byName<QComboBox>(f, "Combo30")->currentText(), QStringLiteral("Historiek"));
    }

    // A module that stops sending halfway: Esc gives up, the lines read stay, a new scan starts afresh.
    void abandonedScan()
    {
        WindowRig rig;
        openDiagnostics(rig, 3);
        DiagnosticsFrame *f = rig.w().Frame10;
        const QStringList all = rig.module->statusLines;
        rig.module->statusLines = all.mid(0, 4);
        start(rig, byName<QPushButton>(f, "Command6"));
        QTRY_COMPARE(byName<QComboBox>(f, "Combo30")->count(), 4);
        QTest::qWait(50);
        QCOMPARE(byName<QLabel>(f, "Label24")->text(), QStringLiteral("0415"));
        rig.link.takeWritten();
        QTest::keyClick(rig.window.get(), Qt::Key_Escape);
        // The module answered the scan: it is owed its end frame before the port closes.
        QTRY_VERIFY(windowIdle(rig));
        QCOMPARE(rig.link.written(), QByteArray("T0006\n\r"));
        QVERIFY(!rig.link.isOpen());
        VERIFY_AT_START(f);
        QCOMPARE(byName<QComboBox>(f, "Combo30")->count(), 4);

        rig.module->statusLines = all;
        start(rig, byName<QPushButton>(f, "Command6"));
        QTRY_VERIFY(byName<QPushButton>(f, "Command6")->isEnabled());
        QCOMPARE(byName<QComboBox>(f, "Combo30")->count(), 10);
    }

    void pushButtonMonitor()
    {
        WindowRig rig;
        openDiagnostics(rig, 0);
        DiagnosticsFrame *f = rig.w().Frame10;
        start(rig, byName<QPushButton>(f, "Command17"));
        verifyDisabled(f, {"Command17", "Combo30", "Command6", "Command19", "Command20"});
        QTRY_VERIFY(byName<QPushButton>(f, "Command18")->isEnabled());
        QCOMPARE(byName<QLabel>(f, "Label33")->palette().color(QPalette::Window), QColor(192, 255, 255));
        QTRY_VERIFY(rig.link.written().endsWith("T8019\n\r"));
        // Waiting for a press costs nothing: the reply reader sleeps until a line is complete.
        for (int i = 0; i < 5; ++i) {
            QTest::qWait(20);
            QVERIFY(!rig.window->conversation().isPolling());
        }

        // A report without a button number does not use up the second; a second press in it does not count.
        rig.link.moduleSend("Pxy\rP04\rP07\r");
        QTRY_COMPARE(clockReads, 3);
        QCOMPARE(entries(byName<QComboBox>(f, "Combo29")),
                 QStringList{QStringLiteral("Tijd: 13:00:01  Knop: 5")});
        QCOMPARE(byName<QLabel>(f, "Label33")->text(), QStringLiteral("5"));
        QCOMPARE(byName<QComboBox>(f, "Combo29")->currentText(), QStringLiteral("Historiek"));
        now = now.addSecs(1);
        rig.link.moduleSend("P11\r");
        QTRY_COMPARE(byName<QLabel>(f, "Label33")->text(), QStringLiteral("12"));
        QCOMPARE(byName<QComboBox>(f, "Combo29")->itemText(1), QStringLiteral("Tijd: 13:00:02  Knop: 12"));

        byName<QPushButton>(f, "Command18")->click();
        verifyDisabled(f, {"Command18"}); // the stop frames go out once
        QTRY_VERIFY(byName<QPushButton>(f, "Command17")->isEnabled());
        QCOMPARE(rig.link.written(),
                 QByteArray(52, 'D') + "T3500\n\rT8019\n\r" + QByteArray("T8219\n\r").repeated(11));
        VERIFY_AT_START(f);
        QVERIFY(windowIdle(rig));

        // A new run starts from an empty history; the line failing ends it like Esc.
        start(rig, byName<QPushButton>(f, "Command17"));
        QCOMPARE(byName<QComboBox>(f, "Combo29")->count(), 0);
        QTRY_VERIFY(byName<QPushButton>(f, "Command18")->isEnabled());
        rig.link.hangUp();
        QTRY_COMPARE(MessageBox::shownCount(), 1);
        VERIFY_AT_START(f);
        QVERIFY(windowIdle(rig));
    }

    void outputTestOnVelano()
    {
        WindowRig rig;
        openDiagnostics(rig, 2);
        DiagnosticsFrame *f = rig.w().Frame10;
        QCOMPARE(outputCaptions(f), QStringList({u"-"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"-"_s, u"-"_s,
                                                 u"5"_s, u"6"_s, u"7"_s, u"8"_s, u"-"_s}));
        start(rig, byName<QPushButton>(f, "Command19"));
        verifyDisabled(
            f, {"Command19", "Combo29", "Combo30", "Command6", "Command17", "Command18", "Command20"});
        QTRY_VERIFY(byName<QPushButton>(f, "Command20")->isEnabled());
        for (QPushButton *b : outputButtons(f))
            QCOMPARE(b->isEnabled(), b->isVisible());

        rig.link.takeWritten();
        byName<QPushButton>(f, "Command28")->click(); // captioned "5"
        QTRY_COMPARE(rig.link.written(), QByteArray("T7004\n\r"));
        byName<QPushButton>(f, "Command22")->click();
        QTRY_COMPARE(rig.link.written(), QByteArray("T7004\n\rT7000\n\r"));
        // Two presses within the 40 ms before a command goes out: only the last one is sent.
        rig.link.takeWritten();
        byName<QPushButton>(f, "Command23")->click();
        byName<QPushButton>(f, "Command25")->click();
        QTRY_COMPARE(rig.link.written(), QByteArray("T7003\n\r"));
        QTest::qWait(100);
        QCOMPARE(rig.link.written(), QByteArray("T7003\n\r"));

        byName<QPushButton>(f, "Command20")->click();
        verifyDisabled(f, {"Command20"});
        for (QPushButton *b : outputButtons(f)) // the stop frames go out once, nothing after them
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        QTRY_VERIFY(byName<QPushButton>(f, "Command19")->isEnabled());
        QCOMPARE(int(rig.link.written().count("T7219\n\r")), 11);
        VERIFY_AT_START(f);
        QVERIFY(windowIdle(rig));
    }

    void outputButtonsFollowTheModule()
    {
        WindowRig rig;
        openDiagnostics(rig, 1);
        QCOMPARE(outputCaptions(rig.w().Frame10),
                 QStringList({u"-"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s,
                              u"-"_s, u"-"_s}));
        openDiagnostics(rig, 0);
        QCOMPARE(byName<QTabWidget>(rig.w().Frame10, "SSTab1")->currentIndex(), 0);
        QCOMPARE(outputCaptions(rig.w().Frame10),
                 QStringList({u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s, u"9"_s, u"10"_s,
                              u"11"_s, u"12"_s}));
    }

    void wrongModuleType_data()
    {
        QTest::addColumn<int>("test");
        QTest::newRow("line status") << 0;
        QTest::newRow("push buttons") << 1;
        QTest::newRow("outputs") << 2;
    }
    void wrongModuleType()
    {
        QFETCH(int, test);
        WindowRig rig;
        openDiagnostics(rig, 0);
        rig.module->answer = false;
        ScriptedModule dim(rig.link, 1);
        std::array{byName<QPushButton>(rig.w().Frame10, "Command6"),
                   byName<QPushButton>(rig.w().Frame10, "Command17"),
                   byName<QPushButton>(rig.w().Frame10, "Command19")}[size_t(test)]
            ->click();
        dim.announce();
        QTRY_COMPARE(MessageBox::shownCount(), 1);
        QCOMPARE(MessageBox::lastText(), QStringLiteral("Verkeerde type module !"));
        VERIFY_AT_START(rig.w().Frame10);
        QTRY_VERIFY(windowIdle(rig));
    }

    // While a send holds the line no test can start; afterwards every test can.
    void noTestDuringAnotherConversation()
    {
        WindowRig rig;
        openDiagnostics(rig, 1);
        DiagnosticsFrame *f = rig.w().Frame10;
        rig.window->Command2->click();
        QVERIFY(f->isVisible());
        verifyDisabled(f, {"Command6", "Command17", "Command19"});
        rig.module->announce();
        QTRY_COMPARE(rig.window->Text1->text(), QStringLiteral("Ready"));
        VERIFY_AT_START(f);
        start(rig, byName<QPushButton>(f, "Command19"));
        QTRY_VERIFY(byName<QPushButton>(f, "Command20")->isEnabled());
    }

    void frenchTexts()
    {
        WindowRig rig({.country = " 2 \r\n"});
        openDiagnostics(rig, 0);
        DiagnosticsFrame *f = rig.w().Frame10;
        QCOMPARE(f->title(), QStringLiteral("Diagnostics:"));
        QCOMPARE(QStringList({byName<QTabWidget>(f, "SSTab1")->tabText(0),
                              byName<QTabWidget>(f, "SSTab1")->tabText(1),
                              byName<QTabWidget>(f, "SSTab1")->tabText(2)}),
                 QStringList({u"Status de la ligne"_s, u"Boutons poussoirs"_s, u"Sorties"_s}));
        QCOMPARE(byName<QLabel>(f, "Label32")->text(), QStringLiteral("Nr. bouton poussoir:"));
        QCOMPARE(
            byName<QLabel>(f, "Label34")->text(),
            QStringLiteral("Clicker sur 'Start' pour rentrer en communication avec le module. Ensuite les "
                           "sorties individuelles peuvent être activer. 'Stop' termine ce test."));
        QTest::keyClicks(byName<QComboBox>(f, "Combo29")->lineEdit(), QStringLiteral("x"));
        QCOMPARE(byName<QComboBox>(f, "Combo29")->currentText(), QStringLiteral("Historique"));

        start(rig, byName<QPushButton>(f, "Command17"));
        QTRY_VERIFY(byName<QPushButton>(f, "Command18")->isEnabled());
        rig.link.moduleSend("P04\r");
        QTRY_COMPARE(entries(byName<QComboBox>(f, "Combo29")),
                     QStringList{QStringLiteral("Temps: 13:00:01  Bouton: 5")});
        QCOMPARE(byName<QComboBox>(f, "Combo29")->currentText(), QStringLiteral("Historique"));
    }
};

QTEST_MAIN(TestDiagnostics)
#include "tst_diagnostics.moc"
