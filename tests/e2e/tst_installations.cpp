#include "app/Installations.h"
#include "common/MessageBox.h"
#include "files/Backups.h"
#include "files/ModuleFile.h"
#include "support/RealBoxes.h"
#include "support/SimRig.h"
#include "support/Typing.h"
#include "support/WindowRig.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// A dialog of the program answered as the installer answers it: the first modal dialog named
// `name` that comes on screen is handed to `answer`. One the answer leaves open, and any later
// one of that name, is closed with Esc, so that a test never hangs on a dialog.
class OnDialog : public QObject
{
public:
    using Answer = std::function<void(QDialog *)>;

    OnDialog(const QString &name, Answer answer) : m_name(name), m_answer(std::move(answer))
    {
        m_poll.setInterval(10);
        connect(&m_poll, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || dialog->objectName() != m_name) return;
            // Not looked at again while the answer waits for the dialog (its window to become
            // the active one, a field to take the focus).
            m_poll.stop();
            ++m_shown;
            if (m_shown == 1) m_answer(dialog);
            if (dialog->isVisible()) {
                m_leftOpen = true;
                QTest::keyClick(dialog, Qt::Key_Escape);
            }
            m_poll.start();
        });
        m_poll.start();
    }

    // The dialog came and went once, answered as asked.
    bool answered() const { return m_shown == 1 && !m_leftOpen && !QApplication::activeModalWidget(); }
    int shown() const { return m_shown; }

private:
    QString m_name;
    Answer m_answer;
    QTimer m_poll;
    int m_shown = 0;
    bool m_leftOpen = false;
};

// What the installer does with the question after a read.
enum Assign
{
    NewModule,         // "Nieuwe module in de installatie"
    Enter,             // Enter: the module preselected
    Escape,            // Esc: not in the installation
    NotInInstallation, // "Niet in de installatie"
};

// What the question after a read showed.
struct Asked
{
    QStringList candidates;
    int current = -1; // the row preselected
    bool chooseEnabled = false;
};

// The text a field shows selected and typed over, key by key, in the active window with the
// focus in the field: a file dialog rewrites the name field of a window that is not the active
// one from the files it selects as the name is typed.
void typeOver(QLineEdit *field, const QString &typed)
{
    if (!Typing::activate(field->window())) qWarning("the dialog did not become the active window");
    field->setFocus(Qt::MouseFocusReason);
    if (!QTest::qWaitFor([field] { return field->hasFocus(); }, 2000)) qWarning("the field has no focus");
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, typed);
}

// A file dialog of Qt's own: a name typed into its file name field, then Enter.
OnDialog::Answer typeFileName(const QString &typed)
{
    return [typed](QDialog *dialog) {
        auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
        if (!name) return;
        typeOver(name, typed);
        // The completion list the typing may have opened is closed first, as a person closes it
        // with Esc: Enter then takes the typed name, not a completion.
        if (QCompleter *completion = name->completer();
            completion && completion->popup() && completion->popup()->isVisible())
            QTest::keyClick(completion->popup(), Qt::Key_Escape);
        QTest::keyClick(name, Qt::Key_Return);
    };
}

// "Module Opslaan als ..." and "Module exporteren...": a name typed, then "Opslaan".
OnDialog::Answer typeModuleFileName(const QString &typed)
{
    return [typed](QDialog *dialog) {
        typeOver(byName<QLineEdit>(dialog, "Text1"), typed);
        byName<QPushButton>(dialog, "Command1")->click();
    };
}

// An image spelt as the installation file spells it: "001 012 023 ...".
QString spelt(const ModuleImage &image)
{
    QStringList values;
    for (int slot = 0; slot < image.size(); ++slot)
        values << threeDigits(image.value(slot));
    return values.join(QLatin1Char(' '));
}

ModuleImage withMaster(ModuleImage image, int master)
{
    image.set(ModuleTypes::MasterSlot, master);
    return image;
}

// The house the tests start from: two relay modules in the cellar and a dimmer in the living
// room, each last read on 5 January; and the memories the modules hold since.
struct House
{
    ModuleImage relay1 = withMaster(Images::pattern(0, 1), 1);
    ModuleImage relay2 = withMaster(Images::pattern(0, 2), 1);
    ModuleImage dimmer = withMaster(Images::pattern(1, 3), 1);

