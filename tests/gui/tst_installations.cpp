#include "app/InstallationDialogs.h"
#include "app/Installations.h"
#include "app/Launcher.h"
#include "common/MessageBox.h"
#include "editors/EditorRules.h"
#include "files/Backups.h"
#include "installation/Installation.h"
#include "protocol/ModuleNames.h"
#include "scenes/SceneFrame.h"
#include "support/Dialogs.h"
#include "support/Find.h"
#include "support/Images.h"
#include "support/RealBoxes.h"
#include "support/Typing.h"
#include "support/WindowRig.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <functional>

using namespace Qt::StringLiterals;

namespace {
// A module image of `type` that differs in every slot per seed, master.
ModuleImage image(int type, int seed)
{
    ModuleImage image = Images::pattern(type, seed);
    image.set(ModuleTypes::MasterSlot, 1);
    return image;
}
ModuleImage relayImage(int seed)
{
    return image(0, seed);
}

struct Rig : WindowRig
{
    using WindowRig::WindowRig;

    Installations &inst() { return *w().installations(); }
    const Installation &installation() { return *inst().installation(); }
    QTreeWidget *panel() { return byName<QTreeWidget>(window.get(), "modulesLijst"); }
    QDockWidget *dock() { return byName<QDockWidget>(window.get(), "installatiePaneel"); }
    QString changedField() { return byName<QLabel>(window.get(), "ChangedPanel")->text(); }
    QString row(int index, int column) { return panel()->topLevelItem(index)->text(column); }

    // "Nieuwe installatie...", its name typed into the properties dialog, then OK.
    bool newInstallation(const QString &name)
    {
        return answering<PropertiesDialog>(
            u"Eigenschappen"_s,
            [name](PropertiesDialog *dialog) {
                auto *field = byName<QLineEdit>(dialog, "naam");
                field->selectAll();
                QTest::keyClicks(field, name);
                byName<QDialogButtonBox>(dialog, "knoppen")->button(QDialogButtonBox::Ok)->click();
            },
            [this] { action("nieuweInstallatie")->trigger(); });
    }
    // Module files written into the rig's folder and imported through the dialog.
    void import(const QStringList &names)
    {
        QStringList quoted;
        for (const QString &n : names)
            quoted << u"\"%1\""_s.arg(n);
        QVERIFY(answerFileDialog(u"ModulesImporterenDialog"_s, quoted.join(u' '),
                                 [this] { action("modulesImporteren")->trigger(); }));
    }
    // An installation "Huis" of relay modules a, b (and more) imported from files.
    void makeInstallation(const QStringList &names = {u"a"_s, u"b"_s})
    {
        QVERIFY(newInstallation(u"Huis"_s));
        QStringList files;
        int seed = 1;
        for (const QString &n : names) {
            QVERIFY(!writeFile(0, relayImage(seed++), n + u".QV1"_s).isEmpty());
            files << n + u".QV1"_s;
        }
        import(files);
        QCOMPARE(int(installation().modules.size()), int(names.size()));
        // The window is the active one again once the dialogs have closed.
        QVERIFY(Typing::activate(window.get()));
    }
    // The installer clicks the panel's row of module `index`.
    void choose(int index)
    {
        QTreeWidgetItem *item = panel()->topLevelItem(index);
        QVERIFY(item);
        panel()->scrollToItem(item);
        // On the row's name: the row itself may reach beyond what the panel shows.
        const QPoint name(panel()->columnViewportPosition(0) + panel()->columnWidth(0) / 2,
                          panel()->visualItemRect(item).center().y());
        QTest::mouseClick(panel()->viewport(), Qt::LeftButton, {}, name);
        QCoreApplication::processEvents(); // the window answers once the click is over
    }
    bool saveAs(const QString &name)
    {
        return answerFileDialog(u"InstallatieOpslaanDialog"_s, name,
                                [this] { action("installatieOpslaanAls")->trigger(); });
    }
    int masterOf(int module)
    {
        return installation().modules[size_t(module)].image.value(ModuleTypes::MasterSlot);
    }
};
} // namespace

class TestInstallations : public QObject
{
    Q_OBJECT
    int m_quits = 0;

private Q_SLOTS:
    void init()
    {
        m_quits = 0;
        Launcher::setQuitter([this] { ++m_quits; });
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }
    void cleanup() { Launcher::setQuitter({}); }

