#include "app/InstallationDialogs.h"
#include "app/Installations.h"
#include "common/MessageBox.h"
#include "files/ModuleFile.h"
#include "files/ModuleFileDialogs.h"
#include "installation/Installation.h"
#include "support/Dialogs.h"
#include "support/Find.h"
#include "support/Images.h"
#include "support/SimRig.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>

// A house made of modules read over the program's real serial port from qv-module-sim: each read
// assigned by the installer, the installation saved and opened again unchanged, an edit sent to
// the module it belongs to and recorded, a module read again recognised among its kind, and a
// send cut off half-way recorded as such.
class TestInstallationsE2e : public QObject
{
    Q_OBJECT

    static Installations &inst(SimRig &rig) { return *rig.w().installations(); }
    static QString state(SimRig &rig, int row)
    {
        return byName<QTreeWidget>(&rig.w(), "modulesLijst")->topLevelItem(row)->text(3);
    }
    // "Verbinden", the read question answered by `answer`.
    static bool readAnswering(SimRig &rig, const std::function<void(AssignDialog *)> &answer)
    {
        bool read = false;
        const bool asked = answering<AssignDialog>(u"Toewijzen"_s, answer, [&] { read = rig.read(); });
        return read && asked;
    }
    static void newModule(AssignDialog *d) { byName<QPushButton>(d, "nieuweModule")->click(); }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    void aHouseOfModules()
    {
        SimRig rig({.type = 0, .seed = 1});
        TestWindow &w = rig.w();
        QVERIFY(answering<PropertiesDialog>(
            u"Eigenschappen"_s, [](PropertiesDialog *d) { d->accept(); },
            [&] { rig.w().find<QAction>("nieuweInstallatie")->trigger(); }));
        QVERIFY(inst(rig).isOpen());

        // Two relay modules and a dim module, each read and added.
        QVERIFY(readAnswering(rig, newModule));
        rig.attach(0, 2);
        QVERIFY(readAnswering(rig, [](AssignDialog *d) {
            // The first relay module is listed; nothing is preselected unless it alone is closest.
            auto *list = byName<QListWidget>(d, "kandidaten");
            QCOMPARE(list->count(), 1);
            byName<QPushButton>(d, "nieuweModule")->click();
        }));
        rig.attach(1, 3);
        QVERIFY(readAnswering(rig, [](AssignDialog *d) {
            QCOMPARE(byName<QListWidget>(d, "kandidaten")->count(), 0); // no dim module yet
            byName<QPushButton>(d, "nieuweModule")->click();
        }));
        const Installation &house = *inst(rig).installation();
        QCOMPARE(house.modules.size(), size_t(3));
        QCOMPARE(house.modules[2].type, 1);
        QVERIFY(state(rig, 0).startsWith(u"gelezen "_s));

        // Saved, closed and opened again: the same bytes.
        QVERIFY(answerFileDialog(u"InstallatieOpslaanDialog"_s, u"huis"_s,
                                 [&] { rig.w().find<QAction>("installatieOpslaanAls")->trigger(); }));
        const QString path = rig.home.file(u"huis.qvi"_s);
        const QByteArray saved = rig.home.read(u"huis.qvi"_s);
        rig.w().find<QAction>("installatieSluiten")->trigger();
        QVERIFY(inst(rig).openInstallation(path));
        rig.w().find<QAction>("installatieOpslaan")->trigger();
        QCOMPARE(rig.home.read(u"huis.qvi"_s), saved);

        // The first relay module edited and sent to the module on the line, after the question.
        rig.attach(0, 1);
        QVERIFY(inst(rig).selectModule(0));
        w.Option2->click();
        QCOMPARE(state(rig, 0), u"gewijzigd, niet verstuurd"_s);
        QVERIFY(rig.send());
        QVERIFY(MessageBox::lastText().startsWith(u"Module 'Module 1'"_s));
        QCOMPARE(rig.saved(), Images::values(inst(rig).installation()->modules[0].image));
        QVERIFY(state(rig, 0).startsWith(u"verstuurd "_s));

        // Edited again and the module read before it was sent: the installer's choice is asked
        // for, and Esc (or the default) keeps the installation's edit.
        w.Option1->click();
        const ModuleImage edited = inst(rig).installation()->modules[0].image;
        QVERIFY(readAnswering(rig, [](AssignDialog *d) { byName<QPushButton>(d, "dezeModule")->click(); }));
        QVERIFY(MessageBox::lastText().contains(u"Welke versie komt in de installatie?"_s));
        QCOMPARE(inst(rig).installation()->modules[0].image, edited);
        QCOMPARE(state(rig, 0), u"gewijzigd, niet verstuurd"_s);

        // Module files imported (three) and one module exported as "Module Opslaan als" writes it.
        for (int n = 1; n <= 3; ++n)
            QVERIFY(
                writeModuleFile(rig.home.file(u"m%1.QV1"_s.arg(n)), n % 3, Images::pattern(n % 3, n)).ok());
        QVERIFY(answerFileDialog(u"ModulesImporterenDialog"_s, u"\"m1.QV1\" \"m2.QV1\" \"m3.QV1\""_s,
                                 [&] { rig.w().find<QAction>("modulesImporteren")->trigger(); }));
        QCOMPARE(inst(rig).installation()->modules.size(), size_t(6));
        QVERIFY(inst(rig).selectModule(4));
        QVERIFY(answering<SaveDialog>(
            u"Form3"_s,
            [](SaveDialog *d) {
                byName<QLineEdit>(d, "Text1")->setText(u"uit"_s);
                byName<QPushButton>(d, "Command1")->click();
            },
            [&] { rig.w().find<QAction>("moduleExporteren")->trigger(); }));
        QCOMPARE(rig.home.read(u"uit.QV1"_s), rig.home.read(u"m2.QV1"_s));

        // The second relay module read again: both relay modules are listed, the second alone
        // without differences and preselected; "Niet in de installatie" changes nothing.
        rig.attach(0, 2);
        const QByteArray before = installationContent(*inst(rig).installation());
        QVERIFY(readAnswering(rig, [](AssignDialog *d) {
            auto *list = byName<QListWidget>(d, "kandidaten");
            QCOMPARE(list->count(), 3); // m3.QV1 is a relay module too
            QVERIFY(list->currentItem());
            QVERIFY(list->currentItem()->text().startsWith(u"Module 2 – geen verschillen"_s));
            byName<QPushButton>(d, "nietInInstallatie")->click();
        }));
        QCOMPARE(installationContent(*inst(rig).installation()), before);
        QCOMPARE(inst(rig).inHand(), -1);
    }