    // The installation file as a person scripting around the program writes it.
    QByteArray file() const
    {
        const auto module = [](const char *id, const char *name, const char *place, int type,
                               const ModuleImage &image) {
            return uR"({"id": "%1", "name": "%2", "place": "%3", "type": %4, "image": "%5",
                        "known": {"at": "2026-01-05T10:00:00Z", "from": "read", "image": "%5"}})"_s.arg(
                QLatin1String(id), QString::fromUtf8(name), QString::fromUtf8(place), QString::number(type),
                spelt(image));
        };
        return (uR"({"format": "qv-installation", "version": 1, "name": "Woning Peeters",
                     "address": "Kerkstraat 1, Gent", "modules": [%1, %2, %3]})"_s)
            .arg(module("relais-1", "Kelder relais 1", "Kelder, kast 2", 0, relay1),
                 module("relais-2", "Kelder relais 2", "Kelder, kast 2", 0, relay2),
                 module("dimmer", "Living dimmer", "Living", 1, dimmer))
            .toUtf8();
    }
};

} // namespace

// Installations against simulated modules on the program's real serial port: an installation
// made by reading the modules of a house, saved and opened again; edits sent to the module they
// belong to; which module a read is; a send cut short; modules imported and exported; the
// installation menu and panel during conversations; and the recovery copy of a program that was
// killed.
class TestInstallations : public QObject
{
    Q_OBJECT