    // The module in the window becomes a module of a new installation: the panel names it in the
    // window's language, the title names installation and module, and "Module Opslaan" is off.
    void moduleInHandJoinsAnInstallation_data()
    {
        QTest::addColumn<QByteArray>("country");
        QTest::addColumn<QString>("state");
        QTest::newRow("Dutch") << " 1 \r\n"_ba << u"nooit gelezen"_s;
        QTest::newRow("French") << " 2 \r\n"_ba << u"jamais lu"_s;
    }
    void moduleInHandJoinsAnInstallation()
    {
        QFETCH(QByteArray, country);
        QFETCH(QString, state);
        Rig rig({.country = country});
        QVERIFY(Typing::activate(rig.window.get()));
        QVERIFY(!rig.dock()->isVisible());
        QVERIFY(!rig.action("moduleToevoegen")->isEnabled());
        QVERIFY(!rig.action("installatieOpslaan")->isEnabled());
        // Esc on the properties of a new installation opens none.
        QVERIFY(answering<PropertiesDialog>(
            u"Eigenschappen"_s, [](PropertiesDialog *d) { QTest::keyClick(d, Qt::Key_Escape); },
            [&] { rig.action("nieuweInstallatie")->trigger(); }));
        QVERIFY(!rig.inst().isOpen());
        QVERIFY(rig.newInstallation(u"Woning Peeters"_s));
        QVERIFY(rig.dock()->isVisible());
        QVERIFY(rig.openFile(0, relayImage(3), u"kelder.QV1"_s));
        rig.action("moduleToevoegen")->trigger();
        QCOMPARE(rig.panel()->topLevelItemCount(), 1);
        QCOMPARE(rig.row(0, 0), u"kelder"_s);
        QCOMPARE(rig.row(0, 2), QString::fromLatin1(ModuleTypes::info(0)->comboEntry));
        QCOMPARE(rig.row(0, 3), state);
        QCOMPARE(rig.inst().inHand(), 0);
        QCOMPARE(rig.w().windowTitle(), u"QV Velano  -  Woning Peeters  -  kelder"_s);
        QVERIFY(!rig.action("Bewaren")->isEnabled());
        QVERIFY(rig.action("moduleExporteren")->isEnabled());
        QCOMPARE(rig.installation().modules[0].image, relayImage(3));
        QVERIFY(rig.inst().isUnsaved());
        QVERIFY(rig.changedField().isEmpty());
    }

