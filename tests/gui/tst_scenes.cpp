#include "scenes/SceneFrame.h"
#include "support/WindowRig.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;

using SceneLayout::ChannelKind;

namespace {
// Opens the scene editor of a module of `type` as the installer does: the module's file (holding
// `image`, master or slave) opened, then "Sferen".
SceneFrame *openEditor(WindowRig &rig, int type, int master, ModuleImage image)
{
    image.set(ModuleTypes::MasterSlot, master);
    if (!rig.openFile(type, image)) qFatal("the module file was not opened");
    rig.w().Command10_Click();
    return rig.w().Frame9;
}
SceneFrame *openEditor(WindowRig &rig, int type, int master)
{
    return openEditor(rig, type, master, ModuleImage(ModuleTypes::info(type)->slotCount));
}

// The controls of the editor, found by their names: the scene selector, value field i (0..11)
// and its label, the group-scene caption and its choices "yes" (Option9) and "no" (Option10).
QComboBox *selector(SceneFrame *f)
{
    return byName<QComboBox>(f, "Combo25");
}
QComboBox *field(SceneFrame *f, int i)
{
    return byName<QComboBox>(f, qPrintable(QStringLiteral("Combo12_%1").arg(i)));
}
QLabel *fieldLabel(SceneFrame *f, int i)
{
    return byName<QLabel>(f, qPrintable(QStringLiteral("Label12_%1").arg(i)));
}
QLabel *groupCaption(SceneFrame *f)
{
    return byName<QLabel>(f, "Label11");
}
QRadioButton *yes(SceneFrame *f)
{
    return byName<QRadioButton>(f, "Option9");
}
QRadioButton *no(SceneFrame *f)
{
    return byName<QRadioButton>(f, "Option10");
}

// The group-scene flag of scene `scene` (0..19): the slot after the scene's outputs (relay: 12
// outputs a scene from slot 80, dim: 4 from slot 50, Velano: 8 from slot 50).
int groupFlag(int type, int scene)
{
    return type == 1 ? 54 + 5 * scene : type == 2 ? 58 + 9 * scene : 92 + 13 * scene;
}

// An image of `type` with a mix of codes the lists hold and codes they do not.
ModuleImage mixed(int type)
{
    ModuleImage image(ModuleTypes::info(type)->slotCount);
    for (int slot = 0; slot < image.size(); ++slot)
        image.set(slot, (slot * 7) % 13);
    return image;
}
} // namespace

