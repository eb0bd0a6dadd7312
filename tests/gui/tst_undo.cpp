#include "common/MessageBox.h"
#include "files/ModuleFile.h"
#include "support/Find.h"
#include "support/Images.h"
#include "support/Typing.h"
#include "support/WindowRig.h"

#include <QAction>
#include <QCheckBox>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
constexpr int NoFunction = 42;

// A module of `type` whose push buttons do nothing, with a second-function time of `halfSeconds`,
// slave, every output ON/OFF and every scene leaving its channels alone.
ModuleImage quietImage(int type, int halfSeconds = 4)
{
    ModuleImage image(ModuleTypes::info(type)->slotCount);
    for (int slot = 0; slot < 40; ++slot)
        image.set(slot, NoFunction);
    image.set(ModuleTypes::SecondFunctionTimeSlot, halfSeconds);
    return image;
}

QAction *undoEntry(WindowRig &rig)
{
    return byName<QAction>(rig.window.get(), "ongedaan");
}
QAction *redoEntry(WindowRig &rig)
{
    return byName<QAction>(rig.window.get(), "opnieuw");
}
QString changedField(WindowRig &rig)
{
    return byName<QLabel>(rig.window.get(), "ChangedPanel")->text();
}

// Picks `entry` from a list with the arrow keys, as the installer does with the keyboard: each
// key makes the next entry the chosen one.
bool pickWithKeys(QComboBox *list, const QString &entry)
{
    const int target = list->findText(entry, Qt::MatchExactly);
    if (target < 0 || !list->isVisible() || !list->isEnabled()) return false;
    list->setFocus(Qt::TabFocusReason);
    if (!QTest::qWaitFor([list] { return list->hasFocus(); })) return false;
    QWidget *keys = list->isEditable() ? static_cast<QWidget *>(list->lineEdit()) : list;
    for (int guard = 0; list->currentIndex() != target && guard < list->count() + 1; ++guard)
        QTest::keyClick(keys, list->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    return list->currentIndex() == target;
}

// Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z pressed in the control that has the focus.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : QApplication::activeWindow(), key, modifiers);
}

QString cell(QWidget *frame, const char *grid, int row, int column)
{
    const QTableWidgetItem *item = byName<QTableWidget>(frame, grid)->item(row, column);
    return item ? item->text() : u"<none>"_s;
}

enum Kind
{
    Insert,
    ClearAll,
    DoubleClickErase,
    BaseFunctions,
    OutputFunction,
    SecondTime,
    DimStart,
    SceneValue,
    GroupScene,
    MasterSlave
};
} // namespace

