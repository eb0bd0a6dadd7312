#include "common/MessageBox.h"
#include "files/ModuleFile.h"
#include "scenes/SceneFrame.h"
#include "support/Find.h"
#include "support/SimProcess.h"
#include "support/TestHome.h"
#include "support/TestWindow.h"

#include <QTest>
#include <memory>

// What the installer changes in the window reaches the module: the master/slave choice and the
// scene editor's picks, read from the simulator, sent over the program's real serial port and
// compared with the simulator's memory slot by slot.
class TestEditsReach : public QObject
{
    Q_OBJECT

    struct Rig
    {
        TestHome home;
        std::unique_ptr<SimProcess> sim;
        std::unique_ptr<TestWindow> window;
        QString memoryFile;

        explicit Rig(int type)
        {
            home.writeSettings(" 1 \r\n", "1\r\n", "100\r\n");
            memoryFile = home.file(QStringLiteral("module.QV1"));
            // A master whose every slot holds a value no edit below stores.
            ModuleImage memory(ModuleFile::slotCount(type));
            for (int slot = 0; slot < memory.size(); ++slot)
                memory.set(slot, (slot * 11 + 1) % 1000);
            memory.set(ModuleTypes::MasterSlot, 1);
            sim = std::make_unique<SimProcess>(home.path(), memoryFile, type, memory);
            window = std::make_unique<TestWindow>();
            window->show();
        }
        TestWindow &w() { return *window; }

        // The simulator's memory as it saved it after its last completed write.
        std::vector<int> memory() const { return sim->savedMemory(); }
        int completedWrites() const { return sim->completedWrites(); }
        // Every slot where the module's memory and the window's image differ (empty: none).
        QStringList differences() const
        {
            const std::vector<int> module = memory();
            const ModuleImage &image = *window->state().currentImage();
            if (int(module.size()) != image.size())
                return {QStringLiteral("the module holds %1 slots, the image %2")
                            .arg(module.size())
                            .arg(image.size())};
            QStringList out;
            for (int slot = 0; slot < image.size(); ++slot)
                if (module[size_t(slot)] != image.value(slot))
                    out << QStringLiteral("slot %1: module %2, image %3")
                               .arg(slot)
                               .arg(module[size_t(slot)])
                               .arg(image.value(slot));
            return out;
        }
        // Sends the image with "Versturen" and waits until the simulator has saved what it got.
        void send(int writesBefore)
        {
            w().Command2->click();
            QTRY_COMPARE_WITH_TIMEOUT(w().Text1->text(), QStringLiteral("Ready"), 20000);
            QTRY_COMPARE_WITH_TIMEOUT(completedWrites(), writesBefore + 1, 10000);
            QTRY_COMPARE_WITH_TIMEOUT(differences(), QStringList(), 10000);
        }
    };

    static void pick(QComboBox *combo, int position)
    {
        combo->setCurrentIndex(position);
        Q_EMIT combo->activated(position);
    }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    // Scene 3 and scene 20 (the last slots of the image) get values and group choices; each
    // pick's code is written out as the module must hold it.
    void masterSlaveAndScenesReachTheModule_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QList<int>>("picks");    // scene index, field, list position, ...
        QTest::addColumn<QList<int>>("groups");   // scene index, 1 for "Ja" or 0 for "Nee", ...
        QTest::addColumn<QList<int>>("expected"); // slot, code, ...
        // Relay: outputs 1 and 12 of scene 3 on and "***", output 12 of scene 20 toggles.
        const QList<int> relayPicks{2, 0, 1, 2, 11, 3, 19, 11, 2};
        const QList<int> relayExpected{106, 1, 117, 10, 118, 1, 338, 2, 339, 0};
        QTest::newRow("relay") << 0 << relayPicks << QList<int>{2, 1, 19, 0} << relayExpected;
        QTest::newRow("modular relay") << 3 << relayPicks << QList<int>{2, 1, 19, 0} << relayExpected;
        // Dim: channel 3 of scene 3 at 90%, channel 1 "***", channel 4 of scene 20 toggles.
        QTest::newRow("dim") << 1 << QList<int>{2, 7, 9, 2, 1, 11, 19, 9, 10} << QList<int>{2, 1, 19, 0}
                             << QList<int>{62, 9, 60, 11, 64, 1, 148, 10, 149, 0};
        // Velano: relay channel 5 of scene 3 "***", dim channel 3 at 50%, relay channel 8 of
        // scene 20 toggles.
        QTest::newRow("Velano") << 2 << QList<int>{2, 3, 3, 2, 6, 5, 19, 10, 2} << QList<int>{2, 1, 19, 0}
                                << QList<int>{72, 11, 70, 5, 76, 1, 228, 2, 229, 0};
    }
    void masterSlaveAndScenesReachTheModule()
    {
        QFETCH(int, type);
        QFETCH(QList<int>, picks);
        QFETCH(QList<int>, groups);
        QFETCH(QList<int>, expected);
        Rig rig(type);
        QVERIFY(rig.sim->started());
        TestWindow &w = rig.w();
        w.Command1->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.Text1->text(), QStringLiteral("Edit mode"), 10000);
        QCOMPARE(w.state().ModuleType, type);
        QVERIFY(w.Option1->isChecked());

        // Slave: slot 40 becomes 0 in the module.
        w.Option2->click();
        rig.send(0);
        QCOMPARE(rig.memory().at(40), 0);

        // Master again, and the scene editor's picks.
        w.Option1->click();
        w.Command10->click();
        SceneFrame *f = w.Frame9;
        QComboBox *sceneList = byName<QComboBox>(f, "Combo25");
        QVERIFY(f->isVisible() && byName<QRadioButton>(f, "Option9")->isVisible());
        for (qsizetype i = 0; i + 2 < picks.size(); i += 3) {
            pick(sceneList, picks[i]);
            const QByteArray field = "Combo12_" + QByteArray::number(picks[i + 1]);
            pick(byName<QComboBox>(f, field.constData()), picks[i + 2]);
        }
        for (qsizetype i = 0; i + 1 < groups.size(); i += 2) {
            pick(sceneList, groups[i]);
            byName<QRadioButton>(f, groups[i + 1] == 1 ? "Option9" : "Option10")->click();
        }
        const std::vector<int> before = rig.memory();
        for (qsizetype i = 0; i + 1 < expected.size(); i += 2)
            QVERIFY2(before.at(size_t(expected[i])) != expected[i + 1],
                     qPrintable(QString::number(expected[i])));
        rig.send(1);
        const std::vector<int> after = rig.memory();
        QCOMPARE(after.at(40), 1);
        for (qsizetype i = 0; i + 1 < expected.size(); i += 2)
            QCOMPARE(after.at(size_t(expected[i])), expected[i + 1]);
        // Nothing else in the module changed but the master slot and the picks.
        int changed = 0;
        for (size_t slot = 0; slot < after.size(); ++slot)
            changed += after[slot] != before[slot];
        QCOMPARE(changed, int(expected.size() / 2) + 1);
    }
};

QTEST_MAIN(TestEditsReach)
#include "tst_editsreach.moc"
