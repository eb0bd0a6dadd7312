#include "app/InstallationDialogs.h"
#include "app/Installations.h"
#include "common/MessageBox.h"
#include "editors/EditorRules.h"
#include "installation/Installation.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneFrame.h"
#include "scenes/SceneLayout.h"
#include "support/CheckSlips.h"
#include "support/Dialogs.h"
#include "support/Find.h"
#include "support/Typing.h"
#include "support/WindowRig.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPdfDocument>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace EditorRules;

namespace {
// A relay module whose push button n switches output n (1..12); 13..20 do nothing, no scene sets
// anything.
InstallationModule relay(const QString &id, const QString &name)
{
    InstallationModule m;
    m.id = id;
    m.name = name;
    m.image = Images::pattern(0, 1);
    for (int button = 1; button <= PushButtonCount; ++button) {
        m.image.set(firstFunctionSlot(button), button <= 12 ? button - 1 : NoFunction);
        m.image.set(secondFunctionSlot(button), NoFunction);
    }
    m.image.set(ModuleTypes::MasterSlot, 1);
    for (int scene = 0; scene < SceneLayout::SceneCount; ++scene) {
        for (int channel = 1; channel <= 12; ++channel)
            m.image.set(SceneLayout::channelSlot(0, scene, channel), 10);
        m.image.set(SceneLayout::groupFlagSlot(0, scene), 0);
    }
    m.names = ModuleNames::forType(0);
    recordRead(m, m.image, QDateTime::currentDateTimeUtc());
    return m;
}

// Two relay modules and a dim module, with names; the second relay's push button 13 calls scene 2
// (which sets output 5) and its push button 14 points at an output the module does not have.
Installation house()
{
    Installation h;
    h.name = u"Huis"_s;
    InstallationModule cellar = relay(u"k"_s, u"Kelder"_s);
    cellar.names.pushButtons[0] = u"Voordeur"_s;
    cellar.image.set(SceneLayout::channelSlot(0, 2, 1), 1); // scene 3, which nothing calls
    cellar.knownImage = cellar.image;
    InstallationModule attic = relay(u"z"_s, u"Zolder"_s);
    attic.place = u"Zolder, kast"_s;
    attic.names.outputs[4] = u"Keuken plafond"_s;
    attic.names.pushButtons[12] = u"Trap"_s;
    attic.names.scenes[1] = u"TV-avond"_s;
    attic.image.set(firstFunctionSlot(13), FirstSceneValue + 1);
    attic.image.set(firstFunctionSlot(14), 30);
    attic.image.set(SceneLayout::channelSlot(0, 1, 5), 1);
    attic.knownImage = attic.image;
    InstallationModule dim;
    dim.id = u"d"_s;
    dim.name = u"Keuken dimmer"_s;
    dim.type = 1;
    dim.image = Images::pattern(1, 2);
    for (int slot = 0; slot < 2 * PushButtonCount; ++slot)
        dim.image.set(slot, NoFunction);
    dim.names = ModuleNames::forType(1);
    dim.names.outputs[1] = u"Eettafel"_s;
    h.modules = {cellar, attic, dim};
    return h;
}

struct Rig : WindowRig
{
    explicit Rig(const QByteArray &country) : WindowRig(RigSettings{.country = country}) {}

    Installations &inst() { return *w().installations(); }
    QTableWidget *table(const char *name) { return byName<QTableWidget>(window.get(), name); }
    bool open(const Installation &installation)
    {
        const QString path = home.file(u"huis.qvi"_s);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(installationContent(installation)) < 0)
            return false;
        file.close();
        return inst().openInstallation(path) && Typing::activate(window.get());
    }
    QTableView *view(const char *name) { return byName<QTableView>(window.get(), name); }
    // A row of an overview table as its cells joined by " | ".
    static QString shownRow(QTableView *t, int r)
    {
        QStringList cells;
        for (int c = 0; c < t->model()->columnCount(); ++c)
            cells << t->model()->index(r, c).data().toString();
        return cells.join(u" | "_s);
    }
    static QString cell(QTableView *t, int r, int c) { return t->model()->index(r, c).data().toString(); }
    // The rows the table shows.
    static QStringList shownRows(QTableView *t)
    {
        QStringList rows;
        for (int r = 0; r < t->model()->rowCount(); ++r)
            rows << shownRow(t, r);
        return rows;
    }
    // A double-click on the row whose cells start with `start`.
    bool doubleClick(QTableView *t, const QString &start)
    {
        for (int r = 0; r < t->model()->rowCount(); ++r) {
            if (!shownRow(t, r).startsWith(start)) continue;
            const QModelIndex index = t->model()->index(r, 0);
            t->scrollTo(index);
            const QPoint at = t->visualRect(index).center();
            QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(t->viewport(), Qt::LeftButton, {}, at);
            QCoreApplication::processEvents();
            return true;
        }
        return false;
    }
};
} // namespace