class TestScenes : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void opening_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("labels"); // per field; empty: hidden
        QTest::addColumn<QList<int>>("listSizes");
        const QString n;
        QStringList relay;
        for (int i = 1; i <= 12; ++i)
            relay << QStringLiteral("Uitgang %1:").arg(i);
        QTest::newRow("relay nl") << 0 << 1 << relay << QList<int>(12, 4);
        QTest::newRow("dim fr") << 1 << 2 << QStringList{n, u"Sortie 1:"_s, n, u"Sortie 2:"_s, n, n,
                                                         n, u"Sortie 3:"_s, n, u"Sortie 4:"_s, n, n}
                                << QList<int>{0, 12, 0, 12, 0, 0, 0, 12, 0, 12, 0, 0};
        QTest::newRow("Velano nl") << 2 << 1 << QStringList{u"Dim 1:"_s,    u"Dim 2:"_s,    n,
                                                            u"Relais 5:"_s, u"Relais 6:"_s, n,
                                                            u"Dim 3:"_s,    u"Dim 4:"_s,    n,
                                                            u"Relais 7:"_s, u"Relais 8:"_s, n}
                                   << QList<int>{12, 12, 0, 4, 4, 0, 12, 12, 0, 4, 4, 0};
    }
    void opening()
    {
        QFETCH(int, type);
        QFETCH(int, language);
        QFETCH(QStringList, labels);
        QFETCH(QList<int>, listSizes);
        WindowRig rig({.country = language == 1 ? " 1 \r\n" : " 2 \r\n"});
        SceneFrame *f = openEditor(rig, type, 0);
        const bool dutch = language == 1;
        QVERIFY(f->isVisible());
        QCOMPARE(f->title(), dutch ? QStringLiteral("Sferen:") : QStringLiteral("Contextes:"));
        QCOMPARE(selector(f)->count(), 20);
        QCOMPARE(selector(f)->itemText(19),
                 dutch ? QStringLiteral("Sfeer 20") : QStringLiteral("Contexte 20"));
        QCOMPARE(selector(f)->currentIndex(), -1);
        QCOMPARE(selector(f)->currentText(), dutch ? QStringLiteral("Sfeer?") : QStringLiteral("Contexte?"));
        // A slave has no group line.
        QVERIFY(groupCaption(f)->isHidden() && yes(f)->isHidden() && no(f)->isHidden());
        for (int i = 0; i < 12; ++i) {
            QLabel *label = fieldLabel(f, i);
            QComboBox *combo = field(f, i);
            QCOMPARE(combo->objectName(), QStringLiteral("Combo12_%1").arg(i));
            QCOMPARE(label->buddy(), combo);
            QCOMPARE(label->isHidden(), labels[i].isEmpty());
            QCOMPARE(combo->isHidden(), labels[i].isEmpty());
            if (!labels[i].isEmpty()) {
                QCOMPARE(label->text(), labels[i]);
                QCOMPARE(combo->count(), listSizes[i]);
                QCOMPARE(combo->currentText(), QString());
                QVERIFY(!combo->isEnabled()); // nothing to edit before a scene is chosen
            }
        }
    }

    // Choosing a scene shows every stored code and writes back exactly what was there; a code
    // the field's list lacks shows an empty field; a flag neither 0 nor 1 leaves the choice.
    void choosingASceneKeepsTheImage_data()
    {
        QTest::addColumn<int>("type");
        for (int type : {0, 1, 2, 3})
            QTest::addRow("type %d", type) << type;
    }
    void choosingASceneKeepsTheImage()
    {
        QFETCH(int, type);
        WindowRig rig;
        TestWindow &w = rig.w();
        SceneFrame *f = openEditor(rig, type, 1, mixed(type));
        const ModuleState before = w.state();
        QVERIFY(!yes(f)->isChecked() && !no(f)->isChecked());
        const ModuleImage &image = *w.state().imageFor(type);
        QRadioButton *expectedChoice = nullptr;
        for (int round = 0; round < 2; ++round) {
            for (int s = 0; s < 20; ++s) {
                pick(selector(f), s);
                QCOMPARE(selector(f)->currentText(), QStringLiteral("Sfeer %1").arg(s + 1));
                for (int i : SceneLayout::showOrder(type)) {
                    const auto use = SceneLayout::fieldUse(type, i);
                    const int position = SceneLayout::positionOf(
                        type, use->kind, image.value(SceneLayout::fieldSlot(type, s, i)));
                    QCOMPARE(field(f, i)->currentIndex(), position);
                    QCOMPARE(field(f, i)->currentText(),
                             position < 0 ? QString() : SceneLayout::valueText(use->kind, position)->dutch);
                    QVERIFY(field(f, i)->isEnabled());
                }
                const int flag = image.value(groupFlag(type, s));
                if (flag == 0 || flag == 1) expectedChoice = flag == 1 ? yes(f) : no(f);
                QCOMPARE(yes(f)->isChecked(), expectedChoice == yes(f));
                QCOMPARE(no(f)->isChecked(), expectedChoice == no(f));
                QVERIFY(Images::sameImages(w.state(), before));
            }
        }
        // Slave, then master again, with the editor open: the flags stay.
        w.selectOption(w.Option2);
        QVERIFY(groupCaption(f)->isHidden() && yes(f)->isHidden());
        w.selectOption(w.Option1);
        QVERIFY(groupCaption(f)->isVisible() && yes(f)->isVisible() && no(f)->isVisible());
        QCOMPARE(groupCaption(f)->text(), QStringLiteral("--- groepsfeer ---"));
        for (int slot = 0; slot < image.size(); ++slot)
            if (slot != ModuleTypes::MasterSlot)
                QCOMPARE(image.value(slot), before.imageFor(type)->value(slot));
    }

    // "Toggle" and "***" store different codes on relay-style and dim-style channels.
    void picksStoreTheirCodes_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("slot"); // in scene 5 (index 4)
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("relay ***") << 0 << 4 << 3 << 80 + 52 + 4 << 10 << "***";
        QTest::newRow("relay toggle") << 3 << 11 << 2 << 80 + 52 + 11 << 2 << "Toggle";
        QTest::newRow("Velano relay ***") << 2 << 10 << 3 << 50 + 36 + 7 << 11 << "***";
        QTest::newRow("Velano relay toggle") << 2 << 3 << 2 << 50 + 36 + 4 << 2 << "Toggle";
        QTest::newRow("Velano dim ***") << 2 << 6 << 11 << 50 + 36 + 2 << 11 << "***";
        QTest::newRow("dim ***") << 1 << 7 << 11 << 50 + 20 + 2 << 11 << "***";
        QTest::newRow("dim toggle") << 1 << 9 << 10 << 50 + 20 + 3 << 10 << "Toggle";
        QTest::newRow("dim 30%") << 1 << 1 << 3 << 50 + 20 << 3 << "30%";
    }
    void picksStoreTheirCodes()
    {
        QFETCH(int, type);
        QFETCH(int, field);
        QFETCH(int, position);
        QFETCH(int, slot);
        QFETCH(int, code);
        QFETCH(QString, text);
        WindowRig rig;
        TestWindow &w = rig.w();
        SceneFrame *f = openEditor(rig, type, 1);
        ModuleImage &image = *w.state().currentImage();
        pick(selector(f), 4);
        pick(::field(f, field), position);
        QCOMPARE(image.value(slot), code);
        yes(f)->click();
        QCOMPARE(image.value(groupFlag(type, 4)), 1);
        no(f)->click();
        QCOMPARE(image.value(groupFlag(type, 4)), 0);
        const ModuleImage after = image;
        for (int round = 0; round < 2; ++round) {
            pick(selector(f), 5);
            pick(selector(f), 4);
            QCOMPARE(::field(f, field)->currentText(), text);
            QVERIFY(no(f)->isChecked());
        }
        QVERIFY(image == after);
        // A flag neither 0 nor 1 keeps the previous choice on show, unwritten; clicking that
        // choice stores it.
        const int strayFlag = groupFlag(type, 6);
        image.set(strayFlag, 7);
        pick(selector(f), 6);
        QVERIFY(no(f)->isChecked());
        QCOMPARE(image.value(strayFlag), 7);
        no(f)->click();
        QCOMPARE(image.value(strayFlag), 0);
    }

    void typedTextGivesWay()
    {
        WindowRig rig({.country = " 2 \r\n"});
        TestWindow &w = rig.w();
        ModuleImage file(ModuleTypes::VelanoSlots);
        file.set(50 + 9 * 2 + 5, 1); // scene 3, Velano relay channel 6 (field 4): ON
        file.set(50 + 9 * 2 + 0, 7); // scene 3, dim channel 1 (field 0): 70%
        file.set(50 + 9 * 2 + 6, 5); // scene 3, relay channel 7 (field 9): no such entry
        SceneFrame *f = openEditor(rig, 2, 0, file);
        ModuleImage &image = w.state().VelanoImage;
        const ModuleImage before = image;
        QTest::keyClicks(selector(f)->lineEdit(), QStringLiteral("Contexte 3"));
        QCOMPARE(selector(f)->currentText(), QStringLiteral("Contexte?"));
        QCOMPARE(f->selectedScene(), -1);

        pick(selector(f), 2);
        QCOMPARE(field(f, 9)->currentText(), QString()); // unknown code: shown empty, kept
        QTest::keyClicks(field(f, 4)->lineEdit(), QStringLiteral("OFF"));
        QCOMPARE(field(f, 4)->currentText(), QStringLiteral("ON"));
        QTest::keyClicks(field(f, 0)->lineEdit(), QStringLiteral("x"));
        QCOMPARE(field(f, 0)->currentText(), QStringLiteral("70%"));
        QTest::keyClicks(field(f, 9)->lineEdit(), QStringLiteral("abc"));
        QCOMPARE(field(f, 9)->currentText(), QStringLiteral("abc"));
        QVERIFY(image == before);
        // Only a pick replaces the unknown code.
        pick(field(f, 9), 3);
        QCOMPARE(image.value(50 + 9 * 2 + 6), 11);

        // Typing into the selector again leaves no scene chosen: the fields go empty and idle.
        QTest::keyClicks(selector(f)->lineEdit(), QStringLiteral("x"));
        QCOMPARE(selector(f)->currentText(), QStringLiteral("Contexte?"));
        QCOMPARE(f->selectedScene(), -1);
        QVERIFY(!field(f, 4)->isEnabled() && field(f, 4)->currentText().isEmpty());
    }

    // A field showing a code its list lacks keeps what is typed into it, even the exact text of
    // an entry: neither Enter nor leaving the field makes that a pick. Only a pick writes.
    void typedEntryTextIsNoPick_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("slot"); // in scene 2 (index 1)
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("leave"); // the key the installer leaves the text with
        QTest::newRow("relay, Enter") << 0 << 3 << 80 + 13 + 3 << 5 << "Aan" << int(Qt::Key_Return);
        QTest::newRow("relay, Tab") << 0 << 3 << 80 + 13 + 3 << 5 << "Aan" << int(Qt::Key_Tab);
        QTest::newRow("dim, Enter") << 1 << 7 << 50 + 5 + 2 << 40 << "Toggle" << int(Qt::Key_Enter);
        QTest::newRow("dim, Tab") << 1 << 7 << 50 + 5 + 2 << 40 << "30%" << int(Qt::Key_Tab);
        QTest::newRow("Velano relay, Enter") << 2 << 9 << 50 + 9 + 6 << 10 << "***" << int(Qt::Key_Return);
        QTest::newRow("Velano relay, Tab") << 2 << 9 << 50 + 9 + 6 << 10 << "Uit" << int(Qt::Key_Tab);
    }
    void typedEntryTextIsNoPick()
    {
        QFETCH(int, type);
        QFETCH(int, field);
        QFETCH(int, slot);
        QFETCH(int, stored);
        QFETCH(QString, typed);
        QFETCH(int, leave);
        WindowRig rig;
        TestWindow &w = rig.w();
        ModuleImage file = mixed(type);
        file.set(slot, stored);
        SceneFrame *f = openEditor(rig, type, 0, file);
        ModuleImage &image = *w.state().imageFor(type);
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        pick(selector(f), 1);
        QComboBox *combo = ::field(f, field);
        QCOMPARE(combo->currentText(), QString());
        const ModuleState before = w.state();

        combo->setFocus();
        QTRY_VERIFY(combo->lineEdit()->hasFocus());
        QTest::keyClicks(combo->lineEdit(), typed);
        QTest::keyClick(combo->lineEdit(), Qt::Key(leave));
        if (leave == Qt::Key_Tab) QTRY_VERIFY(!combo->lineEdit()->hasFocus());
        QCoreApplication::processEvents();
        QCOMPARE(image.value(slot), stored);
        QVERIFY(Images::sameImages(w.state(), before));
        QCOMPARE(combo->currentIndex(), -1);
        QCOMPARE(combo->currentText(), typed);

        // Showing the scene again shows the stored code as before; a pick, with the mouse or
        // the arrow keys, then stores its code.
        pick(selector(f), 1);
        QCOMPARE(combo->currentText(), QString());
        pick(combo, 1);
        QCOMPARE(image.value(slot), 1);
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(image.value(slot), 0);
    }

    // While no scene is chosen (or the module type changed since opening) nothing is written.
    void nothingWrittenWithoutAScene()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        SceneFrame *f = openEditor(rig, 0, 1, mixed(0));
        const ModuleState before = w.state();
        QVERIFY(!yes(f)->isEnabled() && !no(f)->isEnabled());
        yes(f)->setChecked(true);
        f->selectValue(0, 1);
        // Typing into a disabled value field, should its handler run all the same.
        Q_EMIT field(f, 0)->lineEdit()->textEdited(u"x"_s);
        QVERIFY(Images::sameImages(w.state(), before));

        // Opened on a relay module, then the module type changes under the open editor.
        f->selectScene(3);
        w.state().ModuleType = 2;
        QCOMPARE(f->selectedScene(), -1);
        f->selectValue(0, 2);
        f->selectGroupChoice(false);
        f->masterSelected();
        QVERIFY(Images::sameImages(w.state(), before));

        // No module identified (an editor made on its own: the window offers none then), and a
        // language without texts: the editor opens and stays idle.
        ModuleState none = before;
        none.ModuleType = 4;
        SceneFrame f4(none);
        f4.open();
        f4.selectScene(0);
        QCOMPARE(f4.selectedScene(), -1);
        QVERIFY(Images::sameImages(none, before));
        WindowRig unknown({.country = " 3 \r\n"});
        SceneFrame *f3 = openEditor(unknown, 1, 1, mixed(1));
        const ModuleState before3 = unknown.w().state();
        QVERIFY(selector(f3)->count() == 0 && field(f3, 1)->count() == 0);
        f3->selectScene(0);
        f3->selectGroupChoice(true);
        QCOMPARE(f3->selectedScene(), -1);
        QVERIFY(Images::sameImages(w.state(), before) && Images::sameImages(unknown.w().state(), before3));
    }

    void frenchGroupLine()
    {
        WindowRig rig({.country = " 2 \r\n"});
        TestWindow &w = rig.w();
        SceneFrame *f = openEditor(rig, 1, 1);
        QCOMPARE(groupCaption(f)->text(), QStringLiteral("contexte de groupe"));
        QCOMPARE(yes(f)->text(), QStringLiteral("Qui"));
        QCOMPARE(no(f)->text(), QStringLiteral("Non"));
        QVERIFY(groupCaption(f)->isVisible() && !yes(f)->isChecked() && !no(f)->isChecked());
        // As a slave the scene is shown without its group choice; becoming master shows it.
        w.state().DimImage.set(54 + 5 * 2, 1);
        w.selectOption(w.Option2);
        QVERIFY(groupCaption(f)->isHidden() && no(f)->isHidden());
        pick(selector(f), 2);
        QVERIFY(!yes(f)->isChecked());
        w.selectOption(w.Option1);
        QCOMPARE(groupCaption(f)->text(), QStringLiteral("--- contexte de groupe ---"));
        QVERIFY(groupCaption(f)->isVisible() && yes(f)->isVisible());
        QVERIFY(yes(f)->isChecked());
        QCOMPARE(w.state().DimImage.value(54 + 5 * 2), 1);
    }
};

QTEST_MAIN(TestScenes)
#include "tst_scenes.moc"
