#include "common/MessageBox.h"
#include "scenes/SceneFrame.h"
#include "support/Find.h"
#include "support/SimRig.h"

#include <QTest>

// What the installer changes in the window reaches the module: the master/slave choice and the
// scene editor's picks, read from the simulator, sent over the program's real serial port and
// compared with the simulator's memory slot by slot.
class TestEditsReach : public QObject
{
    Q_OBJECT

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
        // A master whose every slot holds a value no edit below stores.
        SimRig rig({.type = type});
        TestWindow &w = rig.w();
        QVERIFY(rig.read());
        QCOMPARE(w.state().ModuleType, type);
        QVERIFY(w.Option1->isChecked());

        // Slave: slot 40 becomes 0 in the module.
        w.Option2->click();
        QVERIFY(rig.send());
        QCOMPARE(rig.saved(), rig.image());
        QCOMPARE(rig.saved().at(40), 0);

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
        const std::vector<int> before = rig.saved();
        for (qsizetype i = 0; i + 1 < expected.size(); i += 2)
            QVERIFY2(before.at(size_t(expected[i])) != expected[i + 1],
                     qPrintable(QString::number(expected[i])));
        QVERIFY(rig.send());
        QCOMPARE(w.Text1->text(), QStringLiteral("Ready"));
        const std::vector<int> after = rig.saved();
        QCOMPARE(after, rig.image());
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