class TestOverview : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    // The overview's rows say what the editors say, with names; the filter keeps what holds the
    // typed text; a double-click opens that module's editor on that push button, output or scene.
    void overviewFollowsTheEditors_data()
    {
        QTest::addColumn<QByteArray>("country");
        QTest::addColumn<QStringList>("words"); // header, unused, output 5, scene 2, tab
        QTest::newRow("Dutch") << QByteArray(" 1 \r\n")
                               << QStringList{u"Module|Drukknop|Naam|1ste functie|2de functie"_s,
                                              u"(niet gebruikt)"_s, u"Uitgang 5 – Keuken plafond"_s,
                                              u"Sfeer 2 – TV-avond"_s, u"Uitgangen"_s};
        QTest::newRow("French") << QByteArray(" 2 \r\n")
                                << QStringList{u"Module|Bouton poussoir|Nom|1ère fonction|2ème fonction"_s,
                                               u"(non utilisé)"_s, u"Sortie 5 – Keuken plafond"_s,
                                               u"Contexte 2 – TV-avond"_s, u"Sorties"_s};
    }
    void overviewFollowsTheEditors()
    {
        QFETCH(QByteArray, country);
        QFETCH(QStringList, words);
        Rig rig(country);
        QVERIFY(rig.open(house()));
        rig.action("overzicht")->trigger();
        auto *frame = byName<QGroupBox>(rig.window.get(), "Overzicht");
        QVERIFY(frame->isVisible());
        QTableView *buttons = rig.view("drukknoppenOverzicht");
        QAbstractItemModel *model = buttons->model();
        QStringList headers;
        for (int c = 0; c < model->columnCount(); ++c)
            headers << model->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers.join(u'|'), words[0]);
        QVERIFY(!buttons->horizontalHeader()->isHidden());
        QCOMPARE(model->rowCount(), 60);

        // Each module's rows against its push-button editor.
        for (int module = 0; module < 3; ++module) {
            QVERIFY(rig.inst().selectModule(module));
            rig.w().Command7_Click();
            auto *grid = rig.table("Grid1");
            for (int button = 1; button <= 20; ++button) {
                const QModelIndex first = model->index(module * 20 + button - 1, 3);
                const QModelIndex second = model->index(module * 20 + button - 1, 4);
                if (grid->item(button, 1)->text() == u"***"_s && grid->item(button, 2)->text() == u"***"_s) {
                    QCOMPARE(first.data().toString(), words[1]);
                    QCOMPARE(first.data(Qt::ForegroundRole).value<QBrush>().color(),
                             buttons->palette().color(QPalette::Disabled, QPalette::Text));
                    continue;
                }
                QCOMPARE(first.data().toString(), grid->item(button, 1)->text());
                QCOMPARE(second.data().toString(), grid->item(button, 2)->text());
            }
        }
        rig.action("overzicht")->trigger();
        const QModelIndex sceneCall = model->index(20 + 12, 3);
        QCOMPARE(sceneCall.data().toString(), words[3]);
        QVERIFY2(sceneCall.data(Qt::ToolTipRole).toString().contains(words[2]),
                 qPrintable(sceneCall.data(Qt::ToolTipRole).toString()));

        // The filter, typed into its field.
        auto *filter = byName<QLineEdit>(rig.window.get(), "drukknoppenFilter");
        filter->setFocus();
        QTest::keyClicks(filter, u"keuken plafond"_s);
        QCOMPARE(rig.shownRows(buttons).size(), 1);
        QVERIFY(rig.shownRows(buttons).first().startsWith(u"Zolder (Zolder, kast) | "_s));
        filter->clear();
        QCOMPARE(rig.shownRows(buttons).size(), 60);

        // A double-click on push button 13 of the second module: that module, its push button.
        QVERIFY(rig.doubleClick(buttons, u"Zolder (Zolder, kast) | "_s + Rig::cell(buttons, 32, 1)));
        QCOMPARE(rig.inst().inHand(), 1);
        QTRY_VERIFY(byName<QWidget>(rig.window.get(), "Frame3")->isVisible());
        QCOMPARE(byName<QComboBox>(rig.window.get(), "Combo2")->currentText(), u"13"_s);
        QCOMPARE(byName<QLabel>(rig.window.get(), "Combo2Naam")->text(), u"Trap"_s);

        // Outputs: who switches output 5 of the second module, and which scene sets it.
        rig.action("overzicht")->trigger();
        auto *tabs = byName<QTabWidget>(rig.window.get(), "overzichtTabs");
        tabs->setCurrentIndex(1);
        QCOMPARE(tabs->tabText(1), words[4]);
        QTableView *outputs = rig.view("uitgangenOverzicht");
        QCOMPARE(outputs->model()->rowCount(), 12 + 12 + 4);
        const QString fifth = Rig::shownRow(outputs, 12 + 4);
        QVERIFY2(fifth.contains(u"Keuken plafond"_s) && fifth.contains(words[3]), qPrintable(fifth));
        QVERIFY(rig.doubleClick(outputs, fifth));
        QTRY_VERIFY(byName<QWidget>(rig.window.get(), "Frame7")->isVisible());
        QCOMPARE(byName<QComboBox>(rig.window.get(), "Combo8")->currentText(), u"5"_s);
        // A dim module's channel: its start value's field.
        rig.action("overzicht")->trigger();
        QVERIFY(rig.doubleClick(outputs, Rig::shownRow(outputs, 24 + 1)));
        QCOMPARE(rig.inst().inHand(), 2);
        QTRY_VERIFY(byName<QComboBox>(rig.window.get(), "Combo26")->hasFocus());

        // Scenes: only those in use; a double-click shows the scene.
        rig.action("overzicht")->trigger();
        tabs->setCurrentIndex(2);
        QTableView *scenes = rig.view("sferenOverzicht");
        QVERIFY(rig.shownRows(scenes).filter(u"TV-avond"_s).size() == 1);
        QVERIFY(rig.doubleClick(scenes, rig.shownRows(scenes).filter(u"TV-avond"_s).first()));
        QCOMPARE(rig.inst().inHand(), 1);
        QTRY_COMPARE(byName<SceneFrame>(rig.window.get(), "Frame9")->selectedScene(), 1);
    }

    // The check lists what was found, follows the installation while shown, and leads to the place;
    // closing the installation closes it.
    void checkListsAndLeads()
    {
        Rig rig(" 1 \r\n");
        QVERIFY(rig.open(house()));
        rig.action("installatieControleren")->trigger();
        auto *list = byName<QTreeWidget>(rig.window.get(), "bevindingen");
        QVERIFY(list->isVisible());
        QCOMPARE(list->headerItem()->text(2), u"Bevinding"_s);
        QCOMPARE(list->topLevelItem(0)->text(0), u"fout"_s);
        QCOMPARE(list->topLevelItem(0)->text(1), u"Zolder (Zolder, kast)"_s);
        QCOMPARE(list->topLevelItem(0)->text(2),
                 u"Drukknop 14, 1ste functie: Uitgang 31 bestaat niet op deze module (12 uitgangen)"_s);
        const QString count = byName<QLabel>(rig.window.get(), "bevindingenAantal")->text();
        QVERIFY2(count.startsWith(u"1 fout, "_s), qPrintable(count));

        // A module imported while the check is shown: the list follows at once.
        QVERIFY(!rig.writeFile(0, Images::pattern(0, 5), u"garage.QV1"_s).isEmpty());
        QVERIFY(answerFileDialog(u"ModulesImporterenDialog"_s, u"\"garage.QV1\""_s,
                                 [&rig] { rig.action("modulesImporteren")->trigger(); }));
        QTRY_VERIFY(!list->findItems(u"garage"_s, Qt::MatchStartsWith, 1).isEmpty());
        QVERIFY(list->isVisible());

        // An edit in an editor: push button 14 of the second module cleared by a double click.
        QVERIFY(rig.inst().selectModule(1));
        rig.w().Command7_Click();
        auto *grid = rig.table("Grid1");
        grid->scrollToItem(grid->item(14, 1));
        const QPoint cell = grid->visualItemRect(grid->item(14, 1)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(grid->item(14, 1)->text(), u"***"_s);
        rig.action("installatieControleren")->trigger();
        QVERIFY(
            list->findItems(u"Drukknop 14, 1ste functie: Uitgang 31"_s, Qt::MatchStartsWith, 2).isEmpty());
        // The edit left the module changed and not sent.
        QVERIFY(!list->findItems(u"Wijzigingen niet verstuurd"_s, Qt::MatchExactly, 2).isEmpty());

        QTreeWidgetItem *scene = list->findItems(u"Sfeer 3 zet uitgangen"_s, Qt::MatchStartsWith, 2).value(0);
        QVERIFY(scene);
        list->scrollToItem(scene);
        const QPoint at = list->visualItemRect(scene).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(byName<SceneFrame>(rig.window.get(), "Frame9")->selectedScene(), 2);
        QCOMPARE(rig.inst().inHand(), 0);

        rig.action("installatieControleren")->trigger();
        rig.action("installatieSluiten")->trigger();
        QVERIFY(!list->isVisible());
        QVERIFY(!rig.action("installatieControleren")->isEnabled());
    }

    // Each slip an installer makes is listed once on the check's page, in the window's language,
    // and a double-click on it leads to the module and the place it is about.
    void checkShowsEachSlip_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("Dutch") << 1;
        QTest::newRow("French") << 2;
    }
    void checkShowsEachSlip()
    {
        QFETCH(int, language);
        for (const CheckSlips::Slip &slip : CheckSlips::slips()) {
            Rig rig(language == 1 ? " 1 \r\n" : " 2 \r\n");
            Installation planned = CheckSlips::house();
            slip.make(planned.modules[0], planned);
            QVERIFY(rig.open(planned));
            rig.action("installatieControleren")->trigger();
            auto *list = byName<QTreeWidget>(rig.window.get(), "bevindingen");
            QVERIFY2(list->topLevelItemCount() == 1, slip.what);
            QTreeWidgetItem *item = list->topLevelItem(0);
            QCOMPARE(item->text(0), InstallationCheck::severityText(slip.severity, Lang::Language(language)));
            QCOMPARE(item->text(2), language == 1 ? slip.dutch : slip.french);
            const QPoint at = list->visualItemRect(item).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QCoreApplication::processEvents();
            QCOMPARE(rig.inst().inHand(), slip.place.module);
            using Kind = Overview::Place::Kind;
            if (slip.place.kind == Kind::PushButton)
                QTRY_COMPARE(byName<QComboBox>(rig.window.get(), "Combo2")->currentText(),
                             QString::number(slip.place.number));
            else if (slip.place.kind == Kind::Output)
                QTRY_COMPARE(byName<QComboBox>(rig.window.get(), "Combo8")->currentText(),
                             QString::number(slip.place.number));
            else if (slip.place.kind == Kind::Scene)
                QTRY_COMPARE(byName<SceneFrame>(rig.window.get(), "Frame9")->selectedScene(),
                             slip.place.number - 1);
            else
                QTRY_VERIFY(byName<QWidget>(rig.window.get(), "Frame11")->isVisible());
        }
    }

    // The overview to a spreadsheet and names back: changed names come back as one undo step of
    // each module they change; a formula-like name survives as text; a damaged file changes nothing.
    void namesThroughASpreadsheet()
    {
        Rig rig(" 1 \r\n");
        Installation planned = house();
        planned.modules[0].names.outputs[0] = u"=SUM(A1)"_s;
        QVERIFY(rig.open(planned));
        QVERIFY(answerFileDialog(u"OverzichtExporterenDialog"_s, u"huis.csv"_s,
                                 [&rig] { rig.action("overzichtExporteren")->trigger(); }));
        const QString path = rig.home.file(u"huis.csv"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray csv = file.readAll();
        file.close();
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        QVERIFY(csv.contains(";'=SUM(A1);"));
        // As a spreadsheet saves it after the installer typed a name and renamed another.
        QVERIFY(csv.contains(";Voordeur;"));
        csv.replace(";Voordeur;", ";Voordeur oost;");
        csv.replace(";Keuken plafond;", ";Keuken & bar;");
        TestUserHome::write(path, csv);

        QVERIFY(answerFileDialog(u"NamenImporterenDialog"_s, u"huis.csv"_s,
                                 [&rig] { rig.action("namenImporteren")->trigger(); }));
        QCOMPARE(MessageBox::lastText(), u"2 namen gewijzigd in 2 modules."_s);
        const Installation &now = *rig.inst().installation();
        QCOMPARE(now.modules[0].names.pushButtons[0], u"Voordeur oost"_s);
        QCOMPARE(now.modules[0].names.outputs[0], u"=SUM(A1)"_s);
        QCOMPARE(now.modules[1].names.outputs[4], u"Keuken & bar"_s);
        QVERIFY(rig.inst().isUnsaved());

        // Undo with the module in hand takes its part of the import back, and only that.
        QVERIFY(rig.inst().selectModule(0));
        QCOMPARE(rig.action("ongedaan")->text(), u"Ongedaan maken: Namen importeren"_s);
        rig.action("ongedaan")->trigger();
        QCOMPARE(now.modules[0].names.pushButtons[0], u"Voordeur"_s);
        QCOMPARE(now.modules[1].names.outputs[4], u"Keuken & bar"_s);

        // A file a spreadsheet never wrote: nothing changes, and the installer is told why.
        TestUserHome::write(path, QByteArray("\x00\x01 not a table", 15));
        QVERIFY(answerFileDialog(u"NamenImporterenDialog"_s, u"huis.csv"_s,
                                 [&rig] { rig.action("namenImporteren")->trigger(); }));
        QVERIFY2(MessageBox::lastText().contains(u"er is niets gewijzigd"_s),
                 qPrintable(MessageBox::lastText()));
        QCOMPARE(now.modules[1].names.outputs[4], u"Keuken & bar"_s);
    }

    // "Installatierapport...": the PDF by default, written while the window goes on answering;
    // Annuleren writes nothing.
    void reportIsWritten()
    {
        Rig rig(" 2 \r\n");
        QVERIFY(rig.open(house()));
        const QString path = rig.home.file(u"huis.pdf"_s);
        MessageBox::setNextChoice(2);
        rig.action("installatieRapport")->trigger();
        QVERIFY(!QFile::exists(path));
        QVERIFY(answerFileDialog(u"InstallatieRapportDialog"_s, u"huis.pdf"_s,
                                 [&rig] { rig.action("installatieRapport")->trigger(); }));
        QVERIFY(QFile::exists(path));
        QVERIFY(!rig.window->findChild<QWidget *>(u"RapportBezig"_s) ||
                !rig.window->findChild<QWidget *>(u"RapportBezig"_s)->isVisible());
        QPdfDocument pdf;
        QCOMPARE(pdf.load(path), QPdfDocument::Error::None);
        QVERIFY(pdf.pageCount() > 5);
        const QString cover = pdf.getAllText(0).text();
        QVERIFY2(cover.contains(u"Rapport d'installation"_s) && cover.contains(u"Huis"_s), qPrintable(cover));
        QVERIFY(pdf.getAllText(pdf.pageCount() - 1).text().contains(u"%1 / %1"_s.arg(pdf.pageCount())));
    }

    // During a conversation the pages cannot be used.
    void lockedDuringAConversation()
    {
        Rig rig(" 1 \r\n");
        QVERIFY(rig.open(house()));
        rig.action("overzicht")->trigger();
        auto *frame = byName<QGroupBox>(rig.window.get(), "Overzicht");
        ScriptedModule &module = rig.attach(0);
        bool lockedWhileReading = false;
        QVERIFY(answering<AssignDialog>(
            u"Toewijzen"_s, [](AssignDialog *dialog) { dialog->reject(); },
            [&] {
                rig.w().Command1->click();
                lockedWhileReading = rig.w().conversation().isRunning() && !frame->isEnabled();
                module.announce();
            }));
        QVERIFY(lockedWhileReading);
        QTRY_VERIFY(frame->isEnabled());
    }
};

QTEST_MAIN(TestOverview)
#include "tst_overview.moc"