    static Installations &installations(TestWindow &w) { return *w.installations(); }
    static const Installation &installation(TestWindow &w)
    {
        const Installation *open = w.installations()->installation();
        if (!open) qFatal("no installation is open");
        return *open;
    }
    static const InstallationModule &module(TestWindow &w, int index)
    {
        return installation(w).modules.at(size_t(index));
    }
    static QTreeWidget *modulesList(TestWindow &w) { return byName<QTreeWidget>(&w, "modulesLijst"); }
    // What the panel shows of each module: name, place, model and state, a row a line.
    static QStringList panelRows(TestWindow &w)
    {
        QStringList rows;
        QTreeWidget *list = modulesList(w);
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            const QTreeWidgetItem *item = list->topLevelItem(row);
            rows << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join(u" | "_s);
        }
        return rows;
    }
    static QString stateOf(TestWindow &w, int row) { return modulesList(w)->topLevelItem(row)->text(3); }
    static QAction *entry(TestWindow &w, const char *name) { return w.find<QAction>(name); }

    // An entry of the Installatie menu chosen as a person chooses it.
    [[nodiscard]] static bool choose(TestWindow &w, const char *name)
    {
        QAction *action = entry(w, name);
        if (!TestWindow::reachable(action)) {
            qWarning("the entry %s cannot be chosen now", name);
            return false;
        }
        action->trigger();
        return true;
    }
    // A click on the module's row in the panel.
    [[nodiscard]] static bool clickModule(TestWindow &w, int row)
    {
        QTreeWidget *list = modulesList(w);
        QTreeWidgetItem *item = list->topLevelItem(row);
        if (!item || !list->isVisible()) return false;
        // On the row's name (the row may reach beyond what the panel shows); the window answers
        // once the click is over.
        const QPoint name(list->columnViewportPosition(0) + list->columnWidth(0) / 2,
                          list->visualItemRect(item).center().y());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, name);
        QCoreApplication::processEvents();
        return true;
    }
    [[nodiscard]] static bool selectModule(TestWindow &w, int row)
    {
        if (!clickModule(w, row) || installations(w).inHand() != row) {
            qWarning("module %d is not in hand after a click on its row", row);
            return false;
        }
        return true;
    }

    // "Nieuwe installatie...": the name typed into its properties, then OK.
    [[nodiscard]] static bool newInstallation(TestWindow &w, const QString &name)
    {
        OnDialog properties(u"Eigenschappen"_s, [name](QDialog *dialog) {
            typeOver(byName<QLineEdit>(dialog, "naam"), name);
            typeOver(byName<QLineEdit>(dialog, "adres"), u"Kerkstraat 1, Gent"_s);
            byName<QDialogButtonBox>(dialog, "knoppen")->button(QDialogButtonBox::Ok)->click();
        });
        return choose(w, "nieuweInstallatie") && properties.answered() && installations(w).isOpen();
    }

    // The house's installation file written and opened; the module of relay 1 on the line.
    [[nodiscard]] static bool openHouse(SimRig &rig, const House &house)
    {
        const QString path = rig.home.file(u"woning.qvi"_s);
        rig.home.write(u"woning.qvi"_s, house.file());
        // Saved an hour ago: a recovery copy written now is newer whatever the file system's
        // clock resolution.
        QFile file(path);
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
        file.close();
        rig.attach(0, house.relay1);
        return installations(rig.w()).openInstallation(path) && installation(rig.w()).modules.size() == 3 &&
               !installations(rig.w()).isUnsaved();
    }

    // "Verbinden", and the question that follows answered with `how`.
    [[nodiscard]] static bool readAndAssign(SimRig &rig, Assign how, Asked *asked = nullptr)
    {
        Asked seen;
        OnDialog question(u"Toewijzen"_s, [&](QDialog *dialog) {
            // Looked at as the installer sees it: the active window, the focus where it goes.
            if (!Typing::activate(dialog)) qWarning("the question did not become the active window");
            auto *list = byName<QListWidget>(dialog, "kandidaten");
            for (int row = 0; row < list->count(); ++row)
                seen.candidates << list->item(row)->text();
            seen.current = list->currentItem() ? list->currentRow() : -1;
            seen.chooseEnabled = byName<QPushButton>(dialog, "dezeModule")->isEnabled();
            if (how == NewModule)
                byName<QPushButton>(dialog, "nieuweModule")->click();
            else if (how == NotInInstallation)
                byName<QPushButton>(dialog, "nietInInstallatie")->click();
            else
                QTest::keyClick(dialog, how == Enter ? Qt::Key_Return : Qt::Key_Escape);
        });
        const bool read = rig.read();
        const bool answered = QTest::qWaitFor([&] { return question.answered(); }, 5000);
        if (asked) *asked = seen;
        if (!read || !answered) qWarning("read %d, question answered %d", read, answered);
        return read && answered && rig.waitIdle();
    }

    // The recovery copies beside the backups.
    static QStringList recoveryCopies()
    {
        return QDir(Backups::folder()).entryList({u"recovery_*.qvi"_s}, QDir::Files, QDir::Name);
    }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    // An installation made by reading two relay modules and a dimmer, each a new module of it:
    // saved, closed and opened again it is the same to the byte, and nothing reached a module.
    void madeByReadingSavedAndReopened()
    {
        SimRig rig;
        TestWindow &w = rig.w();
        const ModuleImage relay1 = rig.module();
        QVERIFY(newInstallation(w, u"Woning Peeters"_s));
        QVERIFY(byName<QDockWidget>(&w, "installatiePaneel")->isVisible());
        QCOMPARE(panelRows(w), QStringList());

        Asked asked;
        QVERIFY(readAndAssign(rig, NewModule, &asked));
        QCOMPARE(asked.candidates, QStringList()); // nothing of the type in the installation yet
        QVERIFY(!asked.chooseEnabled);
        QCOMPARE(installations(w).inHand(), 0);
        QCOMPARE(w.windowTitle(), u"QV Velano  -  Woning Peeters  -  Module 1"_s);

        rig.attach(0, 2);
        const ModuleImage relay2 = rig.module();
        QVERIFY(readAndAssign(rig, NewModule, &asked));
        QCOMPARE(asked.candidates.size(), 1);
        QVERIFY2(asked.candidates[0].startsWith(u"Module 1 – 339 verschillen – gelezen "_s),
                 qPrintable(asked.candidates[0]));

        rig.attach(1, 3);
        const ModuleImage dimmer = rig.module();
        QVERIFY(readAndAssign(rig, NewModule, &asked));
        QCOMPARE(asked.candidates, QStringList()); // a dimmer is no relay module
        QCOMPARE(installations(w).inHand(), 2);

        const Installation &made = installation(w);
        QCOMPARE(made.name, u"Woning Peeters"_s);
        QCOMPARE(made.address, u"Kerkstraat 1, Gent"_s);
        QCOMPARE(made.modules.size(), size_t(3));
        const ModuleImage *memories[] = {&relay1, &relay2, &dimmer};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(made.modules[size_t(i)].image, *memories[i]);
            QVERIFY(made.modules[size_t(i)].knownImage == *memories[i]);
            QVERIFY2(stateOf(w, i).startsWith(u"gelezen "_s), qPrintable(stateOf(w, i)));
        }
        QCOMPARE(modulesList(w)->topLevelItem(1)->text(2), u"ZK3412_ZK2412"_s);
        QCOMPARE(modulesList(w)->topLevelItem(2)->text(2), u"ZK24XX_ZK3447"_s);
        QVERIFY(installations(w).isUnsaved());

        // Saved under a name typed into the save dialog (never saved: "Opslaan" asks for one).
        {
            OnDialog save(u"InstallatieOpslaanDialog"_s, typeFileName(u"woning"_s));
            QVERIFY(choose(w, "installatieOpslaan"));
            QVERIFY(save.answered());
        }
        const QString path = rig.home.file(u"woning.qvi"_s);
        QCOMPARE(installations(w).path(), path);
        QVERIFY(!installations(w).isUnsaved());
        QCOMPARE(w.windowTitle(), u"QV Velano  -  "_s + path + u"  -  Module 3"_s);
        const QByteArray saved = WindowRig::bytes(path);
        QVERIFY(saved.startsWith("{"));
        const QStringList rows = panelRows(w);

        // Closed without a question, opened again through the open dialog, saved again.
        const int boxes = MessageBox::shownCount();
        QVERIFY(choose(w, "installatieSluiten"));
        QCOMPARE(MessageBox::shownCount(), boxes);
        QVERIFY(!installations(w).isOpen());
        QVERIFY(!byName<QDockWidget>(&w, "installatiePaneel")->isVisible());
        QCOMPARE(w.windowTitle(), u"QV Velano"_s);
        {
            OnDialog open(u"InstallatieOpenenDialog"_s, typeFileName(u"woning.qvi"_s));
            QVERIFY(choose(w, "installatieOpenen"));
            QVERIFY(open.answered());
        }
        QVERIFY(installations(w).isOpen());
        QCOMPARE(panelRows(w), rows);
        QVERIFY(choose(w, "installatieOpslaan"));
        QCOMPARE(WindowRig::bytes(path), saved);
        // Once more from the recent installations.
        QVERIFY(choose(w, "installatieSluiten"));
        QVERIFY(choose(w, "recenteInstallatie1"));
        QCOMPARE(panelRows(w), rows);
        QVERIFY(choose(w, "installatieOpslaan"));
        QCOMPARE(WindowRig::bytes(path), saved);

        // Reading wrote nothing: the dimmer got no write and holds what it held.
        QVERIFY(rig.sim().frames().contains(u"T3600"_s));
        QVERIFY(!rig.sim().frames().contains(u"T3700"_s));
        QCOMPARE(rig.stoppedMemory(), Images::values(dimmer));
    }

    // An edit of a module of the installation is that module's until it is sent; the send asks
    // first, naming the module and its place, and then the module holds the installation's image.
    // The other relay module read afterwards is recognised among both relay modules.
    void editedModuleSent()
    {
        House house;
        SimRig rig;
        TestWindow &w = rig.w();
        QVERIFY(openHouse(rig, house));
        QVERIFY(selectModule(w, 0));
        QCOMPARE(w.windowTitle(),
                 u"QV Velano  -  "_s + rig.home.file(u"woning.qvi"_s) + u"  -  Kelder relais 1"_s);
        QVERIFY(w.Option1->isChecked());
        QVERIFY(!w.Bewaren->isEnabled());
        w.Option2->click();
        QCOMPARE(stateOf(w, 0), u"gewijzigd, niet verstuurd"_s);
        QCOMPARE(module(w, 0).image, withMaster(house.relay1, 0));
        QVERIFY(installations(w).isUnsaved());

        // Esc on the question: nothing reaches the module.
        MessageBox::setAutoAnswer(false);
        {
            RealBoxes boxes({RealBoxes::escape()});
            w.Command2->click();
            QTRY_VERIFY(boxes.lastClosed() && boxes.shown() == 1);
            QCOMPARE(boxes.texts(), QStringList{u"Module 'Kelder relais 1' (Kelder, kast 2) versturen?"_s});
            QCOMPARE(boxes.unexpected(), 0);
        }
        MessageBox::setAutoAnswer(true);
        QTest::qWait(300);
        QVERIFY(w.isIdle());
        QCOMPARE(rig.sim().frames(), QStringList());
        QCOMPARE(stateOf(w, 0), u"gewijzigd, niet verstuurd"_s);

        // "Versturen": the module holds the installation's image.
        QVERIFY(rig.send());
        QCOMPARE(MessageBox::lastText(), u"Module 'Kelder relais 1' (Kelder, kast 2) versturen?"_s);
        QCOMPARE(rig.saved(), Images::values(module(w, 0).image));
        QCOMPARE(rig.saved().at(ModuleTypes::MasterSlot), 0);
        QVERIFY2(stateOf(w, 0).startsWith(u"verstuurd "_s), qPrintable(stateOf(w, 0)));
        QCOMPARE(module(w, 0).sendOutcome, u"verstuurd"_s);
        QVERIFY(module(w, 0).knownImage == withMaster(house.relay1, 0));
        QVERIFY(choose(w, "installatieOpslaan"));
        QVERIFY(!installations(w).isUnsaved());

        // The other relay module: both relay modules listed with their differences, the one that
        // holds what was last known of it preselected; Enter takes it.
        rig.attach(0, house.relay2);
        Asked asked;
        QVERIFY(readAndAssign(rig, Enter, &asked));
        QCOMPARE(asked.candidates.size(), 2);
        QVERIFY2(asked.candidates[0].startsWith(
                     u"Kelder relais 2 (Kelder, kast 2) – geen verschillen – gelezen "_s),
                 qPrintable(asked.candidates[0]));
        QVERIFY2(asked.candidates[1].startsWith(
                     u"Kelder relais 1 (Kelder, kast 2) – 340 verschillen – verstuurd "_s),
                 qPrintable(asked.candidates[1]));
        QCOMPARE(asked.current, 0);
        QCOMPARE(installations(w).inHand(), 1);
        QVERIFY2(stateOf(w, 1).startsWith(u"gelezen "_s), qPrintable(stateOf(w, 1)));
        QCOMPARE(module(w, 1).image, house.relay2);
        QVERIFY(!rig.sim().frames().contains(u"T3700"_s));
        QCOMPARE(rig.stoppedMemory(), Images::values(house.relay2));
    }

    void readNotAssigned_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("how");
        QTest::addColumn<int>("candidates");
        QTest::addColumn<int>("preselected");
        QTest::addColumn<QString>("first");
        // Half of relay 1's memory and half of relay 2's (one slot held by neither): both equally
        // close, neither chosen.
        QTest::newRow("between two relay modules, Esc")
            << 0 << int(Escape) << 2 << -1 << u"Kelder relais 1 (Kelder, kast 2) – 170 verschillen"_s;
        QTest::newRow("between two relay modules, Niet in de installatie")
            << 0 << int(NotInInstallation) << 2 << -1
            << u"Kelder relais 1 (Kelder, kast 2) – 170 verschillen"_s;
        // The dimmer as last read, preselected, and still not taken on Esc.
        QTest::newRow("the dimmer, Esc")
            << 1 << int(Escape) << 1 << 0 << u"Living dimmer (Living) – geen verschillen"_s;
    }
    // A read the installer says is not in the installation leaves the installation as it was;
    // the window holds what was read, as without an installation.
    void readNotAssigned()
    {
        QFETCH(int, type);
        QFETCH(int, how);
        QFETCH(int, candidates);
        QFETCH(int, preselected);
        QFETCH(QString, first);
        House house;
        SimRig rig;
        TestWindow &w = rig.w();
        QVERIFY(openHouse(rig, house));
        ModuleImage memory = house.dimmer;
        if (type == 0) {
            memory = house.relay1;
            for (int slot = 170; slot < memory.size(); ++slot)
                memory.set(slot, house.relay2.value(slot));
            memory.set(339, 999); // held by neither: both modules are master, slot 40 counts for neither
        }
        rig.attach(type, memory);
        const QByteArray before = installationContent(installation(w));
        const QStringList rows = panelRows(w);

        Asked asked;
        QVERIFY(readAndAssign(rig, Assign(how), &asked));
        QCOMPARE(asked.candidates.size(), candidates);
        QVERIFY2(asked.candidates[0].startsWith(first), qPrintable(asked.candidates[0]));
        QCOMPARE(asked.current, preselected);
        QCOMPARE(asked.chooseEnabled, preselected >= 0);
        QCOMPARE(installationContent(installation(w)), before);
        QVERIFY(!installations(w).isUnsaved());
        QCOMPARE(panelRows(w), rows);
        QCOMPARE(installations(w).inHand(), -1);
        QCOMPARE(modulesList(w)->selectedItems().size(), 0);
        QCOMPARE(w.windowTitle(), u"QV Velano"_s);
        QCOMPARE(rig.image(), Images::values(memory));
        QVERIFY(!rig.sim().frames().contains(u"T3700"_s));
        QCOMPARE(rig.stoppedMemory(), Images::values(memory));
    }

    void unsentEditsNeverOverwrittenSilently_data()
    {
        QTest::addColumn<bool>("takeModule");
        QTest::newRow("Esc keeps the installation's version") << false;
        QTest::newRow("Die van de module (gelezen)") << true;
    }
    // A module with an edit not yet sent, read again and recognised: the installer chooses which
    // version stays; the installation's version the read replaces is kept among the backups.
    void unsentEditsNeverOverwrittenSilently()
    {
        QFETCH(bool, takeModule);
        House house;
        SimRig rig;
        TestWindow &w = rig.w();
        QVERIFY(openHouse(rig, house));
        QVERIFY(selectModule(w, 1));
        w.Option2->click();
        const ModuleImage edited = withMaster(house.relay2, 0);
        QCOMPARE(module(w, 1).image, edited);
        QCOMPARE(stateOf(w, 1), u"gewijzigd, niet verstuurd"_s);
        rig.attach(0, house.relay2);

        MessageBox::setAutoAnswer(false);
        Asked asked;
        {
            RealBoxes boxes(
                {takeModule ? RealBoxes::click(u"Die van de module (gelezen)"_s) : RealBoxes::escape()});
            QVERIFY(readAndAssign(rig, Enter, &asked));
            QTRY_VERIFY(boxes.lastClosed());
            QCOMPARE(boxes.texts(),
                     QStringList{u"Module 'Kelder relais 2' heeft in de installatie wijzigingen die nog niet "
                                 "verstuurd zijn, en de module houdt iets anders. Welke versie komt in de "
                                 "installatie?"_s});
            QCOMPARE(boxes.unexpected(), 0);
        }
        MessageBox::setAutoAnswer(true);
        QVERIFY2(
            asked.candidates.value(0).startsWith(u"Kelder relais 2 (Kelder, kast 2) – geen verschillen"_s),
            qPrintable(asked.candidates.value(0)));
        QCOMPARE(installations(w).inHand(), 1);
        QVERIFY(module(w, 1).knownImage == house.relay2);
        if (takeModule) {
            QCOMPARE(module(w, 1).image, house.relay2);
            QVERIFY2(stateOf(w, 1).startsWith(u"gelezen "_s), qPrintable(stateOf(w, 1)));
            QVERIFY(w.Option1->isChecked());
            bool kept = false;
            for (const Backups::Entry &backup : Backups::list())
                if (const auto data = readModuleFile(backup.path))
                    kept = kept || data->values == Images::values(edited);
            QVERIFY(kept);
        } else {
            QCOMPARE(module(w, 1).image, edited);
            QCOMPARE(stateOf(w, 1), u"gewijzigd, niet verstuurd"_s);
            QVERIFY(w.Option2->isChecked());
        }
        QCOMPARE(rig.image(), Images::values(module(w, 1).image));
        QVERIFY(!rig.sim().frames().contains(u"T3700"_s));
        QCOMPARE(rig.stoppedMemory(), Images::values(house.relay2));
    }

    // The line lost half-way through a send: the module is recorded as partly sent and what it
    // is known to hold stays as it was; sent again in full, it holds the image.
    void lineLostMidSend()
    {
        House house;
        SimRig rig;
        TestWindow &w = rig.w();
        QVERIFY(openHouse(rig, house));
        QVERIFY(selectModule(w, 0));
        w.Option2->click();
        w.Command2->click();
        QTRY_VERIFY_WITH_TIMEOUT(w.ProgressBar1->value() > 100, 10000);
        rig.sim().stop();
        QVERIFY(rig.waitIdle(20000));
        QVERIFY2(MessageBox::lastText().contains(u"verbroken"_s) &&
                     MessageBox::lastText().contains(u"De module is maar gedeeltelijk beschreven"_s),
                 qPrintable(MessageBox::lastText()));
        QCOMPARE(stateOf(w, 0), u"gedeeltelijk verstuurd"_s);
        QCOMPARE(module(w, 0).sendOutcome, u"gedeeltelijk verstuurd"_s);
        QVERIFY(module(w, 0).knownImage == house.relay1);
        QCOMPARE(module(w, 0).knownFrom, u"read"_s);
        QCOMPARE(installations(w).inHand(), 0);
        const QStringList written = rig.framesAfter(u"T3700"_s);
        const auto whole = written.filter(QRegularExpression(u"^T\\d{6}$"_s)).size();
        QVERIFY2(whole >= 100 && whole < 340, qPrintable(written.join(QLatin1Char(' '))));

        // The module back on the line with what it holds now; sent again, in full.
        const std::vector<int> holds = rig.saved();
        ModuleImage memory(int(holds.size()));
        for (size_t slot = 0; slot < holds.size(); ++slot)
            memory.set(int(slot), holds[slot]);
        rig.attach(0, memory);
        QVERIFY(rig.send());
        QCOMPARE(rig.saved(), Images::values(withMaster(house.relay1, 0)));
        QVERIFY2(stateOf(w, 0).startsWith(u"verstuurd "_s), qPrintable(stateOf(w, 0)));
    }

    // Three module files imported, each a module named after its file; one exported is the same
    // file to the byte as "Module Opslaan als ..." writes, and it goes to its module as it is.
    void importedAndExported()
    {
        SimRig rig({.seed = 4});
        TestWindow &w = rig.w();
        const ModuleImage relay = withMaster(Images::pattern(0, 7), 1);
        const ModuleImage dimmer = Images::pattern(1, 8);
        const ModuleImage velano = Images::pattern(2, 9);
        QVERIFY(writeModuleFile(rig.home.file(u"Keuken relais.QV1"_s), 0, relay).ok());
        QVERIFY(writeModuleFile(rig.home.file(u"Living dimmer.QV1"_s), 1, dimmer).ok());
        QVERIFY(writeModuleFile(rig.home.file(u"Zolder.QV1"_s), 2, velano).ok());
        QVERIFY(newInstallation(w, u"Woning Janssens"_s));
        {
            OnDialog import(u"ModulesImporterenDialog"_s,
                            typeFileName(u"\"Keuken relais.QV1\" \"Living dimmer.QV1\" \"Zolder.QV1\""_s));
            QVERIFY(choose(w, "modulesImporteren"));
            QVERIFY(import.answered());
        }
        QCOMPARE(panelRows(w), (QStringList{u"Keuken relais |  | ZK3412_ZK2412 | nooit gelezen"_s,
                                            u"Living dimmer |  | ZK24XX_ZK3447 | nooit gelezen"_s,
                                            u"Zolder |  | ZK2019 | nooit gelezen"_s}));
        QCOMPARE(module(w, 0).image, relay);
        QCOMPARE(module(w, 1).image, dimmer);
        QCOMPARE(module(w, 2).image, velano);
        QCOMPARE(module(w, 2).type, 2);
        QVERIFY(installations(w).isUnsaved());
        QCOMPARE(installations(w).inHand(), -1);
        QVERIFY(!entry(w, "moduleExporteren")->isEnabled());

        QVERIFY(selectModule(w, 0));
        {
            OnDialog save(u"Form3"_s, typeModuleFileName(u"keuken export"_s));
            QVERIFY(choose(w, "moduleExporteren"));
            QVERIFY(save.answered());
        }
        {
            OnDialog save(u"Form3"_s, typeModuleFileName(u"keuken opgeslagen"_s));
            w.Bewaren_als_Click();
            QVERIFY(save.answered());
        }
        const QByteArray exported = WindowRig::bytes(rig.home.file(u"keuken export.QV1"_s));
        QCOMPARE(exported, WindowRig::fileBytes(0, relay));
        QCOMPARE(WindowRig::bytes(rig.home.file(u"keuken opgeslagen.QV1"_s)), exported);

        QVERIFY(rig.send());
        QCOMPARE(MessageBox::lastText(), u"Module 'Keuken relais' versturen?"_s);
        QCOMPARE(rig.saved(), Images::values(relay));
        QVERIFY2(stateOf(w, 0).startsWith(u"verstuurd "_s), qPrintable(stateOf(w, 0)));
    }

    void lockedDuringConversation_data()
    {
        QTest::addColumn<bool>("send");
        QTest::newRow("read, left with Esc") << false;
        QTest::newRow("send") << true;
    }
    // While the window talks to a module, no entry of the Installatie menu can be chosen and the
    // panel takes no click; both are back once the conversation is over.
    void lockedDuringConversation()
    {
        QFETCH(bool, send);
        House house;
        SimRig rig;
        TestWindow &w = rig.w();
        QVERIFY(openHouse(rig, house));
        if (send) {
            QVERIFY(selectModule(w, 0));
            w.Command2->click();
            QTRY_VERIFY_WITH_TIMEOUT(w.ProgressBar1->value() > 50, 10000);
        } else {
            rig.attach(0, house.relay1, {u"stop-after=60"_s});
            w.Command1->click();
            QTRY_COMPARE_WITH_TIMEOUT(w.ProgressBar1->value(), 60, 10000);
        }
        const int inHand = installations(w).inHand();
        const QByteArray before = installationContent(installation(w));
        const char *entries[] = {"nieuweInstallatie",     "installatieOpenen",   "installatieOpslaan",
                                 "installatieOpslaanAls", "installatieSluiten",  "eigenschappen",
                                 "moduleToevoegen",       "modulesImporteren",   "moduleExporteren",
                                 "moduleVerwijderen",     "moduleDupliceren",    "paneelTonen",
                                 "recenteInstallatie1",   "overzicht",           "installatieControleren",
                                 "installatieRapport",    "overzichtExporteren", "namenImporteren"};
        QVERIFY(w.conversation().isRunning());
        QVERIFY(!byName<QMenu>(&w, "installatie")->menuAction()->isEnabled());
        for (const char *name : entries)
            QVERIFY2(!TestWindow::reachable(entry(w, name)), name);
        QVERIFY(byName<QDockWidget>(&w, "installatiePaneel")->isVisible());
        QVERIFY(!modulesList(w)->isEnabled());
        QVERIFY(clickModule(w, 2));
        QCOMPARE(installations(w).inHand(), inHand);

        if (send) {
            QVERIFY(rig.waitIdle(60000));
        } else {
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(rig.waitIdle());
            QTest::qWait(100); // no question follows a read that was left
        }
        QVERIFY(byName<QMenu>(&w, "installatie")->menuAction()->isEnabled());
        for (const char *name :
             {"nieuweInstallatie", "installatieOpenen", "installatieOpslaan", "installatieSluiten",
              "modulesImporteren", "paneelTonen", "recenteInstallatie1"})
            QVERIFY2(TestWindow::reachable(entry(w, name)), name);
        QVERIFY(modulesList(w)->isEnabled());
        if (send) {
            QTRY_VERIFY_WITH_TIMEOUT(rig.saved() == Images::values(house.relay1), 20000);
            QVERIFY2(stateOf(w, 0).startsWith(u"verstuurd "_s), qPrintable(stateOf(w, 0)));
        } else {
            QCOMPARE(installationContent(installation(w)), before);
            QVERIFY(!rig.sim().frames().contains(u"T3700"_s));
            QCOMPARE(rig.stoppedMemory(), Images::values(house.relay1));
        }
        QVERIFY(selectModule(w, 2));
    }

    void recoveryCopyAfterKilledProgram_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("takeCopy");
        QTest::newRow("never saved, offered at start") << false << true;
        QTest::newRow("saved, offered on opening") << true << true;
        QTest::newRow("saved, copy declined") << true << false;
    }
    // A recovery copy written by the timer while the installation had unsaved changes, the
    // program killed: the next program offers the copy (at start for an installation never saved,
    // on opening the file for a saved one); a copy declined stays among the backups.
    void recoveryCopyAfterKilledProgram()
    {
        QFETCH(bool, saved);
        QFETCH(bool, takeCopy);
        House house;
        SimRig rig;
        if (saved) {
            QVERIFY(openHouse(rig, house));
            QVERIFY(selectModule(rig.w(), 0));
            rig.w().Option2->click();
        } else {
            QVERIFY(rig.w().openModuleFile(rig.memoryFile()));
            QVERIFY(newInstallation(rig.w(), u"Woning Peeters"_s));
            QVERIFY(choose(rig.w(), "moduleToevoegen"));
        }
        const ModuleImage edited = module(rig.w(), 0).image;
        QCOMPARE(edited, withMaster(house.relay1, saved ? 0 : 1));
        QVERIFY(installations(rig.w()).isUnsaved());
        QCOMPARE(recoveryCopies(), QStringList());
        auto *timer = rig.w().findChild<QTimer *>(u"herstelTimer"_s);
        QVERIFY(timer && timer->isActive());
        timer->start(20);
        QTRY_COMPARE(recoveryCopies().size(), 1);

        rig.restart();
        TestWindow &w = rig.w();
        QTest::qWait(100);
        if (saved) {
            QVERIFY(!installations(w).isOpen());
            QCOMPARE(MessageBox::shownCount(), 0);
            if (!takeCopy) MessageBox::setNextChoice(1); // "Het bestand openen"
            QVERIFY(choose(w, "recenteInstallatie1"));
            QVERIFY2(MessageBox::lastText().startsWith(u"Er is een herstelkopie van "_s +
                                                       rig.home.file(u"woning.qvi"_s)),
                     qPrintable(MessageBox::lastText()));
        } else {
            QTRY_VERIFY(installations(w).isOpen());
            QVERIFY2(MessageBox::lastText().startsWith(
                         u"Er is een herstelkopie van de installatie 'Woning Peeters' van "_s),
                     qPrintable(MessageBox::lastText()));
            QCOMPARE(installations(w).path(), QString());
            QCOMPARE(installation(w).name, u"Woning Peeters"_s);
        }
        QCOMPARE(MessageBox::shownCount(), 1);
        QCOMPARE(installations(w).isUnsaved(), takeCopy);
        QCOMPARE(module(w, 0).image, takeCopy ? edited : house.relay1);
        if (!takeCopy) {
            // Declined, the copy stays among the backups under a name of its own.
            const QStringList kept = recoveryCopies();
            QCOMPARE(kept.size(), 1);
            QVERIFY2(QRegularExpression(u"^recovery_[0-9a-f]{12}_\\d{8}-\\d{6}\\.qvi$"_s)
                         .match(kept[0])
                         .hasMatch(),
                     qPrintable(kept[0]));
        }

        // The module as recovered goes to the module.
        QVERIFY(selectModule(w, 0));
        QVERIFY(rig.send());
        QCOMPARE(rig.saved(), Images::values(module(w, 0).image));
    }
};

QTEST_MAIN(TestInstallations)
#include "tst_installations.moc"
