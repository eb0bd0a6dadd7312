#include "app/Installations.h"
#include "common/MessageBox.h"
#include "installation/Installation.h"
#include "support/WindowRig.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
void click(WindowRig &r, const char *name)
{
    byName<QAbstractButton>(r.window.get(), name)->click();
}
bool idle(WindowRig &r)
{
    return !r.w().conversation().isRunning();
}
} // namespace

using Step = std::function<void(WindowRig &)>;
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
    static QString states(WindowRig &rig)
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
            w = byName<QWidget>(rig.window.get(), name);
            out << QStringLiteral("%1:%2").arg(QLatin1String(name), w->isHidden()    ? QStringLiteral("h")
                                                                    : w->isEnabled() ? QStringLiteral("es")
                                                                                     : QStringLiteral("ds"));
        }
        QWidget *panel = byName<QWidget>(rig.window.get(), "installatiePaneel");
        out << QStringLiteral("installatiePaneel:%1")
                   .arg(panel->isHidden()    ? QStringLiteral("h")
                        : panel->isEnabled() ? QStringLiteral("es")
                                             : QStringLiteral("ds"));
        for (const char *name : {"Combo1", "Combo29", "Combo30"}) {
            QWidget *w = rig.window->findChild<QWidget *>(QLatin1String(name));
            out << QStringLiteral("%1:%2").arg(QLatin1String(name), !w               ? QStringLiteral("-")
                                                                    : w->isEnabled() ? QStringLiteral("e")
                                                                                     : QStringLiteral("d"));
        }
        for (const char *name : {"bestand", "bewerken", "installatie", "taal", "settings", "Info"})
            out << QStringLiteral("%1:%2").arg(
                QLatin1String(name), byName<QMenu>(rig.window.get(), name)->menuAction()->isEnabled()
                                         ? QStringLiteral("e")
                                         : QStringLiteral("d"));
        for (const char *name : {"Bewaren", "Bewaren_als", "ongedaan", "opnieuw", "installatieOpslaan",
                                 "moduleToevoegen", "moduleExporteren"})
            out << QStringLiteral("%1:%2").arg(QLatin1String(name),
                                               byName<QAction>(rig.window.get(), name)->isEnabled()
                                                   ? QStringLiteral("e")
                                                   : QStringLiteral("d"));
        return out.join(QLatin1Char(' '));
    }

    // The states() line with the controls of `enabled` enabled and those of `hidden` hidden; the
    // diagnostics panel's controls "-" unless the panel has been shown. The installation panel is
    // hidden unless `enabled` names it ("installatiePaneel", or "installatiePaneel:ds" shown but
    // disabled).
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
        out << QStringLiteral("installatiePaneel:%1")
                   .arg(on.contains(u"installatiePaneel"_s)      ? QStringLiteral("es")
                        : on.contains(u"installatiePaneel:ds"_s) ? QStringLiteral("ds")
                                                                 : QStringLiteral("h"));
        for (const char *n : {"Combo1", "Combo29", "Combo30", "bestand", "bewerken", "installatie", "taal",
                              "settings", "Info", "Bewaren", "Bewaren_als", "ongedaan", "opnieuw",
                              "installatieOpslaan", "moduleToevoegen", "moduleExporteren"}) {
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
        const QString menus = QStringLiteral(" bestand bewerken installatie taal settings Info");
        const QString tests = QStringLiteral(" Command6 Command17 Command19 Combo29 Combo30");
        const QString editors = QStringLiteral(" Command7 Command8 Command9 Command10 Command12");
        const QString editorsHidden = QStringLiteral("Command7 Command8 Command9 Command10 Command12");
        const QString idleModule =
            QStringLiteral("Command1 Command2 Option1 Option2 Combo1") + editors + tests + menus;

        QTest::newRow("start-up") << Step([](WindowRig &) {})
                                  << QStringLiteral("Command1 Combo1") + tests + menus << editorsHidden;
        QTest::newRow("Verbinden, waiting") << Step([](WindowRig &r) { click(r, "Command1"); })
                                            << QStringLiteral("Combo29 Combo30") << editorsHidden;
        QTest::newRow("read") << Step([](WindowRig &r) { QVERIFY(r.read(0)); })
                              << idleModule + QStringLiteral(" Bewaren_als") << QString();
        QTest::newRow("Versturen, waiting") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            click(r, "Command2");
        }) << QStringLiteral("Combo29 Combo30 Bewaren_als")
                                            << QString();
        QTest::newRow("send") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            click(r, "Command2");
            r.module->announce();
            QTRY_VERIFY(idle(r));
        }) << idleModule + QStringLiteral(" Bewaren_als")
                              << QString();
        QTest::newRow("wrong module") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            r.attach(1);
            click(r, "Command2");
            r.module->announce();
            QTRY_VERIFY(idle(r));
        }) << idleModule + QStringLiteral(" Bewaren_als")
                                      << QString();
        QTest::newRow("scan, waiting") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            click(r, "Command12");
            click(r, "Command6");
        }) << QStringLiteral("Combo30 Bewaren_als")
                                       << QString();
        QTest::newRow("scan") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            r.startTest("Command6");
            QTRY_VERIFY(idle(r));
        }) << idleModule + QStringLiteral(" Bewaren_als")
                              << QString();
        QTest::newRow("monitor running") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            r.startTest("Command17");
            QTRY_VERIFY(byName<QWidget>(r.window.get(), "Command18")->isEnabled());
        }) << QStringLiteral("Command18 Combo29 Bewaren_als")
                                         << QString();
        QTest::newRow("monitor Stop") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            r.startTest("Command17");
            QTRY_VERIFY(byName<QWidget>(r.window.get(), "Command18")->isEnabled());
            click(r, "Command18");
            QTRY_VERIFY(idle(r));
        }) << idleModule + QStringLiteral(" Bewaren_als")
                                      << QString();
        QTest::newRow("output test running") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            r.startTest("Command19");
            QTRY_VERIFY(byName<QWidget>(r.window.get(), "Command20")->isEnabled());
        }) << QStringLiteral("Command20 Bewaren_als")
                                             << QString();
        QTest::newRow("output Stop") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            r.startTest("Command19");
            QTRY_VERIFY(byName<QWidget>(r.window.get(), "Command20")->isEnabled());
            click(r, "Command20");
            QTRY_VERIFY(idle(r));
        }) << idleModule + QStringLiteral(" Bewaren_als")
                                     << QString();
        QTest::newRow("Afbreken, fresh") << Step([](WindowRig &r) {
            click(r, "Command1");
            click(r, "AbortButton");
        }) << QStringLiteral("Command1 Combo1") + tests + menus
                                         << editorsHidden;
        QTest::newRow("Esc half-way, after a read") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            r.module->stopAfterLines = 100;
            click(r, "Command1");
            r.module->announce();
            QTRY_COMPARE(byName<QProgressBar>(r.window.get(), "ProgressBar1")->value(), 100);
            QTest::keyClick(r.window.get(), Qt::Key_Escape);
        }) << idleModule + QStringLiteral(" Bewaren_als")
                                                    << QString();
        QTest::newRow("line lost in the monitor") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            r.startTest("Command17");
            QTRY_VERIFY(byName<QWidget>(r.window.get(), "Command18")->isEnabled());
            r.link.hangUp();
            QTRY_VERIFY(idle(r));
        }) << idleModule + QStringLiteral(" Bewaren_als")
                                                  << QString();
        QTest::newRow("port missing, fresh") << Step([](WindowRig &r) {
            r.link.failNextOpen(SerialLink::OpenError::NotFound);
            click(r, "Command1");
        }) << QStringLiteral("Command1 Combo1") + tests + menus
                                             << editorsHidden;
        QTest::newRow("module not supported, fresh") << Step([](WindowRig &r) {
            click(r, "Command1");
            r.link.moduleSend("M19501\r");
            QTRY_VERIFY(idle(r));
        }) << QStringLiteral("Command1 Combo1") + tests + menus
                                                     << editorsHidden;
        QTest::newRow("file opened")
            << Step([](WindowRig &r) { QVERIFY(r.openFile(2, ModuleImage(ModuleTypes::VelanoSlots))); })
            << QStringLiteral("Command1 Command2 Option1 Option2 Combo1 Bewaren Bewaren_als") + editors +
                   tests + menus
            << QString();
        // An edit can be undone while no conversation runs; a send leaves the history alone.
        const auto edited = [](WindowRig &r) {
            QVERIFY(r.read(0));
            click(r, "Option2");
        };
        QTest::newRow("edited") << Step(edited) << idleModule + QStringLiteral(" Bewaren_als ongedaan")
                                << QString();
        QTest::newRow("edited, undone") << Step([edited](WindowRig &r) {
            edited(r);
            byName<QAction>(r.window.get(), "ongedaan")->trigger();
        }) << idleModule + QStringLiteral(" Bewaren_als opnieuw")
                                        << QString();
        QTest::newRow("edited, Versturen waiting") << Step([edited](WindowRig &r) {
            edited(r);
            click(r, "Command2");
        }) << QStringLiteral("Combo29 Combo30 Bewaren_als")
                                                   << QString();
        QTest::newRow("edited, sent") << Step([edited](WindowRig &r) {
            edited(r);
            click(r, "Command2");
            r.module->announce();
            QTRY_VERIFY(idle(r));
        }) << idleModule + QStringLiteral(" Bewaren_als ongedaan")
                                      << QString();
        QTest::newRow("edited, read again") << Step([edited](WindowRig &r) {
            edited(r);
            QVERIFY(r.read(0));
        }) << idleModule + QStringLiteral(" Bewaren_als")
                                            << QString();
        // With an installation open: its entries and panel, disabled during a conversation.
        const auto installation = [](WindowRig &r) {
            Installation i;
            i.name = u"Huis"_s;
            for (int n = 0; n < 2; ++n) {
                InstallationModule m;
                m.id = QString::number(n);
                m.name = u"relais %1"_s.arg(n);
                m.image = ModuleImage(ModuleTypes::RelaySlots);
                i.modules.push_back(m);
            }
            const QString path = r.home.file(u"huis.qvi"_s);
            QVERIFY(writeInstallationFile(path, i, QDateTime::currentDateTime()).failure.ok());
            QVERIFY(r.w().installations()->openInstallation(path));
        };
        const QString installationIdle = menus + QStringLiteral(" installatieOpslaan installatiePaneel");
        QTest::newRow("installation opened")
            << Step(installation) << QStringLiteral("Command1 Combo1") + tests + installationIdle
            << editorsHidden;
        QTest::newRow("installation opened over a read") << Step([installation](WindowRig &r) {
            QVERIFY(r.read(0));
            installation(r);
        }) << idleModule + installationIdle + QStringLiteral(" Bewaren_als moduleToevoegen")
                                                         << QString();
        const auto chosen = [installation](WindowRig &r) {
            installation(r);
            QVERIFY(r.w().installations()->selectModule(1));
        };
        QTest::newRow("installation module chosen")
            << Step(chosen) << idleModule + installationIdle + QStringLiteral(" Bewaren_als moduleExporteren")
            << QString();
        QTest::newRow("installation module, Versturen waiting")
            << Step([chosen](WindowRig &r) {
                   chosen(r);
                   r.attach(0);
                   click(r, "Command2");
               })
            << QStringLiteral(
                   "Combo29 Combo30 Bewaren_als installatiePaneel:ds installatieOpslaan moduleExporteren")
            << QString();
        QTest::newRow("installation module sent") << Step([chosen](WindowRig &r) {
            chosen(r);
            r.attach(0);
            click(r, "Command2");
            r.module->announce();
            QTRY_VERIFY(idle(r));
        }) << idleModule + installationIdle + QStringLiteral(" Bewaren_als moduleExporteren")
                                                  << QString();
        QTest::newRow("installation module removed") << Step([chosen](WindowRig &r) {
            chosen(r);
            MessageBox::setNextChoice(0); // "Verwijderen"
            byName<QAction>(r.window.get(), "moduleVerwijderen")->trigger();
        }) << QStringLiteral("Command1 Combo1") + tests + installationIdle
                                                     << editorsHidden;
        QTest::newRow("Nieuwe module after a read") << Step([](WindowRig &r) {
            QVERIFY(r.read(0));
            r.w().nieuw_Click();
        }) << QStringLiteral("Command1 Combo1") + editors + tests + menus
                                                    << editorsHidden;
    }
    void afterEachEvent()
    {
        QFETCH(Step, step);
        QFETCH(QString, enabled);
        QFETCH(QString, hidden);
        WindowRig rig;
        step(rig);
        const bool diagnostics = rig.window->findChild<QWidget *>(QStringLiteral("Frame10")) != nullptr;
        QCOMPARE(diagnostics, QString::fromUtf8(QTest::currentDataTag())
                                  .contains(QRegularExpression(QStringLiteral("scan|monitor|output"))));
        QCOMPARE(states(rig), expected(enabled, hidden, diagnostics));
    }

    // The window's handlers run by name only through a control a person can use: a hidden
    // editor button, a disabled menu entry and any entry of a menu disabled during a
    // conversation are refused.
    void handlersRunOnlyThroughUsableControls()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        QVERIFY(w.usable(w.Command1) && !w.usable(w.Command7) && !w.usable(w.Command2));
        QVERIFY(TestWindow::reachable(w.openen) && !TestWindow::reachable(w.Bewaren_als));
        QVERIFY(TestWindow::reachable(w.p[2])); // in a submenu
        w.Command1_Click();
        QVERIFY(!TestWindow::reachable(w.openen) && !TestWindow::reachable(w.p[2]));
        QVERIFY(!w.usable(w.Command1));
    }
};

QTEST_MAIN(TestControlStates)
#include "tst_controlstates.moc"
