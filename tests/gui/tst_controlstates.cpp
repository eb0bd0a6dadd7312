#include "common/MessageBox.h"
#include "files/ModuleFile.h"
#include "serial/MemoryLink.h"
#include "support/ScriptedModule.h"
#include "support/TestHome.h"
#include "support/TestWindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

// A window on an in-memory line with a scripted module behind it.
struct ControlsRig
{
    TestHome home;
    MemoryLink link;
    std::unique_ptr<TestWindow> window;
    std::unique_ptr<ScriptedModule> module;
    ControlsRig()
    {
        home.writeSettings(" 1 \r\n", "1\r\n", "20\r\n");
        window = std::make_unique<TestWindow>(nullptr, &link);
        window->show();
    }
    template <class T> T *get(const char *name) const
    {
        T *c = window->findChild<T *>(QString::fromLatin1(name));
        if (!c) qFatal("no control %s", name);
        return c;
    }
    void click(const char *name) { get<QAbstractButton>(name)->click(); }
    void attach(int type)
    {
        if (module) module->answer = false;
        module = std::make_unique<ScriptedModule>(link, type);
    }
    bool idle() const { return !window->conversation().isRunning(); }
    void read(int type = 0)
    {
        attach(type);
        click("Command1");
        module->announce();
        QTRY_VERIFY(idle());
    }
    void startTest(const char *start)
    {
        click("Command12");
        click(start);
        module->announce();
    }
};

using Step = std::function<void(ControlsRig &)>;
Q_DECLARE_METATYPE(Step)

// Which controls are enabled and shown after each thing that can happen in the window, in one
// table: the start, each conversation start, each normal end, each way out, opening a file and
// "Nieuwe module". The controls are found by name only.
class TestControlStates : public QObject
{
    Q_OBJECT

    // The controls of the diagnostics panel, which is built the first time it is shown.
    static bool onDiagnostics(const QString &name)
    {
        return QStringList{u"Command6"_s,  u"Command17"_s, u"Command18"_s, u"Command19"_s,
                           u"Command20"_s, u"Combo29"_s,   u"Combo30"_s}
            .contains(name);
    }

    // "name:es" / "name:ds" for a shown control, enabled or disabled, "name:h" for a hidden one,
    // one per control; "name:-" for a control of a panel not built yet.
    static QString states(ControlsRig &rig)
    {
        QStringList out;
        for (const char *name :
             {"Command1", "Command2", "Command6", "Command7", "Command8", "Command9", "Command10",
              "Command12", "Command17", "Command18", "Command19", "Command20", "Option1", "Option2"}) {
            QWidget *w = rig.window->findChild<QWidget *>(QLatin1String(name));
            if (!w && onDiagnostics(QLatin1String(name))) {
                out << QStringLiteral("%1:-").arg(QLatin1String(name));
                continue;
            }
            // Whether a hidden control is enabled cannot be seen nor used: only "h" is told.
            w = rig.get<QWidget>(name);
            out << QStringLiteral("%1:%2").arg(QLatin1String(name), w->isHidden()    ? QStringLiteral("h")
                                                                    : w->isEnabled() ? QStringLiteral("es")
                                                                                     : QStringLiteral("ds"));
        }
        for (const char *name : {"Combo1", "Combo29", "Combo30"}) {
            QWidget *w = rig.window->findChild<QWidget *>(QLatin1String(name));
            out << QStringLiteral("%1:%2").arg(QLatin1String(name), !w               ? QStringLiteral("-")
                                                                    : w->isEnabled() ? QStringLiteral("e")
                                                                                     : QStringLiteral("d"));
        }
        for (const char *name : {"bestand", "taal", "settings", "Info"})
            out << QStringLiteral("%1:%2").arg(
                QLatin1String(name),
                rig.get<QMenu>(name)->menuAction()->isEnabled() ? QStringLiteral("e") : QStringLiteral("d"));
        for (const char *name : {"Bewaren", "Bewaren_als"})
            out << QStringLiteral("%1:%2").arg(QLatin1String(name), rig.get<QAction>(name)->isEnabled()
                                                                        ? QStringLiteral("e")
                                                                        : QStringLiteral("d"));
        return out.join(QLatin1Char(' '));
    }

