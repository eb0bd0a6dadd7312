#include "app/PortChooserDialog.h"
#include "common/MessageBox.h"
#include "support/Find.h"
#include "support/SimRig.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

// A port bound in the chooser to a device typed by hand is what the next conversation of an
// already open window uses: the simulated module's pseudo-terminal, whose own link lies in a
// folder the program never looks in.
class TestPortChooserEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typedPseudoTerminalIsReadOver()
    {
        MessageBox::setAutoAnswer(true);
        SimRig rig({.type = 1, .linkInHome = false});
        TestWindow &w = rig.w();
        const QString pty = rig.device();
        PortChooserDialog dialog(PortBinding(), w.state().ComPort, w.state().Language, &w);
        QTest::keyClicks(byName<QLineEdit>(&dialog, "DeviceEdit"), pty);
        byName<QPushButton>(&dialog, "BindButton")->click();
        QCOMPARE(MessageBox::shownCount(), 0);
        QCOMPARE(byName<QLabel>(&dialog, "PortLabel")->text(), u"Poort 1: Gekoppeld aan %1"_s.arg(pty));
        byName<QPushButton>(&dialog, "CloseButton")->click();

        QVERIFY(rig.read());
        QCOMPARE(w.state().ModuleType, 1);
        QCOMPARE(rig.image(), Images::values(rig.module()));
        QCOMPARE(rig.sim().frames().value(1), u"T3600"_s);
    }
};

QTEST_MAIN(TestPortChooserEndToEnd)
#include "tst_portchooser.moc"