// Undo and redo of every kind of edit, from the keys pressed where the installer made it, with
// the editors showing the image again each time and nothing written by showing it.
class TestUndo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    void eachKindOfStep_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("country");
        QTest::addColumn<QString>("undoCaption");
        QTest::addColumn<QString>("redoCaption");
        const QByteArray nl = " 1 \r\n";
        QTest::newRow("insert") << int(Insert) << 0 << nl << u"Ongedaan maken: Drukknop 5, 1ste functie"_s
                                << u"Opnieuw: Drukknop 5, 1ste functie"_s;
        QTest::newRow("insert, French")
            << int(Insert) << 0 << QByteArray(" 2 \r\n") << u"Annuler : Bouton poussoir 5, 1ère fonction"_s
            << u"Rétablir : Bouton poussoir 5, 1ère fonction"_s;
        QTest::newRow("clear-all") << int(ClearAll) << 2 << nl
                                   << u"Ongedaan maken: Wissen van alle 1ste functies"_s
                                   << u"Opnieuw: Wissen van alle 1ste functies"_s;
        QTest::newRow("double-click")
            << int(DoubleClickErase) << 1 << nl << u"Ongedaan maken: Drukknop 2, 2de functie"_s
            << u"Opnieuw: Drukknop 2, 2de functie"_s;
        QTest::newRow("base functions") << int(BaseFunctions) << 0 << nl << u"Ongedaan maken: Basisfuncties"_s
                                        << u"Opnieuw: Basisfuncties"_s;
        QTest::newRow("output function")
            << int(OutputFunction) << 0 << nl << u"Ongedaan maken: Uitgang 3"_s << u"Opnieuw: Uitgang 3"_s;
        QTest::newRow("second-function time")
            << int(SecondTime) << 2 << nl << u"Ongedaan maken: Tijd 2de functie"_s
            << u"Opnieuw: Tijd 2de functie"_s;
        QTest::newRow("dim start value")
            << int(DimStart) << 1 << nl << u"Ongedaan maken: Kanaal 2, beginwaarde"_s
            << u"Opnieuw: Kanaal 2, beginwaarde"_s;
        QTest::newRow("scene value") << int(SceneValue) << 2 << nl << u"Ongedaan maken: Sfeer 3, Dim 1"_s
                                     << u"Opnieuw: Sfeer 3, Dim 1"_s;
        QTest::newRow("group scene") << int(GroupScene) << 3 << nl << u"Ongedaan maken: Sfeer 1, groepsfeer"_s
                                     << u"Opnieuw: Sfeer 1, groepsfeer"_s;
        QTest::newRow("master") << int(MasterSlave) << 0 << QByteArray(" 2 \r\n")
                                << u"Annuler : Master/Slave"_s << u"Rétablir : Master/Slave"_s;
    }
    void eachKindOfStep()
    {
        QFETCH(int, kind);
        QFETCH(int, type);
        QFETCH(QByteArray, country);
        QFETCH(QString, undoCaption);
        QFETCH(QString, redoCaption);
        ModuleImage image = quietImage(type);
        if (kind == DoubleClickErase) image.set(21, 3); // push button 2's second function: output 4
        if (kind == ClearAll)
            for (int slot = 0; slot < 20; ++slot)
                image.set(slot, 0); // every first function: output 1
        if (kind == GroupScene) image.set(ModuleTypes::MasterSlot, 1);
        WindowRig rig({.country = country});
        QVERIFY(rig.openActive(type, image));
        TestWindow &w = rig.w();
        QVERIFY(!undoEntry(rig)->isEnabled());
        const ModuleState before = w.state();

        // The edit, made as the installer makes it; `shown` reads what the editor shows of it.
        std::function<QString()> shown;
        switch (Kind(kind)) {
        case Insert:
        case ClearAll:
        case DoubleClickErase:
        case BaseFunctions: {
            w.Command7->click();
            PushButtonFrame *f = w.Frame3;
            shown = [f] { return QStringList{cell(f, "Grid1", 5, 1), cell(f, "Grid1", 2, 2)}.join(u'|'); };
            if (kind == Insert) {
                QVERIFY(pickWithKeys(byName<QComboBox>(f, "Combo2"), u"5"_s));
                byName<QRadioButton>(f, "Option3")->click();
                QVERIFY(pickWithKeys(byName<QComboBox>(f, "Combo3"), u"3"_s));
                byName<QPushButton>(f, "Command3")->click();
            } else if (kind == ClearAll) {
                byName<QCheckBox>(f, "Check1")->setFocus();
                QTest::keyClick(byName<QCheckBox>(f, "Check1"), Qt::Key_Space);
            } else if (kind == DoubleClickErase) {
                auto *grid = byName<QTableWidget>(f, "Grid1");
                grid->setFocus();
                const QRect r = grid->visualItemRect(grid->item(2, 2));
                // A double click is a click and a second press that the system reports as double.
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
            } else {
                byName<QPushButton>(f, "Command4")->setFocus();
                QTest::keyClick(byName<QPushButton>(f, "Command4"), Qt::Key_Space);
            }
            break;
        }
        case OutputFunction: {
            w.Command9->click();
            OutputFunctionsFrame *f = w.Frame7;
            shown = [f] { return cell(f, "Grid2", 3, 1); };
            QVERIFY(pickWithKeys(byName<QComboBox>(f, "Combo8"), u"3"_s));
            QVERIFY(pickWithKeys(byName<QComboBox>(f, "Combo9"), u"Puls"_s));
            QVERIFY(pickWithKeys(byName<QComboBox>(f, "Combo11"), u"5"_s));
            byName<QPushButton>(f, "Command5")->click();
            byName<QComboBox>(f, "Combo9")->setFocus();
            break;
        }
        case SecondTime: {
            w.Command8->click();
            auto *list = byName<QComboBox>(w.Frame6, "Combo7");
            shown = [list] { return list->currentText(); };
            QVERIFY(pickWithKeys(list, u"2,5"_s)); // the next entry: one key, one step
            break;
        }
        case DimStart: {
            w.Command9->click();
            auto *list = byName<QComboBox>(w.Frame12, "Combo26");
            shown = [list] { return list->currentText(); };
            QVERIFY(pickWithKeys(list, list->itemText(0))); // from none to the first entry: one key, one step
            break;
        }
        case SceneValue:
        case GroupScene: {
            w.Command10->click();
            SceneFrame *f = w.Frame9;
            QVERIFY(pickWithKeys(byName<QComboBox>(f, "Combo25"),
                                 kind == SceneValue ? u"Sfeer 3"_s : u"Sfeer 1"_s));
            auto *field = byName<QComboBox>(f, "Combo12_0");
            auto *yes = byName<QRadioButton>(f, "Option9");
            shown = [field, yes] {
                return QStringList{field->currentText(), yes->isChecked() ? u"ja"_s : u"nee"_s}.join(u'|');
            };
            if (kind == SceneValue) {
                QVERIFY(pickWithKeys(field, field->itemText(field->currentIndex() + 1))); // one key, one step
            } else {
                yes->setFocus();
                QTest::keyClick(yes, Qt::Key_Space);
            }
            break;
        }
        case MasterSlave: {
            auto *master = byName<QRadioButton>(&w, "Option1");
            shown = [master] { return master->isChecked() ? u"master"_s : u"slave"_s; };
            master->setFocus();
            QTest::keyClick(master, Qt::Key_Space);
            break;
        }
        }
        const ModuleState after = w.state();
        QVERIFY(!Images::sameImages(before, after));
        const QString shownAfter = shown ? shown() : QString();
        QCOMPARE(undoEntry(rig)->text(), undoCaption);
        QVERIFY(undoEntry(rig)->isEnabled());
        QVERIFY(!redoEntry(rig)->isEnabled());
        QVERIFY(!changedField(rig).isEmpty());

        // Ctrl+Z where the edit was made takes it back in one step, the editor following.
        press(Qt::Key_Z);
        QVERIFY(Images::sameImages(w.state(), before));
        QCOMPARE(w.state().MasterFlag, before.MasterFlag);
        QCOMPARE(redoEntry(rig)->text(), redoCaption);
        QVERIFY(!undoEntry(rig)->isEnabled());
        QCOMPARE(changedField(rig), QString()); // back at what was opened
        const QString shownBefore = shown ? shown() : QString();
        QVERIFY2(shownBefore != shownAfter, qPrintable(shownBefore));
        if (kind == ClearAll) {
            auto *box = byName<QCheckBox>(w.Frame3, "Check1");
            QVERIFY(!box->isChecked());
            QVERIFY(box->isEnabled());
        }

        // Ctrl+Y makes it again, Ctrl+Z and Ctrl+Shift+Z once more.
        press(Qt::Key_Y);
        QVERIFY(Images::sameImages(w.state(), after));
        QCOMPARE(w.state().MasterFlag, after.MasterFlag);
        QCOMPARE(shown ? shown() : QString(), shownAfter);
        press(Qt::Key_Z);
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(Images::sameImages(w.state(), after));
        QCOMPARE(undoEntry(rig)->text(), undoCaption);
    }

    // Opening the second-function time on a value outside 1..8 writes 2,5 s: a step of its own.
    // Undoing it shows the stored value again without writing and without a new step.
    void showingNeverWrites()
    {
        WindowRig rig;
        QVERIFY(rig.openActive(0, quietImage(0, 20)));
        TestWindow &w = rig.w();
        w.Command8->click();
        QCOMPARE(w.state().RelayImage.value(ModuleTypes::SecondFunctionTimeSlot), 5);
        QCOMPARE(undoEntry(rig)->text(), u"Ongedaan maken: Tijd 2de functie"_s);
        undoEntry(rig)->trigger();
        QCOMPARE(w.state().RelayImage.value(ModuleTypes::SecondFunctionTimeSlot), 20);
        QVERIFY(!undoEntry(rig)->isEnabled());
        QVERIFY(redoEntry(rig)->isEnabled());

        // Across closing and reopening an editor: a push button set, another editor, back again.
        w.Command7->click();
        PushButtonFrame *f = w.Frame3;
        QVERIFY(pickWithKeys(byName<QComboBox>(f, "Combo2"), u"7"_s));
        byName<QRadioButton>(f, "Option4")->click();
        QVERIFY(pickWithKeys(byName<QComboBox>(f, "Combo4"), u"2"_s));
        byName<QPushButton>(f, "Command3")->click();
        QCOMPARE(w.state().RelayImage.value(6), 51);
        w.Command9->click();
        w.Command7->click();
        undoEntry(rig)->trigger();
        QCOMPARE(w.state().RelayImage.value(6), NoFunction);
        QCOMPARE(cell(f, "Grid1", 7, 1), u"***"_s);
    }

    // The history starts afresh with another image (a read, an opened file, nieuw) and rests
    // during a conversation; the changed field follows the image back to what was opened.
    void historyAndChangedField()
    {
        WindowRig rig;
        QVERIFY(rig.openActive(0, quietImage(0)));
        TestWindow &w = rig.w();
        auto *master = byName<QRadioButton>(&w, "Option1");
        // Master shows the scene editor's group-scene line; undoing it hides the line again.
        w.Command10->click();
        master->click();
        QVERIFY(byName<QRadioButton>(w.Frame9, "Option9")->isVisible());
        undoEntry(rig)->trigger();
        QVERIFY(!byName<QRadioButton>(w.Frame9, "Option9")->isVisible());
        QVERIFY(byName<QRadioButton>(&w, "Option2")->isChecked());
        redoEntry(rig)->trigger();
        QVERIFY(byName<QRadioButton>(w.Frame9, "Option9")->isVisible());
        QVERIFY(master->isChecked());
        QVERIFY(undoEntry(rig)->isEnabled());
        QCOMPARE(changedField(rig), u"Gewijzigd"_s);
        QCOMPARE(byName<QLabel>(&w, "ChangedPanel")->accessibleName(), u"Gewijzigd"_s);

        // A read running: Bewerken and its keys rest; Esc gets out and they are back.
        w.Command1->click();
        QVERIFY(!byName<QMenu>(&w, "bewerken")->menuAction()->isEnabled());
        QVERIFY(!undoEntry(rig)->isEnabled());
        press(Qt::Key_Z);
        QCOMPARE(w.state().MasterFlag, 1);
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([&w] { return w.isIdle(); }));
        QVERIFY(undoEntry(rig)->isEnabled());

        // Saving makes the image unchanged; undoing then changes it from the saved one.
        QVERIFY(w.saveModuleFile(rig.home.file(u"klant.QV1"_s)));
        QCOMPARE(changedField(rig), QString());
        undoEntry(rig)->trigger();
        QCOMPARE(changedField(rig), u"Gewijzigd"_s);
        redoEntry(rig)->trigger();
        QCOMPARE(changedField(rig), QString());

        QVERIFY(w.openModuleFile(rig.home.file(u"klant.QV1"_s)));
        QVERIFY(!undoEntry(rig)->isEnabled() && !redoEntry(rig)->isEnabled());
        master->click();
        byName<QRadioButton>(&w, "Option2")->click();
        QVERIFY(undoEntry(rig)->isEnabled());
        w.nieuw->trigger();
        QVERIFY(!undoEntry(rig)->isEnabled() && !redoEntry(rig)->isEnabled());

        // A completed read, after an edit of the image it replaces.
        QVERIFY(w.openModuleFile(rig.home.file(u"klant.QV1"_s)));
        byName<QRadioButton>(&w, "Option2")->click();
        QVERIFY(undoEntry(rig)->isEnabled());
        QVERIFY(rig.read(0));
        QCOMPARE(w.state().ModuleType, 0);
        QVERIFY(!undoEntry(rig)->isEnabled() && !redoEntry(rig)->isEnabled());
        QCOMPARE(changedField(rig), QString());
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
