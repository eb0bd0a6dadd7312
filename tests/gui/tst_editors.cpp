#include "common/MessageBox.h"
#include "editors/DimStartFrame.h"
#include "editors/OutputFunctionsFrame.h"
#include "editors/PushButtonFrame.h"
#include "editors/SecondTimeFrame.h"
#include "protocol/ModuleState.h"
#include "support/Typing.h"
#include "support/WindowRig.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
QComboBox *combo(QWidget *w, const char *name)
{
    return byName<QComboBox>(w, name);
}
QString text(QWidget *w, const char *name)
{
    return combo(w, name)->currentText();
}
QString cell(QWidget *w, const char *grid, int row, int column)
{
    const QTableWidgetItem *i = byName<QTableWidget>(w, grid)->item(row, column);
    return i ? i->text() : QStringLiteral("<none>");
}
// The installer types over what a list shows, key by key, into its focused field in the active
// window.
void type(QWidget *w, const char *name, const QString &typed)
{
    QComboBox *list = combo(w, name);
    QVERIFY(Typing::activate(list->window()));
    QVERIFY(Typing::typeInto(list, typed));
}
void click(QWidget *w, const char *name)
{
    byName<QAbstractButton>(w, name)->click();
}
void doubleClick(QWidget *w, int row, int column)
{
    Q_EMIT byName<QTableWidget>(w, "Grid1")->cellDoubleClicked(row, column);
}

ModuleState stateFor(int type, int language = 1)
{
    ModuleState s;
    s.ModuleType = type;
    s.Language = language;
    return s;
}
template <typename F> std::unique_ptr<QWidget> opened(ModuleState &s)
{
    auto f = std::make_unique<F>(s);
    f->open();
    return f;
}
} // namespace

