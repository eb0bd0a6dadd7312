#include "app/ModulePage.h"
#include "common/MessageBox.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "editors/DimStartFrame.h"
#include "editors/OutputFunctionsFrame.h"
#include "editors/PushButtonFrame.h"
#include "editors/SecondTimeFrame.h"
#include "scenes/SceneFrame.h"
#include "support/WindowRig.h"

#include <QTest>
#include <memory>

// The work area shows one panel at a time: the diagnostics button puts its own panel in place
// of whichever was open, and "Nieuwe module" closes them all.
class TestPanels : public QObject
{
    Q_OBJECT

    // A master module file of `type` opened as the installer does: its page is shown.
    static void openModule(WindowRig &rig, int type)
    {
        ModuleImage image(ModuleTypes::info(type)->slotCount);
        image.set(ModuleTypes::MasterSlot, 1);
        if (!rig.openFile(type, image)) qFatal("module file not opened");
    }

    // The panels of the work area that can be seen, by name.
    static QStringList shownPanels(TestWindow &w)
    {
        QStringList shown;
        for (QWidget *panel : std::initializer_list<QWidget *>{w.Frame3, w.Frame6, w.Frame7, w.Frame9,
                                                               w.Frame10, w.Frame11, w.Frame12})
            if (panel && panel->isVisible()) // a panel not built yet was never shown
                shown << panel->objectName();
        return shown;
    }

    // Brings up a panel with the control the installer uses for it.
    static void bringUp(TestWindow &w, const QString &panel)
    {
        if (panel == QLatin1String("Frame11"))
            w.Combo1_Click();
        else if (panel == QLatin1String("Frame3"))
            w.Command7->click();
        else if (panel == QLatin1String("Frame6"))
            w.Command8->click();
        else if (panel == QLatin1String("Frame7") || panel == QLatin1String("Frame12"))
            w.Command9->click();
        else if (panel == QLatin1String("Frame9"))
            w.Command10->click();
        else if (panel == QLatin1String("Frame10"))
            w.Command12->click();
    }

    static void addPanels()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("panel");
        for (const char *panel : {"Frame11", "Frame3", "Frame6", "Frame7", "Frame9", "Frame10"})
            QTest::addRow("relay, %s", panel) << 0 << QString::fromLatin1(panel);
        // Command9 opens the dim start values on a dim or Velano module.
        QTest::newRow("dim, Frame12") << 1 << QStringLiteral("Frame12");
        QTest::newRow("Velano, Frame12") << 2 << QStringLiteral("Frame12");
    }

private Q_SLOTS:
    void initTestCase() { MessageBox::setAutoAnswer(true); }

    void diagnosticsTakesThePlaceOfAnyPanel_data() { addPanels(); }
    void diagnosticsTakesThePlaceOfAnyPanel()
    {
        QFETCH(int, type);
        QFETCH(QString, panel);
        WindowRig rig;
        openModule(rig, type);
        TestWindow &w = rig.w();
        bringUp(w, panel);
        QCOMPARE(shownPanels(w), QStringList{panel});
        w.Command12->click();
        QCOMPARE(shownPanels(w), QStringList{QStringLiteral("Frame10")});
    }

    void newModuleClosesEveryPanel_data() { addPanels(); }
    void newModuleClosesEveryPanel()
    {
        QFETCH(int, type);
        QFETCH(QString, panel);
        WindowRig rig;
        openModule(rig, type);
        TestWindow &w = rig.w();
        bringUp(w, panel);
        QCOMPARE(shownPanels(w), QStringList{panel});
        w.nieuw->trigger();
        QCOMPARE(shownPanels(w), QStringList());
        // Nothing is left to open them again until a module is read or a file opened.
        for (QPushButton *b : {w.Command7, w.Command8, w.Command9, w.Command10, w.Command12})
            QVERIFY2(b->isHidden(), qPrintable(b->objectName()));
    }
};

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