    // The states() line with the controls of `enabled` enabled and those of `hidden` hidden; the
    // diagnostics panel's controls "-" unless the panel has been shown.
    static QString expected(const QString &enabled, const QString &hidden, bool diagnostics)
    {
        const QStringList on = enabled.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QStringList off = hidden.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QStringList out;
        for (const char *n :
             {"Command1", "Command2", "Command6", "Command7", "Command8", "Command9", "Command10",
              "Command12", "Command17", "Command18", "Command19", "Command20", "Option1", "Option2"}) {
            const QString name = QLatin1String(n);
            if (!diagnostics && onDiagnostics(name))
                out << name + QStringLiteral(":-");
            else
                out << QStringLiteral("%1:%2").arg(name, off.contains(name)  ? QStringLiteral("h")
                                                         : on.contains(name) ? QStringLiteral("es")
                                                                             : QStringLiteral("ds"));
        }
        for (const char *n : {"Combo1", "Combo29", "Combo30", "bestand", "taal", "settings", "Info",
                              "Bewaren", "Bewaren_als"}) {
            const QString name = QLatin1String(n);
            if (!diagnostics && onDiagnostics(name))
                out << name + QStringLiteral(":-");
            else
                out << QStringLiteral("%1:%2").arg(name, on.contains(name) ? QStringLiteral("e")
                                                                           : QStringLiteral("d"));
        }
        return out.join(QLatin1Char(' '));
    }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    void afterEachEvent_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<QString>("hidden");
        const QString menus = QStringLiteral(" bestand taal settings Info");
        const QString tests = QStringLiteral(" Command6 Command17 Command19 Combo29 Combo30");
        const QString editors = QStringLiteral(" Command7 Command8 Command9 Command10 Command12");
        const QString editorsHidden = QStringLiteral("Command7 Command8 Command9 Command10 Command12");
        const QString idleModule =
            QStringLiteral("Command1 Command2 Option1 Option2 Combo1") + editors + tests + menus;