    // The line lost half-way through a send: the module is recorded as partly sent; the menu and
    // the panel rest while the send runs.
    void aSendCutOffIsRecorded()
    {
        SimRig rig({.type = 1, .seed = 4});
        TestWindow &w = rig.w();
        QVERIFY(answering<PropertiesDialog>(
            u"Eigenschappen"_s, [](PropertiesDialog *d) { d->accept(); },
            [&] { rig.w().find<QAction>("nieuweInstallatie")->trigger(); }));
        QVERIFY(readAnswering(rig, newModule));
        w.Option2->click();
        w.Command2->click();
        QVERIFY(QTest::qWaitFor([&] { return rig.sim().frames().size() > 20; }, 20000));
        QVERIFY(!byName<QMenu>(&rig.w(), "installatie")->menuAction()->isEnabled());
        QVERIFY(!byName<QWidget>(&rig.w(), "installatiePaneel")->isEnabled());
        rig.sim().stop();
        QVERIFY(rig.waitIdle());
        QCOMPARE(state(rig, 0), u"gedeeltelijk verstuurd"_s);
        QVERIFY(byName<QMenu>(&rig.w(), "installatie")->menuAction()->isEnabled());
        QVERIFY(byName<QWidget>(&rig.w(), "installatiePaneel")->isEnabled());
    }
};

QTEST_MAIN(TestInstallationsE2e)
#include "tst_installations.moc"
