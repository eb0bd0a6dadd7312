#include "app/PortChooserDialog.h"
#include "common/MessageBox.h"
#include "files/ModuleFile.h"
#include "support/Find.h"
#include "support/SimProcess.h"
#include "support/TestHome.h"
#include "support/TestWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
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
        TestHome home;
        home.writeSettings(" 1 \r\n", "1\r\n", "100\r\n");
        ModuleImage memory(ModuleFile::slotCount(1));
        for (int slot = 0; slot < memory.size(); ++slot)
            memory.set(slot, (slot * 13 + 5) % 1000);
        memory.set(40, 1);
        writeModuleFile(home.file(u"module.QV1"_s), 1, memory);
        QTemporaryDir simFolder;
        SimProcess sim(simFolder.path() + u"/"_s, {u"--fast"_s, u"--load"_s, home.file(u"module.QV1"_s),
                                                   u"--announce-interval"_s, u"20"_s});
        QVERIFY(sim.started());
        const QString pty = QFileInfo(simFolder.filePath(u"com1"_s)).canonicalFilePath();

        TestWindow w;
        PortChooserDialog dialog(PortBinding(), w.state().ComPort, w.state().Language, &w);
        QTest::keyClicks(byName<QLineEdit>(&dialog, "DeviceEdit"), pty);
        byName<QPushButton>(&dialog, "BindButton")->click();
        QCOMPARE(MessageBox::shownCount(), 0);
        QCOMPARE(byName<QLabel>(&dialog, "PortLabel")->text(), u"Poort 1: Gekoppeld aan %1"_s.arg(pty));
        byName<QPushButton>(&dialog, "CloseButton")->click();

        w.Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.Text1->text(), u"Edit mode"_s, 10000);
        QCOMPARE(w.state().ModuleType, 1);
        for (int slot = 0; slot < memory.size(); ++slot)
            QCOMPARE(w.state().DimImage.value(slot), memory.value(slot));
        QCOMPARE(sim.frames().value(1), u"T3600"_s);
    }
};

QTEST_MAIN(TestPortChooserEndToEnd)
#include "tst_portchooser.moc"