        QTest::newRow("start-up") << Step([](ControlsRig &) {})
                                  << QStringLiteral("Command1 Combo1") + tests + menus << editorsHidden;
        QTest::newRow("Verbinden, waiting") << Step([](ControlsRig &r) { r.click("Command1"); })
                                            << QStringLiteral("Combo29 Combo30") << editorsHidden;
        QTest::newRow("read") << Step([](ControlsRig &r) { r.read(); })
                              << idleModule + QStringLiteral(" Bewaren_als") << QString();
        QTest::newRow("Versturen, waiting") << Step([](ControlsRig &r) {
            r.read();
            r.click("Command2");
        }) << QStringLiteral("Combo29 Combo30 Bewaren_als")
                                            << QString();
        QTest::newRow("send") << Step([](ControlsRig &r) {
            r.read();
            r.click("Command2");
            r.module->announce();
            QTRY_VERIFY(r.idle());
        }) << idleModule + QStringLiteral(" Bewaren_als")
                              << QString();
        QTest::newRow("wrong module") << Step([](ControlsRig &r) {
            r.read();
            r.attach(1);
            r.click("Command2");
            r.module->announce();
            QTRY_VERIFY(r.idle());
        }) << idleModule + QStringLiteral(" Bewaren_als")
                                      << QString();
        QTest::newRow("scan, waiting") << Step([](ControlsRig &r) {
            r.read();
            r.click("Command12");
            r.click("Command6");
        }) << QStringLiteral("Combo30 Bewaren_als")
                                       << QString();
        QTest::newRow("scan") << Step([](ControlsRig &r) {
            r.read();
            r.startTest("Command6");
            QTRY_VERIFY(r.idle());
        }) << idleModule + QStringLiteral(" Bewaren_als")
                              << QString();
        QTest::newRow("monitor running") << Step([](ControlsRig &r) {
            r.read();
            r.startTest("Command17");
            QTRY_VERIFY(r.get<QWidget>("Command18")->isEnabled());
        }) << QStringLiteral("Command18 Combo29 Bewaren_als")
                                         << QString();
        QTest::newRow("monitor Stop") << Step([](ControlsRig &r) {
            r.read();
            r.startTest("Command17");
            QTRY_VERIFY(r.get<QWidget>("Command18")->isEnabled());
            r.click("Command18");
            QTRY_VERIFY(r.idle());
        }) << idleModule + QStringLiteral(" Bewaren_als")
                                      << QString();
        QTest::newRow("output test running") << Step([](ControlsRig &r) {
            r.read();
            r.startTest("Command19");
            QTRY_VERIFY(r.get<QWidget>("Command20")->isEnabled());
        }) << QStringLiteral("Command20 Bewaren_als")
                                             << QString();
        QTest::newRow("output Stop") << Step([](ControlsRig &r) {
            r.read();
            r.startTest("Command19");
            QTRY_VERIFY(r.get<QWidget>("Command20")->isEnabled());
            r.click("Command20");
            QTRY_VERIFY(r.idle());
        }) << idleModule + QStringLiteral(" Bewaren_als")
                                     << QString();
        QTest::newRow("Afbreken, fresh") << Step([](ControlsRig &r) {
            r.click("Command1");
            r.click("AbortButton");
        }) << QStringLiteral("Command1 Combo1") + tests + menus
                                         << editorsHidden;
        QTest::newRow("Esc half-way, after a read") << Step([](ControlsRig &r) {
            r.read();
            r.module->stopAfterLines = 100;
            r.click("Command1");
            r.module->announce();
            QTRY_COMPARE(r.get<QProgressBar>("ProgressBar1")->value(), 100);
            QTest::keyClick(r.window.get(), Qt::Key_Escape);
        }) << idleModule + QStringLiteral(" Bewaren_als")
                                                    << QString();
        QTest::newRow("line lost in the monitor") << Step([](ControlsRig &r) {
            r.read();
            r.startTest("Command17");
            QTRY_VERIFY(r.get<QWidget>("Command18")->isEnabled());
            r.link.hangUp();
            QTRY_VERIFY(r.idle());
        }) << idleModule + QStringLiteral(" Bewaren_als")
                                                  << QString();
        QTest::newRow("port missing, fresh") << Step([](ControlsRig &r) {
            r.link.failNextOpen(SerialLink::OpenError::NotFound);
            r.click("Command1");
        }) << QStringLiteral("Command1 Combo1") + tests + menus
                                             << editorsHidden;
        QTest::newRow("module not supported, fresh") << Step([](ControlsRig &r) {
            r.click("Command1");
            r.link.moduleSend("M19501\r");
            QTRY_VERIFY(r.idle());
        }) << QStringLiteral("Command1 Combo1") + tests + menus
                                                     << editorsHidden;
        QTest::newRow("file opened") << Step([](ControlsRig &r) {
            const QString path = r.home.file(QStringLiteral("a.QV1"));
            writeModuleFile(path, 2, ModuleImage(ModuleTypes::VelanoSlots));
            QVERIFY(r.window->openModuleFile(path));
        })
                                     << QStringLiteral(
                                            "Command1 Command2 Option1 Option2 Combo1 Bewaren Bewaren_als") +
                                            editors + tests + menus
                                     << QString();
        QTest::newRow("Nieuwe module after a read") << Step([](ControlsRig &r) {
            r.read();
            r.get<QAction>("nieuw")->trigger();
        }) << QStringLiteral("Command1 Combo1") + editors + tests + menus
                                                    << editorsHidden;
    }
    void afterEachEvent()
    {
        QFETCH(Step, step);
        QFETCH(QString, enabled);
        QFETCH(QString, hidden);
        ControlsRig rig;
        step(rig);
        const bool diagnostics = rig.window->findChild<QWidget *>(QStringLiteral("Frame10")) != nullptr;
        QCOMPARE(diagnostics, QString::fromUtf8(QTest::currentDataTag())
                                  .contains(QRegularExpression(QStringLiteral("scan|monitor|output"))));
        QCOMPARE(states(rig), expected(enabled, hidden, diagnostics));
    }
};

QTEST_MAIN(TestControlStates)
#include "tst_controlstates.moc"
