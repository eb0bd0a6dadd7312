#include "history/ImageHistory.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// The history of edits: steps hold the slots they changed, undo and redo write exactly those
// back, and a step that changed nothing is never taken.
class TestHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepsHoldOnlyWhatChanged()
    {
        ModuleImage before(ModuleTypes::DimSlots);
        ModuleImage after = before;
        after.set(0, 42);
        after.set(149, 999);
        const EditStep step =
            EditStep::between({u"Basisfuncties"_s, u"Fonctions de base"_s}, 1, before, after);
        QCOMPARE(step.changes, (std::vector<SlotChange>{{0, 0, 42}, {149, 0, 999}}));
        QVERIFY(EditStep::between({}, 1, after, after).isEmpty());
    }

    void undoAndRedoWriteTheSlotsBack()
    {
        ModuleState state;
        state.ModuleType = 0;
        ImageHistory history(state);
        QSignalSpy applied(&history, &ImageHistory::stepApplied);

        const ModuleImage blank = state.RelayImage;
        state.RelayImage.set(0, 50);
        state.RelayImage.set(20, 63);
        history.record(
            EditStep::between({u"Drukknop 1"_s, u"Bouton poussoir 1"_s}, 0, blank, state.RelayImage));
        const ModuleImage firstEdit = state.RelayImage;
        state.RelayImage.set(0, 7);
        history.record(
            EditStep::between({u"Drukknop 1, 1ste functie"_s, {}}, 0, firstEdit, state.RelayImage));
        // A write that leaves every slot as it was is no step.
        history.record(EditStep::between({u"niets"_s, {}}, 0, state.RelayImage, state.RelayImage));
        QCOMPARE(history.count(), 2);
        QCOMPARE(applied.count(), 0); // taking a step writes nothing

        QCOMPARE(history.nextUndo()->name.dutch, u"Drukknop 1, 1ste functie"_s);
        history.undo();
        QCOMPARE(state.RelayImage, firstEdit);
        history.undo();
        QCOMPARE(state.RelayImage, blank);
        QVERIFY(!history.canUndo());
        QCOMPARE(history.nextRedo()->name.french, u"Bouton poussoir 1"_s);
        history.redo();
        history.redo();
        QCOMPARE(state.RelayImage.value(0), 7);
        QCOMPARE(state.RelayImage.value(20), 63);
        QCOMPARE(applied.count(), 4);
        QCOMPARE(applied.at(0).at(1).toBool(), true);
        QCOMPARE(applied.at(3).at(1).toBool(), false);

        // A new step after an undo drops what could be redone; clearing drops everything.
        history.undo();
        state.RelayImage.set(5, 1);
        history.record(
            EditStep::between({u"Drukknop 6, 1ste functie"_s, {}}, 0, firstEdit, state.RelayImage));
        QVERIFY(!history.canRedo());
        history.clear();
        QVERIFY(!history.canUndo() && !history.canRedo());
    }

    void masterFlagFollowsItsStep()
    {
        ModuleState state;
        state.ModuleType = 2;
        ImageHistory history(state);
        const ModuleImage slave = state.VelanoImage;
        state.VelanoImage.set(ModuleTypes::MasterSlot, 1);
        state.MasterFlag = 1;
        EditStep step = EditStep::between({u"Master/Slave"_s, {}}, 2, slave, state.VelanoImage);
        step.masterBefore = 0;
        step.masterAfter = 1;
        history.record(step);
        history.undo();
        QCOMPARE(state.MasterFlag, 0);
        QCOMPARE(state.VelanoImage.value(ModuleTypes::MasterSlot), 0);
        history.redo();
        QCOMPARE(state.MasterFlag, 1);
        // With another type's module in hand, its image goes back but the flag stays that module's.
        state.ModuleType = 0;
        history.undo();
        QCOMPARE(state.VelanoImage.value(ModuleTypes::MasterSlot), 0);
        QCOMPARE(state.MasterFlag, 1);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
