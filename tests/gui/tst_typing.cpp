#include "common/MessageBox.h"
#include "protocol/ModuleState.h"
#include "protocol/ModuleTypes.h"
#include "support/Typing.h"
#include "support/WindowRig.h"

#include <QSet>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
constexpr int TimeSlot = 41;
constexpr int NoFunction = 42;

// A module image of `type` whose 40 push-button function slots hold `function` and whose
// second-function time is `halfSeconds`.
ModuleImage imageOf(int type, int function, int halfSeconds)
{
    ModuleImage image(ModuleTypes::info(type)->slotCount);
    for (int slot = 0; slot < 40; ++slot)
        image.set(slot, function);
    image.set(TimeSlot, halfSeconds);
    return image;
}

ModuleImage &image(WindowRig &rig)
{
    return *rig.w().state().currentImage();
}

QString cell(PushButtonFrame *f, int row, int column)
{
    const QTableWidgetItem *item = byName<QTableWidget>(f, "Grid1")->item(row, column);
    return item ? item->text() : QStringLiteral("<none>");
}
} // namespace

// What the installer types into the editors' lists is taken when it is an entry of the list,
// and otherwise never becomes a choice: not by completing it into an entry, not by Enter, not
// by leaving the field. Every test types into a focused field of the active window.
class TestTyping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    void secondFunctionTime_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("reopened");
        QTest::newRow("5") << u"5"_s << 5 << QString() << u"2,5"_s;
        QTest::newRow("0") << u"0"_s << 5 << QString() << u"2,5"_s;
        QTest::newRow("x") << u"x"_s << 5 << QString() << u"2,5"_s;
        // The comma alone is no time of the list: the field is emptied and 2,5 seconds stored,
        // and the 5 typed after it into the empty field is no time either.
        QTest::newRow("2,") << u"2,"_s << 5 << QString() << u"2,5"_s;
        QTest::newRow("2,5") << u"2,5"_s << 5 << QString() << u"2,5"_s;
        // A typed time of the list is what the module gets.
        QTest::newRow("3") << u"3"_s << 6 << u"3"_s << u"3"_s;
        QTest::newRow("4") << u"4"_s << 8 << u"4"_s << u"4"_s;
    }
    void secondFunctionTime()
    {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        QFETCH(QString, shown);
        QFETCH(QString, reopened);
        WindowRig rig;
        QVERIFY(rig.openActive(0, imageOf(0, NoFunction, 3)));
        rig.w().Command8->click();
        QComboBox *time = byName<QComboBox>(rig.w().Frame6, "Combo7");
        QCOMPARE(time->currentText(), u"1,5"_s);

        QVERIFY(Typing::typeInto(time, typed));
        QCOMPARE(time->currentText(), shown);
        QCOMPARE(image(rig).value(TimeSlot), stored);
        // Leaving the field changes nothing more.
        Typing::leave(time, Qt::Key_Tab);
        QCOMPARE(time->currentText(), shown);
        QCOMPARE(image(rig).value(TimeSlot), stored);

        rig.w().Command8->click();
        QCOMPARE(time->currentText(), reopened);
    }

    // The push button to edit: only a number 1..20 chooses one; anything else leaves none
    // chosen, so "<-- Invoegen" writes nothing.
    void choosingAPushButton_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("button"); // 0: none chosen
        QTest::newRow("21") << u"21"_s << 0;
        QTest::newRow("x") << u"x"_s << 0;
        QTest::newRow("0") << u"0"_s << 0;
        QTest::newRow("7") << u"7"_s << 7;
        QTest::newRow("20") << u"20"_s << 20;
    }
    void choosingAPushButton()
    {
        QFETCH(QString, typed);
        QFETCH(int, button);
        WindowRig rig;
        QVERIFY(rig.openActive(2, imageOf(2, 5, 4)));
        rig.w().Command7->click();
        PushButtonFrame *f = rig.w().Frame3;
        const ModuleState before = rig.w().state();

        QComboBox *buttonList = byName<QComboBox>(f, "Combo2");
        QVERIFY(Typing::typeInto(buttonList, typed));
        QCOMPARE(buttonList->currentText(), button ? typed : QString());
        byName<QRadioButton>(f, "Option5")->click();
        byName<QRadioButton>(f, "Option8")->click();
        byName<QPushButton>(f, "Command3")->click();
        ModuleState expected = before;
        if (button) {
            expected.VelanoImage.set(button - 1, NoFunction);
            expected.VelanoImage.set(button + 19, NoFunction);
        }
        QVERIFY(Images::sameImages(rig.w().state(), expected));
        QCOMPARE(cell(f, button ? button : 1, 1), button ? u"***"_s : u"Uitgang 6"_s);
    }

    // The output and scene of a function: a typed entry of the list is stored by "<-- Invoegen",
    // anything else is emptied and the function stays as it was.
    void choosingAnOutputOrAScene_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("slot");  // of push button 4
        QTest::addColumn<int>("value"); // in that slot after "<-- Invoegen"
        QTest::addColumn<QString>("table");
        const QString none = u"***"_s;
        QTest::newRow("output 13, relay")
            << 0 << u"Option3"_s << u"Combo3"_s << u"13"_s << 3 << NoFunction << none;
        QTest::newRow("output 12, relay")
            << 0 << u"Option3"_s << u"Combo3"_s << u"12"_s << 3 << 11 << u"Uitgang 12"_s;
        QTest::newRow("output 5, dim")
            << 1 << u"Option3"_s << u"Combo3"_s << u"5"_s << 3 << NoFunction << none;
        QTest::newRow("scene 25") << 0 << u"Option4"_s << u"Combo4"_s << u"25"_s << 3 << NoFunction << none;
        QTest::newRow("scene 20") << 0 << u"Option4"_s << u"Combo4"_s << u"20"_s << 3 << 69 << u"Sfeer 20"_s;
        QTest::newRow("2nd output x, Velano")
            << 2 << u"Option6"_s << u"Combo5"_s << u"x"_s << 23 << NoFunction << none;
        QTest::newRow("2nd output 9, Velano")
            << 2 << u"Option6"_s << u"Combo5"_s << u"9"_s << 23 << NoFunction << none;
        QTest::newRow("2nd output 8, Velano")
            << 2 << u"Option6"_s << u"Combo5"_s << u"8"_s << 23 << 7 << u"Uitgang 8"_s;
        QTest::newRow("2nd scene 0") << 1 << u"Option7"_s << u"Combo6"_s << u"0"_s << 23 << NoFunction
                                     << none;
        QTest::newRow("2nd scene 13")
            << 1 << u"Option7"_s << u"Combo6"_s << u"13"_s << 23 << 62 << u"Sfeer 13"_s;
    }
    void choosingAnOutputOrAScene()
    {
        QFETCH(int, type);
        QFETCH(QString, option);
        QFETCH(QString, list);
        QFETCH(QString, typed);
        QFETCH(int, slot);
        QFETCH(int, value);
        QFETCH(QString, table);
        WindowRig rig;
        QVERIFY(rig.openActive(type, imageOf(type, NoFunction, 4)));
        rig.w().Command7->click();
        PushButtonFrame *f = rig.w().Frame3;
        QVERIFY(Typing::typeInto(byName<QComboBox>(f, "Combo2"), u"4"_s));
        f->findChild<QRadioButton *>(option)->click();
        auto *field = f->findChild<QComboBox *>(list);
        ModuleImage expected = image(rig);
        expected.set(slot, value);

        QVERIFY(Typing::typeInto(field, typed));
        QCOMPARE(field->currentText(), value == NoFunction ? QString() : typed);
        byName<QPushButton>(f, "Command3")->click();
        QCOMPARE(image(rig).value(slot), value);
        QVERIFY(image(rig) == expected);
        QCOMPARE(cell(f, 4, slot < 20 ? 1 : 2), table);
    }

    // The module type list takes no typed text: whatever is typed, it shows no type, and Enter
    // does not bring up another module page.
    void theModuleTypeList_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("x") << u"x"_s;
        QTest::newRow("Z") << u"Z"_s;
        QTest::newRow("ZK2018") << u"ZK2018"_s;
        QTest::newRow("zk2018") << u"zk2018"_s;
    }
    void theModuleTypeList()
    {
        QFETCH(QString, typed);
        WindowRig rig;
        QVERIFY(rig.openActive(1, imageOf(1, NoFunction, 4)));
        TestWindow &w = rig.w();
        QCOMPARE(w.Combo1->currentText(), u"ZK24XX_ZK3447"_s);
        w.Command7->click();

        QVERIFY(Typing::typeInto(w.Combo1, typed));
        QCOMPARE(w.Combo1->currentText(), QString());
        Typing::leave(w.Combo1, Qt::Key_Return);
        QCOMPARE(w.Combo1->currentText(), QString());
        QCOMPARE(byName<QLabel>(w.Frame11, "Label2")->text(), u"Dimmodule"_s);
        QCOMPARE(w.Frame11->shown().type, 1);
        QVERIFY(w.isShown(w.Frame3));
    }

    // Every editable list of the window, in every panel: text outside the list never makes it
    // show an entry it did not show before, and neither the typing nor Enter after it changes
    // the image or the panel shown.
    void everyEditableList()
    {
        ModuleImage relay = imageOf(0, 3, 5); // a typed time outside the list stores 2,5 s: no change
        ModuleImage dim = imageOf(1, 2, 5);
        for (int slot = 42; slot <= 45; ++slot)
            dim.set(slot, slot - 40);
        WindowRig rig;
        QVERIFY(rig.openActive(0, relay));
        TestWindow &w = rig.w();
        QStringList faults;
        QSet<QString> typedInto;

        // Types into every editable list the window shows after `prepare`, which is run again
        // before each list so that typing into one list cannot hide the next.
        const auto typeIntoEveryList = [&](const QString &step, const std::function<void()> &prepare) {
            prepare();
            QList<QComboBox *> lists;
            for (QComboBox *list : w.findChildren<QComboBox *>())
                if (list->isEditable() && list->isVisible() && list->isEnabled()) lists << list;
            for (QComboBox *list : lists) {
                prepare();
                const QString name = step + u" - "_s + list->objectName();
                const QString before = list->currentText();
                const ModuleState state = w.state();
                QWidget *panel = w.WorkArea->currentWidget();
                if (!Typing::typeInto(list, u"zz"_s)) {
                    faults << name + u": cannot be typed into"_s;
                    continue;
                }
                Typing::leave(list, Qt::Key_Return);
                typedInto << list->objectName();
                const QString after = list->currentText();
                if (after != before && list->findText(after, Qt::MatchFixedString) >= 0)
                    faults << name + u": shows \"%1\" after typing, before \"%2\""_s.arg(after, before);
                if (!Images::sameImages(w.state(), state)) faults << name + u": the image changed"_s;
                if (w.WorkArea->currentWidget() != panel) faults << name + u": another panel is shown"_s;
            }
        };

        typeIntoEveryList(u"module page"_s, [] {});
        w.Command7->click();
        PushButtonFrame *buttons = w.Frame3;
        QComboBox *buttonList = byName<QComboBox>(buttons, "Combo2");
        typeIntoEveryList(u"push buttons, outputs first"_s, [&] {
            pick(buttonList, 2);
            byName<QRadioButton>(buttons, "Option3")->click();
            byName<QRadioButton>(buttons, "Option7")->click();
        });
        typeIntoEveryList(u"push buttons, scenes first"_s, [&] {
            pick(buttonList, 2);
            byName<QRadioButton>(buttons, "Option4")->click();
            byName<QRadioButton>(buttons, "Option6")->click();
        });
        w.Command8->click();
        typeIntoEveryList(u"second-function time"_s, [] {});
        w.Command9->click();
        OutputFunctionsFrame *outputs = w.Frame7;
        QComboBox *outputList = byName<QComboBox>(outputs, "Combo8");
        QComboBox *functionList = byName<QComboBox>(outputs, "Combo9");
        typeIntoEveryList(u"output functions"_s, [&] {
            pick(outputList, 0);
            pick(functionList, 4); // a function with a time and a linked output
        });
        w.Command10->click();
        typeIntoEveryList(u"scenes"_s, [&] { w.Frame9->selectScene(3); });
        w.Command12->click();
        DiagnosticsFrame *diagnostics = w.Frame10;
        for (int tab = 0; tab < byName<QTabWidget>(diagnostics, "SSTab1")->count(); ++tab)
            typeIntoEveryList(u"diagnostics tab %1"_s.arg(tab),
                              [&] { byName<QTabWidget>(diagnostics, "SSTab1")->setCurrentIndex(tab); });

        QVERIFY(rig.openActive(1, dim));
        w.Command9->click();
        typeIntoEveryList(u"dim start values"_s, [] {});

        for (QComboBox *list : w.findChildren<QComboBox *>())
            if (list->isEditable() && !typedInto.contains(list->objectName()))
                faults << list->objectName() + u": never typed into"_s;
        for (const QString &fault : faults)
            qWarning("%s", qPrintable(fault));
        QVERIFY2(faults.isEmpty(), "lists that took typed text, listed above");
    }
};

QTEST_MAIN(TestTyping)
#include "tst_typing.moc"