class TestEditors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    // The captions of each frame in French, and the design texts in an unknown language.
    void captions_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("expected"); // frame, control, its text, ...
        QTest::newRow("push buttons fr")
            << 2 << QStringList{u"Frame3"_s,   u"Frame3"_s,   u"Boutons poussoirs:"_s, u"Label3"_s,
                                u"Bouton:"_s,  u"Frame5"_s,   u"2ème fonction"_s,      u"Option7"_s,
                                u"Contexte"_s, u"Command3"_s, u"<-- Insérer"_s};
        QTest::newRow("push buttons ?")
            << 3 << QStringList{u"Frame3"_s,  u"Frame3"_s,  u"Frame3"_s,   u"Label3"_s,  u"Label3"_s,
                                u"Option6"_s, u"Option6"_s, u"Command4"_s, u"Command4"_s};
        QTest::newRow("time fr") << 2
                                 << QStringList{u"Frame6"_s, u"Frame6"_s, u"Temps 2ème fonction:"_s,
                                                u"Label4"_s, u"Secondes"_s};
        QTest::newRow("time ?") << 3
                                << QStringList{u"Frame6"_s, u"Frame6"_s, u"Frame6"_s, u"Label6"_s,
                                               u"Label6"_s};
        QTest::newRow("outputs fr") << 2
                                    << QStringList{u"Frame7"_s,
                                                   u"Frame7"_s,
                                                   u"Fonctions des sorties:"_s,
                                                   u"Frame8"_s,
                                                   u"Editer la fonction de la sortie:"_s,
                                                   u"Label8"_s,
                                                   u"Fonction:"_s,
                                                   u"Label9"_s,
                                                   u"Sortie:"_s,
                                                   u"Command5"_s,
                                                   u"Confirmer"_s};
        QTest::newRow("outputs ?") << 3 << QStringList{u"Frame7"_s, u"Frame7"_s,   u"Frame7"_s,  u"Label9"_s,
                                                       u"Label9"_s, u"Command5"_s, u"Command5"_s};
        QTest::newRow("dim fr") << 2
                                << QStringList{u"Frame12"_s, u"Frame12"_s, u"Valeur début des sorties:"_s,
                                               u"Label29"_s, u"Sortie 4:"_s};
        QTest::newRow("dim ?") << 3
                               << QStringList{u"Frame12"_s, u"Frame12"_s, u"Frame12"_s, u"Label26"_s,
                                              u"Label26"_s};
    }
    void captions()
    {
        QFETCH(int, language);
        QFETCH(QStringList, expected);
        ModuleState s = stateFor(1, language);
        const QString name = expected.takeFirst();
        const std::unique_ptr<QWidget> frame = name == QLatin1String("Frame3")   ? opened<PushButtonFrame>(s)
                                               : name == QLatin1String("Frame6") ? opened<SecondTimeFrame>(s)
                                               : name == QLatin1String("Frame7")
                                                   ? opened<OutputFunctionsFrame>(s)
                                                   : opened<DimStartFrame>(s);
        QVERIFY(frame->isVisible());
        for (int i = 0; i + 1 < expected.size(); i += 2) {
            QWidget *w =
                expected[i] == name ? frame.get() : byName<QWidget>(frame.get(), qPrintable(expected[i]));
            QString shown;
            if (auto *box = qobject_cast<QGroupBox *>(w))
                shown = box->title();
            else if (auto *label = qobject_cast<QLabel *>(w))
                shown = label->text();
            else if (auto *button = qobject_cast<QAbstractButton *>(w))
                shown = button->text();
            QCOMPARE(shown, expected[i + 1]);
        }
    }

    // ---- Push buttons -----------------------------------------------------------------------

    void pushButtonTable()
    {
        ModuleState s = stateFor(0, 2);
        s.RelayImage.set(0, 50);
        s.RelayImage.set(3, 300);
        PushButtonFrame f(s);
        for (const char *name : {"Frame4", "Frame5", "Combo3", "Combo4", "Combo5", "Combo6"})
            QVERIFY2(!byName<QWidget>(&f, name)->isEnabled(), name);
        f.open();
        QCOMPARE(cell(&f, "Grid1", 0, 2), QStringLiteral("2° fonction"));
        QCOMPARE(byName<QTableWidget>(&f, "Grid1")->horizontalHeaderItem(2)->text(),
                 QStringLiteral("2° fonction"));
        QCOMPARE(cell(&f, "Grid1", 20, 0), QStringLiteral("Numéro: 20"));
        QCOMPARE(cell(&f, "Grid1", 1, 1), QStringLiteral("Contexte 1"));
        QCOMPARE(cell(&f, "Grid1", 4, 1), QStringLiteral("Sortie 301"));
        QCOMPARE(byName<QWidget>(&f, "Grid1")->toolTip(),
                 QStringLiteral("Double-clicker pour effacer la fonction!"));
        QCOMPARE(s.RelayImage.value(3), 300); // shown, never rewritten by opening
    }

    void insertingFunctionsOfAPushButton()
    {
        ModuleState s = stateFor(0);
        PushButtonFrame f(s);
        f.open();
        const ModuleState before = s;
        click(&f, "Option5");
        click(&f, "Command3"); // no push button chosen
        QVERIFY(Images::sameImages(s, before));

        QVERIFY(pick(combo(&f, "Combo2"), QStringLiteral("20")));
        QVERIFY(byName<QWidget>(&f, "Frame4")->isEnabled() && byName<QWidget>(&f, "Frame5")->isEnabled());
        click(&f, "Option4");
        QVERIFY(combo(&f, "Combo4")->isEnabled() && !combo(&f, "Combo3")->isEnabled());
        QVERIFY(pick(combo(&f, "Combo4"), QStringLiteral("20")));
        click(&f, "Option6");
        QVERIFY(pick(combo(&f, "Combo5"), QStringLiteral("1")));
        click(&f, "Command3");
        QCOMPARE(s.RelayImage.value(19), 69);
        QCOMPARE(s.RelayImage.value(39), 0);
        QCOMPARE(cell(&f, "Grid1", 20, 1), QStringLiteral("Sfeer 20"));
        QCOMPARE(cell(&f, "Grid1", 20, 2), QStringLiteral("Uitgang 1"));
        QCOMPARE(text(&f, "Combo4"), QStringLiteral("20"));

        // An option with an empty list leaves its slot alone; "Geen" stores no function.
        QVERIFY(pick(combo(&f, "Combo2"), QStringLiteral("3")));
        QVERIFY(!byName<QRadioButton>(&f, "Option4")->isChecked() && text(&f, "Combo4").isEmpty());
        click(&f, "Option3");
        click(&f, "Option8");
        QVERIFY(!combo(&f, "Combo5")->isEnabled() && !combo(&f, "Combo6")->isEnabled());
        s.RelayImage.set(2, 7);
        s.RelayImage.set(22, 7);
        click(&f, "Command3");
        QCOMPARE(s.RelayImage.value(2), 7);
        QCOMPARE(s.RelayImage.value(22), 42);
    }

    void typedTextMustBeAnEntry()
    {
        ModuleState s = stateFor(1);
        PushButtonFrame f(s);
        f.open();
        type(&f, "Combo2", QStringLiteral("21"));
        QCOMPARE(text(&f, "Combo2"), QString());
        type(&f, "Combo2", QStringLiteral("7"));
        QCOMPARE(text(&f, "Combo2"), QStringLiteral("7"));
        QVERIFY(byName<QWidget>(&f, "Frame4")->isEnabled());

        // A dim module has four outputs: output 5 or junk never reaches the image.
        QCOMPARE(combo(&f, "Combo3")->count(), 4);
        click(&f, "Option3");
        type(&f, "Combo3", QStringLiteral("5"));
        QCOMPARE(text(&f, "Combo3"), QString());
        s.DimImage.set(6, 2);
        click(&f, "Command3");
        QCOMPARE(s.DimImage.value(6), 2);
        type(&f, "Combo3", QStringLiteral("4"));
        click(&f, "Command3");
        QCOMPARE(s.DimImage.value(6), 3);
    }

    void baseFunctionsAfterConfirmation()
    {
        ModuleState s = stateFor(2);
        for (int slot = 0; slot < 42; ++slot)
            s.VelanoImage.set(slot, 60);
        PushButtonFrame f(s);
        f.open();
        MessageBox::setNextAnswer(MessageBox::Cancel);
        click(&f, "Command4");
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Basisfuncties"));
        QCOMPARE(MessageBox::lastText(), QStringLiteral("Bent U zeker?"));
        QCOMPARE(s.VelanoImage.value(0), 60);

        click(&f, "Command4");
        QCOMPARE(s.VelanoImage.value(7), 7);
        QCOMPARE(s.VelanoImage.value(23), 3);
        QCOMPARE(s.VelanoImage.value(39), 42);
        QCOMPARE(s.VelanoImage.value(40), 60);
        QCOMPARE(cell(&f, "Grid1", 4, 2), QStringLiteral("Uitgang 4"));
    }

    void clearingAllFirstOrSecondFunctions()
    {
        ModuleState s = stateFor(0);
        for (int slot = 0; slot < 40; ++slot)
            s.RelayImage.set(slot, 5);
        PushButtonFrame f(s);
        f.open();
        auto *check1 = byName<QCheckBox>(&f, "Check1");
        auto *check2 = byName<QCheckBox>(&f, "Check2");
        check1->click();
        QCOMPARE(s.RelayImage.value(19), 42);
        QCOMPARE(s.RelayImage.value(20), 5);
        QCOMPARE(cell(&f, "Grid1", 11, 1), QStringLiteral("***"));
        QVERIFY(check1->isChecked() && !check1->isEnabled());

        // Insert gives the box back unchecked without clearing anything.
        QVERIFY(pick(combo(&f, "Combo2"), QStringLiteral("1")));
        click(&f, "Option3");
        QVERIFY(pick(combo(&f, "Combo3"), QStringLiteral("2")));
        click(&f, "Command3");
        QVERIFY(!check1->isChecked() && check1->isEnabled());
        QCOMPARE(s.RelayImage.value(0), 1);

        check2->click();
        QCOMPARE(s.RelayImage.value(39), 42);
        click(&f, "Command4");
        QVERIFY(!check2->isChecked() && check2->isEnabled());
    }

    // A clear-all box stays checked and disabled while the installer goes to another editor and
    // back; so do the function groups. Only an insert or the base functions give the box back.
    void clearAllBoxesLastUntilAnInsert()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        ModuleImage image(ModuleTypes::RelaySlots);
        for (int slot = 0; slot < 40; ++slot)
            image.set(slot, 5);
        QVERIFY(rig.openFile(0, image));
        w.Command7_Click();
        PushButtonFrame *f = w.Frame3;
        auto *check1 = byName<QCheckBox>(f, "Check1");
        auto *check2 = byName<QCheckBox>(f, "Check2");
        check1->click();
        QVERIFY(pick(combo(f, "Combo2"), QStringLiteral("4")));
        click(f, "Option6");

        w.Command8_Click();
        QVERIFY(f->isHidden());
        w.Command7_Click();
        QVERIFY(f->isVisible());
        QVERIFY(check1->isChecked() && !check1->isEnabled());
        QVERIFY(!check2->isChecked() && check2->isEnabled());
        QVERIFY(byName<QWidget>(f, "Frame4")->isEnabled() && byName<QWidget>(f, "Frame5")->isEnabled());
        QVERIFY(byName<QRadioButton>(f, "Option6")->isChecked() && combo(f, "Combo5")->isEnabled());
        // The lists are filled anew and empty: no push button is chosen, so nothing can be inserted.
        QVERIFY(text(f, "Combo2").isEmpty() && text(f, "Combo5").isEmpty());
        click(f, "Command3");
        QVERIFY(check1->isChecked() && !check1->isEnabled());
        QCOMPARE(cell(f, "Grid1", 1, 1), QStringLiteral("***"));

        QVERIFY(pick(combo(f, "Combo2"), QStringLiteral("2")));
        click(f, "Option4");
        QVERIFY(pick(combo(f, "Combo4"), QStringLiteral("3")));
        click(f, "Command3");
        QVERIFY(!check1->isChecked() && check1->isEnabled());
        QCOMPARE(w.state().RelayImage.value(1), 52);
        QCOMPARE(w.state().RelayImage.value(0), 42); // unchecking clears nothing again
        QCOMPARE(w.state().RelayImage.value(21), 5);
    }

    void doubleClickingTheTable()
    {
        ModuleState s = stateFor(2);
        for (int slot = 0; slot < 40; ++slot)
            s.VelanoImage.set(slot, 3);
        PushButtonFrame f(s);
        f.open();
        doubleClick(&f, 5, 2);
        QCOMPARE(s.VelanoImage.value(24), 42);
        QCOMPARE(s.VelanoImage.value(4), 3);
        QCOMPARE(cell(&f, "Grid1", 5, 2), QStringLiteral("***"));
        doubleClick(&f, 3, 1);
        QCOMPARE(s.VelanoImage.value(2), 42);
        doubleClick(&f, 9, 0);
        QCOMPARE(text(&f, "Combo2"), QStringLiteral("9"));
        QVERIFY(byName<QWidget>(&f, "Frame5")->isEnabled());
        doubleClick(&f, 0, 1); // the title row
        QCOMPARE(s.VelanoImage.value(0), 3);
    }

    void pushButtonsWithoutAModuleOrAfterItsTypeChanged()
    {
        ModuleState s = stateFor(0);
        s.RelayImage.set(0, 3);
        PushButtonFrame f(s);
        f.open();
        s.ModuleType = 4;
        f.open();
        // The output lists keep the relay module's 12 outputs; the table does not keep showing
        // the functions of the relay module.
        QCOMPARE(combo(&f, "Combo3")->count(), 12);
        QCOMPARE(combo(&f, "Combo5")->count(), 12);
        QCOMPARE(cell(&f, "Grid1", 1, 1), QString());
        const ModuleState before = s;
        click(&f, "Command4");
        QCOMPARE(MessageBox::shownCount(), 0);
        QVERIFY(pick(combo(&f, "Combo2"), QStringLiteral("1")));
        click(&f, "Option5");
        click(&f, "Command3");
        byName<QCheckBox>(&f, "Check1")->click();
        doubleClick(&f, 1, 1);
        QVERIFY(Images::sameImages(s, before));

        // A dim module identified while the relay lists are open gets no output beyond 4.
        s.ModuleType = 0;
        f.open();
        s.ModuleType = 1;
        QVERIFY(pick(combo(&f, "Combo2"), QStringLiteral("1")));
        click(&f, "Option3");
        QVERIFY(pick(combo(&f, "Combo3"), QStringLiteral("9")));
        click(&f, "Command3");
        QCOMPARE(s.DimImage.value(0), 0);
        QCOMPARE(s.RelayImage.value(0), 3);
    }

    // ---- Second-function time ---------------------------------------------------------------

    void secondFunctionTime()
    {
        ModuleState s = stateFor(0);
        s.RelayImage.set(41, 4);
        SecondTimeFrame f(s);
        f.open();
        QCOMPARE(text(&f, "Combo7"), QStringLiteral("2"));
        QVERIFY(pick(combo(&f, "Combo7"), QStringLiteral("1,5")));
        QCOMPARE(s.RelayImage.value(41), 3);
        f.open();
        QCOMPARE(text(&f, "Combo7"), QStringLiteral("1,5"));

        // A typed time outside the list is removed and the module gets 2,5 seconds.
        type(&f, "Combo7", QStringLiteral("5"));
        QCOMPARE(text(&f, "Combo7"), QString());
        QCOMPARE(s.RelayImage.value(41), 5);
        // A typed time of the list is what the module gets.
        type(&f, "Combo7", QStringLiteral("3"));
        QCOMPARE(text(&f, "Combo7"), QStringLiteral("3"));
        QCOMPARE(s.RelayImage.value(41), 6);

        // A Velano module opened on a time outside the list: emptied, 2,5 seconds stored.
        s.ModuleType = 2;
        f.open();
        QCOMPARE(text(&f, "Combo7"), QString());
        QCOMPARE(s.VelanoImage.value(41), 5);
        QCOMPARE(s.RelayImage.value(41), 6);
        // Without a module nothing is stored and the field keeps no time.
        s.ModuleType = 4;
        f.open();
        QVERIFY(pick(combo(&f, "Combo7"), QStringLiteral("4")));
        QCOMPARE(text(&f, "Combo7"), QString());
        QCOMPARE(s.VelanoImage.value(41), 5);
    }

    // ---- Output functions -------------------------------------------------------------------

    void outputFunctionTable()
    {
        ModuleState s = stateFor(0);
        s.RelayImage.set(43, 4); // output 2 after output 7 for 3 minutes
        s.RelayImage.set(55, 3);
        s.RelayImage.set(67, 7);
        s.RelayImage.set(45, 9); // output 4: no such function
        s.RelayImage.set(57, 2);
        OutputFunctionsFrame f(s);
        f.open();
        QCOMPARE(cell(&f, "Grid2", 0, 0), QStringLiteral("Uitgang nr:"));
        QCOMPARE(byName<QTableWidget>(&f, "Grid2")->horizontalHeaderItem(2)->text(),
                 QStringLiteral("Actieve tijd"));
        QCOMPARE(cell(&f, "Grid2", 2, 1), QStringLiteral("Actief bij doven van uitgang 7 voor "));
        QCOMPARE(cell(&f, "Grid2", 2, 2), QStringLiteral("3 min."));
        QCOMPARE(cell(&f, "Grid2", 4, 1), QStringLiteral("9"));
        QCOMPARE(cell(&f, "Grid2", 4, 2), QString());
        for (const char *name : {"Combo10", "Combo11", "Label9", "Label10"})
            QVERIFY2(byName<QWidget>(&f, name)->isHidden(), name);

        // Another image leaves nothing of the first one behind.
        s.RelayImage = ModuleImage(ModuleTypes::RelaySlots);
        f.open();
        QCOMPARE(cell(&f, "Grid2", 2, 2), QString());
        QCOMPARE(cell(&f, "Grid2", 4, 1), QStringLiteral("AAN/UIT"));
    }

    void changingTheFunctionOfAnOutput()
    {
        ModuleState s = stateFor(0);
        OutputFunctionsFrame f(s);
        f.open();
        QVERIFY(pick(combo(&f, "Combo9"), QStringLiteral("Puls"))); // a function needs an output first
        QCOMPARE(text(&f, "Combo9"), QString());

        QVERIFY(pick(combo(&f, "Combo8"), QStringLiteral("2")));
        QVERIFY(pick(combo(&f, "Combo9"), QStringLiteral("Actief bij doven van")));
        for (const char *name : {"Combo10", "Combo11", "Label9", "Label10"})
            QVERIFY2(!byName<QWidget>(&f, name)->isHidden(), name);
        QCOMPARE(byName<QLabel>(&f, "Label10")->text(), QStringLiteral("Min."));
        QVERIFY(pick(combo(&f, "Combo10"), QStringLiteral("7")));
        QVERIFY(pick(combo(&f, "Combo11"), QStringLiteral("3")));
        click(&f, "Command5");
        QCOMPARE(s.RelayImage.value(43), 4);
        QCOMPARE(s.RelayImage.value(55), 3);
        QCOMPARE(s.RelayImage.value(67), 7);
        QCOMPARE(cell(&f, "Grid2", 2, 2), QStringLiteral("3 min."));

        // A pulse, then plain on/off: the pulse time stays in its slot.
        QVERIFY(pick(combo(&f, "Combo8"), QStringLiteral("1")));
        QCOMPARE(text(&f, "Combo11"), QString());
        QVERIFY(pick(combo(&f, "Combo9"), QStringLiteral("Puls")));
        QCOMPARE(byName<QLabel>(&f, "Label10")->text(), QStringLiteral("Sec."));
        QVERIFY(byName<QWidget>(&f, "Combo10")->isHidden());
        QVERIFY(pick(combo(&f, "Combo11"), QStringLiteral("15")));
        click(&f, "Command5");
        QCOMPARE(cell(&f, "Grid2", 1, 2), QStringLiteral("15 sec."));
        QVERIFY(pick(combo(&f, "Combo9"), QStringLiteral("AAN/UIT")));
        QVERIFY(byName<QWidget>(&f, "Combo11")->isHidden());
        click(&f, "Command5");
        QCOMPARE(s.RelayImage.value(42), 0);
        QCOMPARE(s.RelayImage.value(54), 15);
        QCOMPARE(cell(&f, "Grid2", 1, 2), QString());
    }

    void anOutputIsNeverLinkedToItselfAndTypingIsNotTaken()
    {
        ModuleState s = stateFor(3);
        OutputFunctionsFrame f(s);
        f.open();
        QVERIFY(pick(combo(&f, "Combo8"), QStringLiteral("4")));
        QVERIFY(pick(combo(&f, "Combo9"), QStringLiteral("Vergrendeling met uitgang")));
        QVERIFY(pick(combo(&f, "Combo11"), QStringLiteral("2")));
        QVERIFY(pick(combo(&f, "Combo10"), QStringLiteral("4")));
        QCOMPARE(text(&f, "Combo10"), QString());
        const ModuleImage before = s.RelayImage;
        click(&f, "Command5");
        QCOMPARE(s.RelayImage, before);

        QVERIFY(pick(combo(&f, "Combo10"), QStringLiteral("5")));
        type(&f, "Combo11", QStringLiteral("9"));
        QCOMPARE(text(&f, "Combo11"), QString());
        // Typing over the output shown, even another output of the list, is not taken.
        type(&f, "Combo8", QStringLiteral("6"));
        QCOMPARE(text(&f, "Combo8"), QString());
        click(&f, "Command5");
        QCOMPARE(s.RelayImage, before);
    }

    // ---- Dim start values -------------------------------------------------------------------

    void dimStartValues()
    {
        ModuleState s = stateFor(1);
        s.DimImage.set(42, 1);
        s.DimImage.set(44, 5);
        DimStartFrame f(s);
        f.open();
        QCOMPARE(byName<QLabel>(&f, "Label28")->text(), QStringLiteral("Kanaal 3:"));
        QCOMPARE(text(&f, "Combo24"), QStringLiteral("10%"));
        QCOMPARE(text(&f, "Combo26"), QStringLiteral("0%"));
        QCOMPARE(text(&f, "Combo27"), QStringLiteral("50%"));

        QVERIFY(pick(combo(&f, "Combo27"), QStringLiteral("30%")));
        QCOMPARE(s.DimImage.value(44), 3);
        // Typing puts the stored value back.
        type(&f, "Combo27", QStringLiteral("70%"));
        QCOMPARE(text(&f, "Combo27"), QStringLiteral("30%"));
        type(&f, "Combo26", QStringLiteral("x"));
        QCOMPARE(text(&f, "Combo26"), QStringLiteral("0%"));
        // A pick with the arrow keys is stored like one from the drop-down list.
        QTest::keyClick(combo(&f, "Combo27"), Qt::Key_Down);
        QCOMPARE(text(&f, "Combo27"), QStringLiteral("40%"));
        QCOMPARE(s.DimImage.value(44), 4);

        // A Velano module keeps them in its own image.
        s.ModuleType = 2;
        s.VelanoImage.set(42, 2);
        f.open();
        QCOMPARE(text(&f, "Combo24"), QStringLiteral("20%"));
        QVERIFY(pick(combo(&f, "Combo28"), QStringLiteral("90%")));
        QCOMPARE(s.VelanoImage.value(45), 9);
        QCOMPARE(s.DimImage.value(45), 0);

        // A relay module has no dim channels: its function slots are never touched.
        s.ModuleType = 0;
        s.RelayImage.set(42, 4);
        f.open();
        QCOMPARE(text(&f, "Combo24"), QString());
        QVERIFY(pick(combo(&f, "Combo24"), QStringLiteral("50%")));
        QCOMPARE(text(&f, "Combo24"), QString());
        QCOMPARE(s.RelayImage.value(42), 4);
    }
};

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