    // "Eigenschappen...": what is typed is stored as plain text within its limits; Esc keeps what
    // was there.
    void propertiesAreEdited()
    {
        Rig rig;
        QVERIFY(Typing::activate(rig.window.get()));
        rig.makeInstallation({u"a"_s});
        QVERIFY(rig.saveAs(u"huis"_s));
        const auto properties = [&](const std::function<void(PropertiesDialog *)> &answer) {
            QVERIFY(answering<PropertiesDialog>(u"Eigenschappen"_s, answer,
                                                [&] { rig.action("eigenschappen")->trigger(); }));
        };
        properties([](PropertiesDialog *d) {
            byName<QLineEdit>(d, "adres")->setText(u"gewijzigd"_s);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        QVERIFY(rig.installation().address.isEmpty());
        QVERIFY(!rig.inst().isUnsaved());
        properties([](PropertiesDialog *d) {
            auto *address = byName<QLineEdit>(d, "adres");
            address->setFocus();
            QTest::keyClicks(address, u"Kerkstraat 1, Gent"_s + QString(90, u'x'));
            byName<QPlainTextEdit>(d, "notities")
                ->setPlainText(u"Sleutel\tbij de buren\nAlarm \u0007 1234"_s);
            byName<QDialogButtonBox>(d, "knoppen")->button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(rig.installation().address.size(), InstallationFormat::MaxNameLength);
        QVERIFY(rig.installation().address.startsWith(u"Kerkstraat 1, Gent"_s));
        QCOMPARE(rig.installation().notes, u"Sleutel bij de buren\nAlarm  1234"_s);
        QVERIFY(rig.inst().isUnsaved());
    }

    // Saved, closed and opened again, an installation gives the same bytes; a module file that
    // cannot be imported is named and the others come in.
    void savedInstallationReopensUnchanged()
    {
        Rig rig;
        QVERIFY(Typing::activate(rig.window.get()));
        QVERIFY(rig.newInstallation(u"Huis"_s));
        QVERIFY(!rig.writeFile(0, relayImage(1), u"a.QV1"_s).isEmpty());
        QVERIFY(!rig.writeFile(1, image(1, 2), u"b.QV1"_s).isEmpty());
        rig.home.write(u"kapot.QV1"_s, " 0 \r\n 1 \r\n"_ba);
        rig.import({u"a.QV1"_s, u"kapot.QV1"_s, u"b.QV1"_s});
        QCOMPARE(rig.panel()->topLevelItemCount(), 2);
        QVERIFY(MessageBox::lastText().contains(u"kapot.QV1"_s));
        QVERIFY(rig.saveAs(u"huis"_s));
        const QString path = rig.home.file(u"huis.qvi"_s);
        const QByteArray saved = rig.bytes(path);
        QVERIFY(saved.startsWith("{"));
        QVERIFY(!rig.inst().isUnsaved());
        const int backups = int(Backups::listReplaced().size());
        rig.action("installatieOpslaan")->trigger();
        QCOMPARE(rig.bytes(path), saved);
        QCOMPARE(int(Backups::listReplaced().size()), backups); // unchanged bytes: no copy kept
        const int shown = MessageBox::shownCount();
        rig.action("installatieSluiten")->trigger();
        QCOMPARE(MessageBox::shownCount(), shown); // nothing unsaved: no question
        QVERIFY(!rig.inst().isOpen());
        QVERIFY(!rig.dock()->isVisible());

        rig.action("recenteInstallatie1")->trigger();
        QVERIFY(rig.inst().isOpen());
        // A damaged installation file is named with its first problem and changes nothing.
        rig.home.write(u"kapot.qvi"_s, R"({"format": "qv-installation", "version": 1, "name": 5})"_ba);
        QVERIFY(answerFileDialog(u"InstallatieOpenenDialog"_s, u"kapot.qvi"_s,
                                 [&] { rig.action("installatieOpenen")->trigger(); }));
        QVERIFY(MessageBox::lastText().contains(u"kapot.qvi"_s));
        QCOMPARE(rig.inst().path(), path);
        QVERIFY(Typing::activate(rig.window.get()));
        rig.choose(1);
        QCOMPARE(rig.inst().inHand(), 1);
        QCOMPARE(rig.w().state().ModuleType, 1);
        QCOMPARE(rig.w().state().DimImage, image(1, 2));
        QCOMPARE(rig.w().windowTitle(), u"QV Velano  -  "_s + QDir::toNativeSeparators(path) + u"  -  b"_s);
        rig.action("installatieOpslaan")->trigger();
        QCOMPARE(rig.bytes(path), saved);
    }

    // Each module keeps its own undo history; the changed field counts choosing a module as
    // opening it and saving the installation as saving it.
    void editsAndUndoStayWithTheirModule()
    {
        Rig rig;
        QVERIFY(Typing::activate(rig.window.get()));
        rig.makeInstallation();
        rig.choose(0);
        QCOMPARE(rig.masterOf(0), 1);
        rig.w().selectOption(rig.w().Option2);
        QCOMPARE(rig.masterOf(0), 0);
        QVERIFY(!rig.changedField().isEmpty());
        rig.choose(1);
        QVERIFY(rig.changedField().isEmpty());
        QVERIFY(!rig.action("ongedaan")->isEnabled());
        rig.w().selectOption(rig.w().Option2);
        QCOMPARE(rig.masterOf(1), 0);
        rig.action("ongedaan")->trigger();
        QCOMPARE(rig.masterOf(1), 1);
        QCOMPARE(rig.masterOf(0), 0);
        QVERIFY(rig.w().Option1->isChecked());
        rig.choose(0);
        QVERIFY(rig.w().Option2->isChecked());
        QVERIFY(rig.action("ongedaan")->isEnabled());
        rig.action("ongedaan")->trigger();
        QCOMPARE(rig.masterOf(0), 1);
        QVERIFY(!rig.changedField().isEmpty());
        rig.action("opnieuw")->trigger();
        QCOMPARE(rig.masterOf(0), 0);
        QVERIFY(rig.changedField().isEmpty()); // as it was when chosen
        rig.w().selectOption(rig.w().Option1);
        QVERIFY(!rig.changedField().isEmpty());
        QVERIFY(rig.saveAs(u"huis"_s));
        QVERIFY(rig.changedField().isEmpty());
        // The history survives saving and choosing.
        rig.choose(1);
        rig.choose(0);
        QVERIFY(rig.action("ongedaan")->isEnabled());
    }

    // An image in hand with edits in no module and no file is not replaced by a module of the
    // installation without the installer's word; Esc stays.
    void looseEditsAreAskedAbout()
    {
        Rig rig;
        QVERIFY(Typing::activate(rig.window.get()));
        rig.makeInstallation({u"a"_s});
        QVERIFY(rig.openFile(0, relayImage(7), u"los.QV1"_s));
        rig.w().selectOption(rig.w().Option2);
        MessageBox::setAutoAnswer(false);
        {
            RealBoxes boxes({RealBoxes::escape()});
            rig.choose(0);
            QCOMPARE(boxes.shown(), 1);
            QCOMPARE(boxes.texts().first(),
                     u"De module in het venster is gewijzigd en nog niet verstuurd of bewaard. "
                     u"Toch een module van de installatie tonen?"_s);
        }
        QCOMPARE(rig.inst().inHand(), -1);
        QVERIFY(rig.panel()->selectedItems().isEmpty());
        QCOMPARE(rig.w().state().RelayImage.value(ModuleTypes::MasterSlot), 0);
        {
            RealBoxes boxes({RealBoxes::click(u"Niet bewaren"_s)});
            rig.choose(0);
            QCOMPARE(boxes.shown(), 1);
        }
        QCOMPARE(rig.inst().inHand(), 0);
        QCOMPARE(rig.w().state().RelayImage, relayImage(1));
    }

    // After a read the installer says which module it was: a new one, one of the list (its
    // unsent edits never overwritten without a word), or none.
    void readIsAssignedByTheInstaller()
    {
        Rig rig;
        QVERIFY(Typing::activate(rig.window.get()));
        QVERIFY(rig.newInstallation(u"Huis"_s));
        rig.attach(0, 1);
        const auto readAnswering = [&](const std::function<void(AssignDialog *)> &answer) {
            return answering<AssignDialog>(u"Toewijzen"_s, answer, [&] { QVERIFY(rig.read()); });
        };
        QVERIFY(readAnswering([](AssignDialog *d) { byName<QPushButton>(d, "nieuweModule")->click(); }));
        QCOMPARE(rig.panel()->topLevelItemCount(), 1);
        QCOMPARE(rig.inst().inHand(), 0);
        QVERIFY(rig.row(0, 3).startsWith(u"gelezen "_s));
        rig.w().selectOption(rig.w().Option2);
        QCOMPARE(rig.row(0, 3), u"gewijzigd, niet verstuurd"_s);

        // Read again: the only candidate is preselected; Esc on the version question keeps the
        // installation's edits, which are back in the window.
        MessageBox::setAutoAnswer(false);
        {
            RealBoxes boxes({RealBoxes::escape()});
            QVERIFY(readAnswering([](AssignDialog *d) {
                auto *list = byName<QListWidget>(d, "kandidaten");
                QCOMPARE(list->count(), 1);
                QVERIFY(list->currentItem());
                QVERIFY(list->currentItem()->text().contains(u"geen verschillen"_s));
                byName<QPushButton>(d, "dezeModule")->click();
            }));
            QCOMPARE(boxes.shown(), 1);
        }
        QCOMPARE(rig.masterOf(0), 0);
        QCOMPARE(rig.w().state().RelayImage.value(ModuleTypes::MasterSlot), 0);
        QCOMPARE(rig.row(0, 3), u"gewijzigd, niet verstuurd"_s);

        // The module's version taken: the installation's image goes to the backups.
        const int backups = int(Backups::list().size());
        {
            RealBoxes boxes({RealBoxes::click(u"Die van de module (gelezen)"_s)});
            QVERIFY(readAnswering([](AssignDialog *d) { byName<QPushButton>(d, "dezeModule")->click(); }));
            QCOMPARE(boxes.shown(), 1);
        }
        QCOMPARE(rig.masterOf(0), 1);
        QVERIFY(rig.row(0, 3).startsWith(u"gelezen "_s));
        QCOMPARE(int(Backups::list().size()), backups + 2); // the read's own backup and the replaced image

        // Esc: not in the installation, which stays as it was.
        const QByteArray before = installationContent(rig.installation());
        QVERIFY(readAnswering([](AssignDialog *d) { QTest::keyClick(d, Qt::Key_Escape); }));
        QCOMPARE(installationContent(rig.installation()), before);
        QCOMPARE(rig.inst().inHand(), -1);
    }

    // "Versturen" with a module of the installation names it first; Esc sends nothing. A send
    // that reaches its end is recorded.
    void sendIsAskedAndRecorded()
    {
        Rig rig;
        QVERIFY(Typing::activate(rig.window.get()));
        rig.makeInstallation({u"kelder"_s});
        rig.choose(0);
        // The place typed into the panel's cell.
        QTreeWidget *panel = rig.panel();
        const QPoint placeCell = panel->visualRect(panel->model()->index(0, 1)).center();
        QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, placeCell);
        QTest::keyClick(panel, Qt::Key_F2);
        QLineEdit *editor = nullptr;
        QTRY_VERIFY((editor = panel->viewport()->findChild<QLineEdit *>()) && editor->isVisible());
        QTest::keyClicks(editor, u"Kelder, kast 2"_s);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(rig.installation().modules[0].place, u"Kelder, kast 2"_s);
        rig.attach(0, 1);
        rig.link.takeWritten();
        MessageBox::setAutoAnswer(false);
        {
            RealBoxes boxes({RealBoxes::escape()});
            rig.w().Command2->click();
            QCOMPARE(boxes.shown(), 1);
            QCOMPARE(boxes.texts().first(), u"Module 'kelder' (Kelder, kast 2) versturen?"_s);
        }
        QVERIFY(!rig.w().conversation().isRunning());
        QVERIFY(rig.link.written().isEmpty());
        {
            RealBoxes boxes({RealBoxes::click(u"Versturen"_s)});
            rig.w().Command2->click();
            rig.module->announce();
            QTRY_COMPARE(rig.w().Text1->text(), u"Ready"_s);
        }
        QCOMPARE(rig.module->image(), rig.installation().modules[0].image);
        QVERIFY(rig.row(0, 3).startsWith(u"verstuurd "_s));
        QCOMPARE(rig.installation().modules[0].sendOutcome, u"verstuurd"_s);

        // With "Controleren na versturen" the check is recorded too.
        MessageBox::setAutoAnswer(true);
        rig.action("Controleren")->trigger();
        rig.w().Command2->click(); // the question's default: send
        rig.module->announce();
        QTRY_VERIFY(rig.w().conversation().isChecking());
        rig.module->announce();
        QTRY_COMPARE(rig.installation().modules[0].checkOutcome, u"controle: gelijk"_s);
        QVERIFY(rig.row(0, 3).startsWith(u"verstuurd en gecontroleerd "_s));

        // A check that finds a difference names the push button with its name.
        EditStep named;
        named.names = {{1, 1, QString(), u"Voordeur"_s}};
        rig.inst().applyNames(named, false);
        rig.w().Command2->click();
        rig.module->announce();
        QTRY_VERIFY(rig.w().conversation().isChecking());
        rig.module->memory[size_t(EditorRules::firstFunctionSlot(1))] = 42;
        rig.module->announce();
        QTRY_COMPARE(rig.installation().modules[0].checkOutcome, u"controle: verschillen"_s);
        QVERIFY2(MessageBox::lastText().contains(u"Drukknop 1 – Voordeur, 1ste functie: "_s),
                 qPrintable(MessageBox::lastText()));
    }

    // Export writes what "Module Opslaan als" writes; duplicating makes a module nothing is
    // known of; removing asks, and Esc keeps the module.
    void exportDuplicateRemove()
    {
        Rig rig;
        QVERIFY(Typing::activate(rig.window.get()));
        rig.makeInstallation({u"a"_s});
        rig.choose(0);
        QVERIFY(answering<SaveDialog>(
            u"Form3"_s,
            [](SaveDialog *d) {
                byName<QLineEdit>(d, "Text1")->setText(u"uit"_s);
                byName<QPushButton>(d, "Command1")->click();
            },
            [&] { rig.action("moduleExporteren")->trigger(); }));
        rig.saveAs(u"huis"_s);
        rig.WindowRig::saveAs(u"zelf"_s);
        QCOMPARE(rig.bytes(rig.home.file(u"uit.QV1"_s)), rig.bytes(rig.home.file(u"zelf.QV1"_s)));

        // Saved under a name, the image in hand is that file's now; back to the module.
        rig.choose(0);
        rig.action("moduleDupliceren")->trigger();
        QCOMPARE(rig.panel()->topLevelItemCount(), 2);
        QCOMPARE(rig.row(1, 0), u"a (kopie)"_s);
        QCOMPARE(rig.row(1, 3), u"nooit gelezen"_s);
        QVERIFY(rig.installation().modules[1].id != rig.installation().modules[0].id);

        MessageBox::setAutoAnswer(false);
        {
            RealBoxes boxes({RealBoxes::escape()});
            rig.action("moduleVerwijderen")->trigger();
            QCOMPARE(boxes.shown(), 1);
        }
        QCOMPARE(rig.panel()->topLevelItemCount(), 2);
        {
            RealBoxes boxes({RealBoxes::click(u"Verwijderen"_s)});
            rig.action("moduleVerwijderen")->trigger();
        }
        QCOMPARE(rig.panel()->topLevelItemCount(), 1);
        QCOMPARE(rig.row(0, 0), u"a (kopie)"_s);
        QCOMPARE(rig.inst().inHand(), -1);
        QVERIFY(!rig.w().Command2->isEnabled());
    }

    // Leaving asks once about everything unsaved; Esc stays, and a cancelled save of an
    // installation never saved keeps the program open.
    void leavingAsksOnce()
    {
        Rig rig;
        QVERIFY(Typing::activate(rig.window.get()));
        rig.makeInstallation({u"a"_s});
        MessageBox::setAutoAnswer(false);
        {
            RealBoxes boxes({RealBoxes::escape()});
            rig.action("Einde")->trigger();
            QCOMPARE(boxes.shown(), 1);
            QCOMPARE(boxes.texts().first(),
                     u"De installatie is gewijzigd en nog niet bewaard. Toch afsluiten?"_s);
        }
        QCOMPARE(m_quits, 0);
        {
            RealBoxes boxes({RealBoxes::click(u"Bewaren"_s)});
            // The file dialog of a never-saved installation closed without a name.
            QVERIFY(answerFileDialog(u"InstallatieOpslaanDialog"_s, QString(),
                                     [&] { rig.action("Einde")->trigger(); }));
            QCOMPARE(boxes.shown(), 1);
        }
        QCOMPARE(m_quits, 0);
        QVERIFY(rig.w().isVisible());
        // Leaving without saving on purpose leaves no copy to offer at the next start.
        rig.inst().writeRecoveryCopy();
        QCOMPARE(InstallationRecovery::unsavedCopies().size(), 1);
        {
            RealBoxes boxes({RealBoxes::click(u"Afsluiten zonder bewaren"_s)});
            rig.action("Einde")->trigger();
            QCOMPARE(boxes.shown(), 1);
        }
        QCOMPARE(m_quits, 1);
        QVERIFY(InstallationRecovery::unsavedCopies().isEmpty());
    }

    // Names are typed in place: Enter and leaving the cell store, Esc puts the cell back; each
    // name is a step of the module's history, and the installation keeps it.
    void namesAreTypedInPlace()
    {
        Rig rig;
        QVERIFY(Typing::activate(rig.window.get()));
        // Push button 13 switches output 5 and calls scene 2; push button 14 output 6.
        ModuleImage planned = relayImage(1);
        planned.set(EditorRules::firstFunctionSlot(13), 4);
        planned.set(EditorRules::secondFunctionSlot(13), 51);
        planned.set(EditorRules::firstFunctionSlot(14), 5);
        QVERIFY(rig.newInstallation(u"Huis"_s));
        QVERIFY(!rig.writeFile(0, planned, u"a.QV1"_s).isEmpty());
        rig.import({u"a.QV1"_s});
        QVERIFY(Typing::activate(rig.window.get()));
        auto *names = byName<QPushButton>(rig.window.get(), "namenKnop");
        QVERIFY(!names->isVisible());
        rig.choose(0);
        QVERIFY(names->isVisible() && names->isEnabled());
        names->click();
        auto *outputs = byName<QTableWidget>(rig.window.get(), "uitgangNamen");
        auto *buttons = byName<QTableWidget>(rig.window.get(), "drukknopNamen");
        auto *scenes = byName<QTableWidget>(rig.window.get(), "sfeerNamen");
        QVERIFY(buttons->isVisible());
        QCOMPARE(outputs->rowCount(), 12);
        QCOMPARE(buttons->rowCount(), 20);
        QCOMPARE(scenes->item(1, 0)->text(), u"Sfeer 2"_s);
        // Typed into a cell of a table: the first key opens the cell's field.
        const auto type = [](QTableWidget *table, int row, const QString &text) -> QWidget * {
            table->scrollToItem(table->item(row, 1));
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                              table->visualItemRect(table->item(row, 1)).center());
            QTest::keyClicks(table, text.left(1));
            QLineEdit *field = nullptr;
            if (!QTest::qWaitFor([&] {
                    return (field = table->viewport()->findChild<QLineEdit *>()) && field->isVisible();
                }))
                return table; // the key goes nowhere: the checks below fail
            QTest::keyClicks(field, text.mid(1));
            return field;
        };
        QTest::keyClick(type(buttons, 12, u"Voordeur <b>x</b>"_s), Qt::Key_Return);
        QTRY_COMPARE(rig.installation().modules[0].names.pushButtons[12], u"Voordeur <b>x</b>"_s);
        type(scenes, 1, u"TV-avond"_s);
        QTest::mouseClick(scenes->viewport(), Qt::LeftButton, {},
                          scenes->visualItemRect(scenes->item(3, 1)).center());
        QTRY_COMPARE(rig.installation().modules[0].names.scenes[1], u"TV-avond"_s);
        QTest::keyClick(type(outputs, 4, u"weg"_s), Qt::Key_Escape);
        QTest::qWait(50);
        QCOMPARE(outputs->item(4, 1)->text(), QString());
        QCOMPARE(rig.installation().modules[0].names.outputs[4], QString());
        QVERIFY(rig.inst().isUnsaved());

        QVERIFY(rig.action("ongedaan")->text().endsWith(u"Naam Sfeer 2"_s));
        rig.action("ongedaan")->trigger();
        QCOMPARE(rig.installation().modules[0].names.scenes[1], QString());
        QCOMPARE(scenes->item(1, 1)->text(), QString());
        rig.action("opnieuw")->trigger();
        QCOMPARE(scenes->item(1, 1)->text(), u"TV-avond"_s);

        // The push-button table reads them after the number.
        type(outputs, 4, u"Keuken plafond"_s);
        QTest::keyClick(type(buttons, 0, u"Gang"_s), Qt::Key_Return); // leaves the output's cell
        QTRY_COMPARE(rig.installation().modules[0].names.outputs[4], u"Keuken plafond"_s);
        rig.w().Command7_Click();
        auto *grid = byName<QTableWidget>(rig.window.get(), "Grid1");
        QCOMPARE(grid->item(13, 0)->text(), u"Nummer: 13 – Voordeur <b>x</b>"_s);
        QCOMPARE(grid->item(13, 1)->text(), u"Uitgang 5 – Keuken plafond"_s);
        QCOMPARE(grid->item(13, 2)->text(), u"Sfeer 2 – TV-avond"_s);
        QCOMPARE(grid->item(14, 1)->text(), u"Uitgang 6"_s); // no name: the number alone
        names->click();

        QVERIFY(rig.saveAs(u"huis"_s));
        rig.action("installatieSluiten")->trigger();
        rig.action("recenteInstallatie1")->trigger();
        rig.choose(0);
        names->click();
        QCOMPARE(buttons->item(12, 1)->text(), u"Voordeur <b>x</b>"_s);
        QCOMPARE(scenes->item(1, 1)->text(), u"TV-avond"_s);
    }

    // An installation module's names in every editor, in the window's language: after the
    // numbers in the tables, beside the lists (whose entries stay numbers) and in a screen
    // reader's description of the list, in the captions of dim channels and scene fields, and in
    // undo's step names. Markup and ampersands show as typed.
    void namesShownInTheEditors_data()
    {
        QTest::addColumn<QByteArray>("country");
        QTest::addColumn<QStringList>("words"); // output, scene, number, undo, name, channel
        QTest::newRow("Dutch")
            << QByteArray(" 1 \r\n")
            << QStringList{u"Uitgang "_s, u"Sfeer "_s,
                           u"Nummer: "_s, u"Ongedaan maken: Drukknop 13 – Voordeur && gang, 1ste functie"_s,
                           u"Naam"_s,     u"Kanaal 2 – Eettafel && bar:"_s};
        QTest::newRow("French")
            << QByteArray(" 2 \r\n")
            << QStringList{u"Sortie "_s,  u"Contexte "_s,
                           u"Numéro: "_s, u"Annuler : Bouton poussoir 13 – Voordeur && gang, 1ère fonction"_s,
                           u"Nom"_s,      u"Sortie 2 – Eettafel && bar:"_s};
    }
    void namesShownInTheEditors()
    {
        QFETCH(QByteArray, country);
        QFETCH(QStringList, words);
        const QString output = words[0], scene = words[1];
        RigSettings settings;
        settings.country = country;
        Rig rig(settings);
        QVERIFY(Typing::activate(rig.window.get()));
        const QString kitchen = u"Keuken <b>plafond</b>"_s;
        Installation plan;
        plan.name = u"Huis"_s;
        InstallationModule relay;
        relay.id = u"r"_s;
        relay.name = u"Kelder"_s;
        relay.image = relayImage(1);
        relay.image.set(EditorRules::firstFunctionSlot(13), 4);   // output 5
        relay.image.set(EditorRules::secondFunctionSlot(13), 51); // scene 2
        relay.names = ModuleNames::forType(0);
        relay.names.outputs[4] = kitchen;
        relay.names.pushButtons[12] = u"Voordeur & gang"_s;
        relay.names.scenes[1] = u"TV-avond"_s;
        InstallationModule dim;
        dim.id = u"d"_s;
        dim.name = u"Zolder"_s;
        dim.type = 1;
        dim.image = image(1, 2);
        dim.names = ModuleNames::forType(1);
        dim.names.outputs[1] = u"Eettafel & bar"_s;
        dim.names.scenes[0] = u"Eten"_s;
        plan.modules = {relay, dim};
        const QString path = rig.home.file(u"huis.qvi"_s);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(installationContent(plan));
        }
        QVERIFY(rig.inst().openInstallation(path));
        rig.choose(0);

        // The push-button table, and the names beside the lists the installer types into.
        rig.w().Command7_Click();
        auto *grid = byName<QTableWidget>(rig.window.get(), "Grid1");
        QCOMPARE(grid->item(13, 0)->text(), words[2] + u"13 – Voordeur & gang"_s);
        QCOMPARE(grid->item(13, 1)->text(), output + u"5 – "_s + kitchen);
        QCOMPARE(grid->item(13, 2)->text(), scene + u"2 – TV-avond"_s);
        const auto typeInto = [&rig](const char *list, const QString &text) {
            auto *combo = byName<QComboBox>(rig.window.get(), list);
            combo->setFocus();
            QTest::keyClicks(combo, text);
            return combo;
        };
        const auto nameBeside = [&rig](const char *label) { return byName<QLabel>(rig.window.get(), label); };
        QVERIFY(!nameBeside("Combo2Naam")->isVisible());
        QComboBox *buttons = typeInto("Combo2", u"13"_s);
        QCOMPARE(nameBeside("Combo2Naam")->text(), u"Voordeur & gang"_s);
        QVERIFY(nameBeside("Combo2Naam")->isVisible());
        QCOMPARE(buttons->accessibleDescription(), u"Voordeur & gang"_s);
        byName<QRadioButton>(rig.window.get(), "Option3")->click();
        QComboBox *outputs = typeInto("Combo3", u"5"_s);
        QLabel *outputName = nameBeside("Combo3Naam");
        QCOMPARE(outputName->text(), kitchen);
        QCOMPARE(outputName->textFormat(), Qt::PlainText);
        QCOMPARE(outputs->accessibleDescription(), kitchen);
        outputs->setEditText(QString());
        QVERIFY(!outputName->isVisible());
        QCOMPARE(outputs->accessibleDescription(), byName<QGroupBox>(rig.window.get(), "Frame4")->title());
        typeInto("Combo3", u"6"_s);
        byName<QPushButton>(rig.window.get(), "Command3")->click();
        QCOMPARE(grid->item(13, 1)->text(), output + u"6"_s);
        QCOMPARE(rig.action("ongedaan")->text(), words[3]);
        rig.action("ongedaan")->trigger();
        QCOMPARE(grid->item(13, 1)->text(), output + u"5 – "_s + kitchen);

        // The output functions: a column of names, shown while an output has one.
        rig.w().Command9_Click();
        auto *table = byName<QTableWidget>(rig.window.get(), "Grid2");
        QVERIFY(!table->isColumnHidden(3));
        QCOMPARE(table->horizontalHeaderItem(3)->text(), words[4]);
        QCOMPARE(table->item(5, 3)->text(), kitchen);
        QCOMPARE(table->item(4, 3)->text(), QString());
        // This list takes picks only: the fifth entry by the arrow key.
        auto *pick = byName<QComboBox>(rig.window.get(), "Combo8");
        pick->setFocus();
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(pick, Qt::Key_Down);
        QCOMPARE(pick->currentText(), u"5"_s);
        QCOMPARE(nameBeside("Combo8Naam")->text(), kitchen);

        // The scenes: the chosen scene's name beside the choice, each channel's beside its field.
        rig.w().Command10_Click();
        auto *scenes = byName<SceneFrame>(rig.window.get(), "Frame9");
        QVERIFY(!nameBeside("Combo25Naam")->isVisible());
        scenes->selectScene(1);
        QCOMPARE(nameBeside("Combo25Naam")->text(), u"TV-avond"_s);
        QStringList captions;
        for (QLabel *label : scenes->findChildren<QLabel *>())
            if (label->objectName().startsWith(u"Label12_"_s) && !label->isHidden())
                captions << label->text();
        QVERIFY2(captions.contains(output + u"5 – "_s + kitchen + u':'), qPrintable(captions.join(u'|')));
        QVERIFY(captions.contains(output + u"4:"_s));

        // A dim module: its channels' names in the start values and the scene fields.
        rig.choose(1);
        rig.w().Command9_Click();
        QCOMPARE(byName<QLabel>(rig.window.get(), "Label27")->text(), words[5]);
        QCOMPARE(byName<QLabel>(rig.window.get(), "Label26")->text().endsWith(u"1:"_s), true);
        rig.w().Command10_Click();
        scenes->selectScene(0);
        QCOMPARE(nameBeside("Combo25Naam")->text(), u"Eten"_s);

        // The window's module without an installation: no names anywhere.
        rig.action("installatieSluiten")->trigger();
        QVERIFY(QFile::exists(path));
        QVERIFY(rig.openFile(0, relay.image, u"los.QV1"_s));
        rig.w().Command7_Click();
        QCOMPARE(grid->item(13, 1)->text(), output + u"5"_s);
        typeInto("Combo2", u"13"_s);
        QVERIFY(!nameBeside("Combo2Naam")->isVisible());
    }

    // The installations used last and whether the panel is shown live in the user's settings.
    void recentInstallationsAndPanelAreRemembered()
    {
        Rig rig;
        QVERIFY(Typing::activate(rig.window.get()));
        rig.makeInstallation({u"a"_s});
        QVERIFY(rig.saveAs(u"huis"_s));
        rig.dock()->close(); // its close button
        QVERIFY(!rig.dock()->isVisible());
        rig.restart();
        QVERIFY(rig.home.read(u"installations.vdm"_s).contains("huis.qvi"));
        QVERIFY(rig.home.read(u"panel.vdm"_s).endsWith(",0\r\n"));
        rig.action("recenteInstallatie1")->trigger();
        QVERIFY(rig.inst().isOpen());
        QVERIFY(!rig.dock()->isVisible());
        rig.action("paneelTonen")->trigger();
        QVERIFY(rig.dock()->isVisible());
        // A recent installation that has gone is said so and leaves the list.
        rig.action("installatieSluiten")->trigger();
        QVERIFY(QFile::remove(rig.home.file(u"huis.qvi"_s)));
        rig.action("recenteInstallatie1")->trigger();
        QVERIFY(!rig.inst().isOpen());
        QVERIFY(!rig.w().findChild<QAction *>(u"recenteInstallatie1"_s));
    }

    // A program that stopped with an installation unsaved: the next start offers the copy of one
    // never saved; opening a saved one whose copy is newer offers it, and a declined copy stays
    // among the backups.
    void recoveryCopyIsOffered()
    {
        Rig rig;
        QVERIFY(Typing::activate(rig.window.get()));
        rig.makeInstallation({u"a"_s});
        QVERIFY(byName<QTimer>(rig.window.get(), "herstelTimer")->isActive());
        rig.inst().writeRecoveryCopy();
        rig.restart(); // no way out taken: the program stopped
        QTRY_VERIFY(rig.inst().isOpen());
        QVERIFY(MessageBox::lastText().contains(u"Huis"_s));
        QVERIFY(rig.inst().isUnsaved());
        QCOMPARE(rig.installation().modules.size(), size_t(1));
        QVERIFY(Typing::activate(rig.window.get()));
        QVERIFY(rig.saveAs(u"huis"_s));
        QVERIFY(InstallationRecovery::unsavedCopies().isEmpty());

        rig.choose(0);
        rig.w().selectOption(rig.w().Option2);
        rig.inst().writeRecoveryCopy();
        rig.restart();
        QTest::qWait(50);
        QVERIFY(!rig.inst().isOpen()); // a saved installation's copy waits for its file
        MessageBox::setNextChoice(1);  // "Het bestand openen"
        rig.action("recenteInstallatie1")->trigger();
        QVERIFY(rig.inst().isOpen());
        QVERIFY(!rig.inst().isUnsaved());
        QCOMPARE(rig.masterOf(0), 1);
        const QStringList kept = QDir(Backups::folder()).entryList({u"recovery_*_*.qvi"_s});
        QCOMPARE(kept.size(), 1);
    }
};

QTEST_MAIN(TestInstallations)
#include "tst_installations.moc"
