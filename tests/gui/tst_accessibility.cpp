#include "app/BrowseDirectoryDialog.h"
#include "app/Installations.h"
#include "app/ModulePage.h"
#include "app/PreferencesDialog.h"
#include "common/MessageBox.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "editors/EditorRules.h"
#include "editors/OutputFunctionsFrame.h"
#include "editors/PushButtonFrame.h"
#include "files/ModuleFileDialogs.h"
#include "installation/Installation.h"
#include "protocol/Conversation.h"
#include "scenes/SceneFrame.h"
#include "support/WindowRig.h"
#include "viewer/Folivo.h"

#include <QAccessible>
#include <QDockWidget>
#include <QGroupBox>
#include <QPdfDocument>
#include <QSet>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// Walks the accessibility tree of the window and of each dialog, in Dutch and in French, and
// checks that a screen reader finds every control under the text the installer sees: a button
// or a group under its caption, a field, list or table under its label, and a control without a
// label under a text the window shows nearby.
class TestAccessibility : public QObject
{
    Q_OBJECT

    // The text as the installer reads it: without mnemonic markers ("&&" stays one "&").
    static QString plain(const QString &text)
    {
        QString out;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i) == QLatin1Char('&') && i + 1 < text.size()) ++i;
            out += text.at(i);
        }
        return out;
    }
    // What a label shows: an ampersand makes a mnemonic only in a label that has a buddy.
    static QString shownBy(const QLabel *label)
    {
        return label->buddy() ? plain(label->text()) : label->text();
    }

    // The control's object name; a part without an object of its own (a tab) by its owner's.
    static QString describe(QAccessibleInterface *iface)
    {
        if (QObject *o = iface->object(); o && !o->objectName().isEmpty()) return o->objectName();
        QAccessibleInterface *parent = iface->parent();
        if (parent && parent->object())
            return parent->object()->objectName() +
                   QStringLiteral(" item %1").arg(parent->indexOfChild(iface));
        return QStringLiteral("<unnamed>");
    }

    // The visible label whose buddy is `w`.
    static QLabel *labelOf(QWidget *window, QWidget *w)
    {
        for (QLabel *label : window->findChildren<QLabel *>())
            if (label->buddy() == w && label->isVisible()) return label;
        return nullptr;
    }

    // One window or dialog under inspection. It remembers every text the window has shown so far,
    // so a name may be a text the installer saw in it a moment before (a prompt replaced by a
    // choice, the caption of a button that gave way to its field).
    struct Inspector
    {
        QWidget *window;
        QSet<QString> seen;
        QStringList faults;
        QSet<QString> visited;
        QSet<QString> groupsChecked; // every group checked so far, over all steps

        explicit Inspector(QWidget *w) : window(w) {}

        void collectShownTexts()
        {
            seen << window->windowTitle();
            for (QWidget *w : window->findChildren<QWidget *>()) {
                if (!w->isVisible()) continue;
                if (!w->toolTip().isEmpty()) seen << w->toolTip();
                if (auto *l = qobject_cast<QLabel *>(w))
                    seen << shownBy(l);
                else if (auto *b = qobject_cast<QAbstractButton *>(w))
                    seen << plain(b->text());
                else if (auto *g = qobject_cast<QGroupBox *>(w))
                    seen << plain(g->title());
                else if (auto *c = qobject_cast<QComboBox *>(w))
                    seen << c->currentText();
                else if (auto *t = qobject_cast<QTabBar *>(w))
                    for (int i = 0; i < t->count(); ++i)
                        seen << plain(t->tabText(i));
            }
            seen.remove(QString());
        }

        void fault(QAccessibleInterface *iface, const QString &what)
        {
            faults << describe(iface) + QStringLiteral(": ") + what;
        }

        void checkControl(QAccessibleInterface *iface)
        {
            const QAccessible::Role role = iface->role();
            auto *w = qobject_cast<QWidget *>(iface->object());
            const QString name = iface->text(QAccessible::Name);
            const QString description = iface->text(QAccessible::Description);
            if (w) visited << w->objectName();

            QString caption;
            if (auto *b = qobject_cast<QAbstractButton *>(w)) caption = plain(b->text());
            if (role == QAccessible::PageTab) {
                QAccessibleInterface *bar = iface->parent();
                if (auto *tabs = bar ? qobject_cast<QTabBar *>(bar->object()) : nullptr)
                    caption = plain(tabs->tabText(bar->indexOfChild(iface)));
            }
            QLabel *label = w && caption.isEmpty() ? labelOf(window, w) : nullptr;

            if (!caption.isEmpty()) {
                if (name != caption)
                    fault(iface, QStringLiteral("named \"%1\", its caption reads \"%2\"").arg(name, caption));
            } else if (label && role == QAccessible::ComboBox) {
                // On X11 and Wayland Qt reports the text in a combo box as its name and hands the
                // label over as the labelled-by relation; elsewhere the label is the name.
                bool related = false;
                for (const auto &[other, relation] : iface->relations(QAccessible::Label))
                    related |= other->object() == label;
                if (!related)
                    fault(iface, QStringLiteral("not labelled by \"%1\"").arg(plain(label->text())));
                if (!w->accessibleName().isEmpty() && w->accessibleName() != plain(label->text()))
                    fault(iface, QStringLiteral("named \"%1\", its label reads \"%2\"")
                                     .arg(w->accessibleName(), plain(label->text())));
            } else if (label) {
                if (name != plain(label->text()))
                    fault(iface, QStringLiteral("named \"%1\", its label reads \"%2\"")
                                     .arg(name, plain(label->text())));
            } else {
                // No caption, no label: the name must be set, and be a text the window shows (or
                // the file pattern the file lists show, the same in every language).
                const QString own = role == QAccessible::ComboBox && w ? w->accessibleName() : name;
                if (own.isEmpty())
                    fault(iface, QStringLiteral("has no name"));
                else if (!seen.contains(own) && own != QLatin1String("*.QV1"))
                    fault(iface, QStringLiteral("named \"%1\", a text the window does not show").arg(own));
            }
            if (!description.isEmpty() && !seen.contains(description))
                fault(
                    iface,
                    QStringLiteral("described as \"%1\", a text the window does not show").arg(description));

            // What a field or list shows is read out as its value.
            QString shown;
            if (auto *edit = qobject_cast<QLineEdit *>(w); edit && edit->echoMode() == QLineEdit::Normal)
                shown = edit->text();
            else if (auto *combo = qobject_cast<QComboBox *>(w))
                shown = combo->currentText();
            else
                shown = iface->text(QAccessible::Value);
            if (iface->text(QAccessible::Value) != shown)
                fault(iface, QStringLiteral("has the value \"%1\", it shows \"%2\"")
                                 .arg(iface->text(QAccessible::Value), shown));

            // A table names its columns with the titles of its first row.
            if (role == QAccessible::Table) {
                QAccessibleTableInterface *table = iface->tableInterface();
                auto *grid = qobject_cast<QTableWidget *>(w);
                for (int c = 0; table && grid && c < table->columnCount(); ++c) {
                    const QString header = table->columnDescription(c);
                    const QString title = grid->item(0, c) ? grid->item(0, c)->text() : QString();
                    if (header.isEmpty() || header != title)
                        fault(iface,
                              QStringLiteral("column %1 is described as \"%2\", its title reads \"%3\"")
                                  .arg(c)
                                  .arg(header, title));
                }
            }
        }

        // A label is read out as the text it shows: a caption as its caption, a value (a version,
        // a line status, a push-button number) as the value. A label that shows nothing at the
        // moment still tells what it is for through its description.
        void checkLabel(QAccessibleInterface *iface)
        {
            auto *label = qobject_cast<QLabel *>(iface->object());
            if (!label) return;
            visited << label->objectName();
            const QString name = iface->text(QAccessible::Name);
            const QString text = shownBy(label);
            const QString description = iface->text(QAccessible::Description);
            if (name != text) fault(iface, QStringLiteral("named \"%1\", it shows \"%2\"").arg(name, text));
            if (text.isEmpty() && description.isEmpty())
                fault(iface, QStringLiteral("shows nothing and has no description"));
            else if (!description.isEmpty() && !seen.contains(description))
                fault(
                    iface,
                    QStringLiteral("described as \"%1\", a text the window does not show").arg(description));
        }

        // A group (a frame with a caption) is read out as its caption, also a group inside
        // another group.
        void checkGroup(QAccessibleInterface *iface, QGroupBox *group)
        {
            visited << group->objectName();
            groupsChecked << group->objectName();
            const QString name = iface->text(QAccessible::Name);
            const QString caption = plain(group->title());
            if (name != caption)
                fault(iface, QStringLiteral("read as \"%1\", its caption reads \"%2\"").arg(name, caption));
        }

        void walk(QAccessibleInterface *iface)
        {
            if (!iface || !iface->isValid() || iface->state().invisible) return;
            if (auto *group = qobject_cast<QGroupBox *>(iface->object())) checkGroup(iface, group);
            switch (iface->role()) {
            case QAccessible::StaticText:
                checkLabel(iface);
                break;
            case QAccessible::PushButton:
            case QAccessible::RadioButton:
            case QAccessible::CheckBox:
            case QAccessible::EditableText:
            case QAccessible::PageTab:
                checkControl(iface);
                break;
            case QAccessible::ComboBox:
            case QAccessible::List:
            case QAccessible::Table:
            case QAccessible::Tree:
                // A drop-down list, the field of an editable combo box and table and tree cells
                // belong to their control and go by its name.
                checkControl(iface);
                return;
            default:
                break;
            }
            for (int i = 0; i < iface->childCount(); ++i)
                walk(iface->child(i));
        }

        // Inspects the window as it stands; `expected` are controls the walk must have reached.
        void inspect(const QString &step, const QStringList &expected)
        {
            QCoreApplication::processEvents();
            collectShownTexts();
            const qsizetype before = faults.size();
            visited.clear();
            walk(QAccessible::queryAccessibleInterface(window));
            for (qsizetype i = before; i < faults.size(); ++i)
                faults[i].prepend(step + QStringLiteral(" - "));
            for (const QString &name : expected)
                if (!visited.contains(name))
                    faults << step + QStringLiteral(" - ") + name + QStringLiteral(" was not reached");
        }
    };

    // Every fault on a line of its own (a failure message is cut short).
    static bool none(const QStringList &faults)
    {
        for (const QString &f : faults)
            qWarning("%s", qPrintable(f));
        return faults.isEmpty();
    }

    static ModuleImage moduleImage(int type)
    {
        ModuleImage image(ModuleTypes::info(type)->slotCount);
        for (int slot = 0; slot < image.size(); ++slot)
            image.set(slot, (slot * 7 + 3) % 60);
        image.set(ModuleTypes::MasterSlot, 1);
        return image;
    }

    static void addLanguages()
    {
        QTest::addColumn<QByteArray>("country");
        QTest::newRow("Dutch") << QByteArray(" 1 \r\n");
        QTest::newRow("French") << QByteArray(" 2 \r\n");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QAccessible::installUpdateHandler([](QAccessibleEvent *) {});
        QAccessible::setActive(true);
        MessageBox::setAutoAnswer(true);
    }

    // A fault the walk must not pass over: a list without a name, a field whose explicit name
    // contradicts its label, a button named other than its caption, a table without headers.
    void walkReportsUnnamedControls()
    {
        QWidget window;
        auto *list = new QListWidget(&window);
        list->setObjectName(QStringLiteral("bareList"));
        auto *label = new QLabel(QStringLiteral("&Naam:"), &window);
        auto *edit = new QLineEdit(&window);
        edit->setObjectName(QStringLiteral("renamedEdit"));
        label->setBuddy(edit);
        edit->setAccessibleName(QStringLiteral("Name"));
        auto *button = new QPushButton(QStringLiteral("5"), &window);
        button->setObjectName(QStringLiteral("renamedButton"));
        button->setAccessibleName(QStringLiteral("Uitgang 5"));
        auto *value = new QLabel(QStringLiteral("5"), &window);
        value->setObjectName(QStringLiteral("captionedValue"));
        value->setAccessibleName(QStringLiteral("Drukknop nr."));
        auto *empty = new QLabel(&window);
        empty->setObjectName(QStringLiteral("emptyValue"));
        auto *table = new QTableWidget(2, 2, &window);
        table->setObjectName(QStringLiteral("bareTable"));
        table->setAccessibleName(QStringLiteral("Naam:"));
        table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Titel")));
        auto *outer = new QGroupBox(QStringLiteral("Buiten:"), &window);
        outer->setObjectName(QStringLiteral("outerGroup"));
        auto *inner = new QGroupBox(QStringLiteral("Binnen"), outer);
        inner->setObjectName(QStringLiteral("innerGroup"));
        (new QVBoxLayout(outer))->addWidget(inner);
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *w :
             std::initializer_list<QWidget *>{list, label, edit, button, value, empty, table, outer})
            layout->addWidget(w);
        window.show();

        Inspector inspector(&window);
        inspector.inspect(QStringLiteral("probe"), {});
        const QString found = inspector.faults.join(QLatin1Char('\n'));
        QVERIFY2(found.contains(QLatin1String("bareList: has no name")), qPrintable(found));
        QVERIFY2(found.contains(QLatin1String("renamedEdit: named \"Name\", its label reads \"Naam:\"")),
                 qPrintable(found));
        QVERIFY2(found.contains(QLatin1String("renamedButton: named \"Uitgang 5\"")), qPrintable(found));
        QVERIFY2(found.contains(QLatin1String("bareTable: column 0")), qPrintable(found));
        QVERIFY2(found.contains(QLatin1String("captionedValue: named \"Drukknop nr.\", it shows \"5\"")),
                 qPrintable(found));
        QVERIFY2(found.contains(QLatin1String("emptyValue: shows nothing and has no description")),
                 qPrintable(found));
        QVERIFY2(
            found.contains(QLatin1String("innerGroup: read as \"Buiten:\", its caption reads \"Binnen\"")),
            qPrintable(found));
        QVERIFY(inspector.groupsChecked.contains(QStringLiteral("outerGroup")));
        QCOMPARE(inspector.faults.size(), 8); // both columns of the table
    }

    // The main window from start-up through every frame the installer can bring up.
    void mainWindowAndFrames_data() { addLanguages(); }
    void mainWindowAndFrames()
    {
        QFETCH(QByteArray, country);
        WindowRig rig({.country = country, .pc = "0\r\n", .documentation = true});
        TestWindow &w = rig.w();
        Inspector inspector(&w);
        inspector.inspect(QStringLiteral("start"),
                          {QStringLiteral("Combo1"), QStringLiteral("Command1"), QStringLiteral("Text1")});

        QVERIFY(rig.openFile(0, moduleImage(0)));
        inspector.inspect(
            QStringLiteral("relay module file"),
            {QStringLiteral("Command7"), QStringLiteral("Option1"), QStringLiteral("Command11")});

        w.Command7->click();
        PushButtonFrame *buttons = w.Frame3;
        pick(byName<QComboBox>(buttons, "Combo2"), 2);
        byName<QRadioButton>(buttons, "Option3")->setChecked(true);
        byName<QRadioButton>(buttons, "Option7")->setChecked(true);
        inspector.inspect(QStringLiteral("push buttons"),
                          {QStringLiteral("Frame3"), QStringLiteral("Frame4"), QStringLiteral("Frame5"),
                           QStringLiteral("Grid1"), QStringLiteral("Combo2"), QStringLiteral("Combo3"),
                           QStringLiteral("Combo6"), QStringLiteral("Option8"), QStringLiteral("Check2"),
                           QStringLiteral("Command3")});

        w.Command8->click();
        inspector.inspect(QStringLiteral("second-function time"), {QStringLiteral("Combo7")});

        w.Command9->click();
        OutputFunctionsFrame *outputs = w.Frame7;
        pick(byName<QComboBox>(outputs, "Combo8"), 0);
        pick(byName<QComboBox>(outputs, "Combo9"), 4); // a function with a time and a linked output
        inspector.inspect(QStringLiteral("output functions"),
                          {QStringLiteral("Frame8"), QStringLiteral("Grid2"), QStringLiteral("Combo8"),
                           QStringLiteral("Combo9"), QStringLiteral("Combo10"), QStringLiteral("Combo11"),
                           QStringLiteral("Command5")});

        w.Command10->click();
        inspector.inspect(QStringLiteral("scenes, none chosen"),
                          {QStringLiteral("Combo25"), QStringLiteral("Combo12_11")});
        w.Frame9->selectScene(3);
        inspector.inspect(
            QStringLiteral("scenes, scene 4"),
            {QStringLiteral("Combo25"), QStringLiteral("Combo12_0"), QStringLiteral("Option10")});

        w.Command12->click();
        DiagnosticsFrame *diagnostics = w.Frame10;
        const QStringList tabContents[] = {
            {QStringLiteral("Command6"), QStringLiteral("Combo30")},
            {QStringLiteral("Command17"), QStringLiteral("Command18"), QStringLiteral("Combo29")},
            {QStringLiteral("Command19"), QStringLiteral("Command21"), QStringLiteral("Command32")}};
        for (int tab = 0; tab < 3; ++tab) {
            byName<QTabWidget>(diagnostics, "SSTab1")->setCurrentIndex(tab);
            inspector.inspect(QStringLiteral("diagnostics tab %1").arg(tab), tabContents[tab]);
        }

        w.Combo1_Click(); // back to the module page
        QVERIFY(byName<QPushButton>(w.Frame11, "Command11")->isVisible());
        byName<QPushButton>(w.Frame11, "Command11")->click();
        QTRY_COMPARE(w.Folivo1->document()->status(), QPdfDocument::Status::Ready);
        inspector.inspect(QStringLiteral("documentation"), {QStringLiteral("Command15")});
        w.Command15->click();

        QVERIFY(rig.openFile(1, moduleImage(1)));
        w.Command9->click();
        inspector.inspect(QStringLiteral("dim start values"),
                          {QStringLiteral("Combo24"), QStringLiteral("Combo28")});
        w.Command12->click();
        byName<QTabWidget>(diagnostics, "SSTab1")->setCurrentIndex(2);
        inspector.inspect(QStringLiteral("dim output test"),
                          {QStringLiteral("Command22"), QStringLiteral("Command25")});

        // Every group of every panel has been read out under its caption at some step.
        for (QGroupBox *group : w.findChildren<QGroupBox *>())
            if (!inspector.groupsChecked.contains(group->objectName()))
                inspector.faults << group->objectName() + QStringLiteral(" was never checked");
        QVERIFY2(none(inspector.faults), "controls a screen reader cannot name, listed above");
    }

    // An installation module's names are heard: in the tables' cells, as the label beside a list
    // and as the list's description; every control still passes the inspection.
    void namesAreHeard_data() { addLanguages(); }
    void namesAreHeard()
    {
        QFETCH(QByteArray, country);
        WindowRig rig({.country = country, .pc = "0\r\n"});
        TestWindow &w = rig.w();
        Installation plan;
        plan.name = QStringLiteral("Huis");
        InstallationModule module;
        module.id = QStringLiteral("m");
        module.name = QStringLiteral("Kelder");
        module.image = moduleImage(0);
        module.image.set(EditorRules::firstFunctionSlot(3), 4);
        module.names = ModuleNames::forType(0);
        module.names.outputs[4] = QStringLiteral("Keuken <b>plafond</b>");
        module.names.pushButtons[2] = QStringLiteral("Voordeur & gang");
        plan.modules = {module};
        const QString path = rig.home.file(QStringLiteral("huis.qvi"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(installationContent(plan));
        }
        QVERIFY(w.installations()->openInstallation(path));
        w.installations()->selectModule(0);
        // The panel's float and close buttons are Qt's own, named in Qt's words.
        byName<QDockWidget>(&w, "installatiePaneel")->hide();
        Inspector inspector(&w);
        w.Command7->click();
        PushButtonFrame *buttons = w.Frame3;
        pick(byName<QComboBox>(buttons, "Combo2"), 2);
        byName<QRadioButton>(buttons, "Option3")->setChecked(true);
        pick(byName<QComboBox>(buttons, "Combo3"), 4);
        inspector.inspect(QStringLiteral("named push buttons"),
                          {QStringLiteral("Combo2"), QStringLiteral("Combo2Naam"), QStringLiteral("Combo3"),
                           QStringLiteral("Combo3Naam"), QStringLiteral("Grid1")});
        const auto heard = [](QObject *x, QAccessible::Text what) {
            return QAccessible::queryAccessibleInterface(x)->text(what);
        };
        QCOMPARE(heard(byName<QComboBox>(buttons, "Combo3"), QAccessible::Description),
                 QStringLiteral("Keuken <b>plafond</b>"));
        QCOMPARE(heard(byName<QLabel>(buttons, "Combo3Naam"), QAccessible::Name),
                 QStringLiteral("Keuken <b>plafond</b>"));
        QCOMPARE(heard(byName<QComboBox>(buttons, "Combo2"), QAccessible::Description),
                 QStringLiteral("Voordeur & gang"));
        auto *grid = byName<QTableWidget>(buttons, "Grid1");
        QAccessibleInterface *table = QAccessible::queryAccessibleInterface(grid);
        QAccessibleInterface *cell = table->tableInterface()->cellAt(3, 1);
        QVERIFY(cell);
        QVERIFY2(cell->text(QAccessible::Name).endsWith(QStringLiteral("5 – Keuken <b>plafond</b>")),
                 qPrintable(cell->text(QAccessible::Name)));

        // The overview's tables and the check's list are read out with their column titles.
        rig.action("overzicht")->trigger();
        inspector.inspect(QStringLiteral("overview"),
                          {QStringLiteral("Overzicht"), QStringLiteral("drukknoppenOverzicht"),
                           QStringLiteral("drukknoppenFilter")});
        QAccessibleInterface *overview =
            QAccessible::queryAccessibleInterface(byName<QWidget>(&w, "drukknoppenOverzicht"));
        QVERIFY(overview->tableInterface());
        QCOMPARE(overview->tableInterface()->columnCount(), 5);
        QAccessibleInterface *header = overview->tableInterface()->cellAt(0, 2);
        QVERIFY(header);
        // The header cells are made for the caller, who deletes them.
        const QList<QAccessibleInterface *> titles = header->tableCellInterface()->columnHeaderCells();
        const QString title = titles.isEmpty() ? QString() : titles.first()->text(QAccessible::Name);
        for (QAccessibleInterface *made : titles)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
        QCOMPARE(title, country.contains('1') ? QStringLiteral("Naam") : QStringLiteral("Nom"));
        rig.action("installatieControleren")->trigger();
        inspector.inspect(QStringLiteral("check"),
                          {QStringLiteral("Controle"), QStringLiteral("bevindingen")});
        QVERIFY2(none(inspector.faults), "controls a screen reader cannot name, listed above");
    }

    // What shows a value is read out as that value, and follows it as it changes: the version,
    // the status, the line status, the push-button number and the history headings. A value
    // label that shows nothing still tells what it is for.
    void valuesAreSpoken_data() { addLanguages(); }
    void valuesAreSpoken()
    {
        QFETCH(QByteArray, country);
        const bool dutch = country.contains('1');
        const auto text = [dutch](const char *nl, const char *fr) {
            return QString::fromUtf8(dutch ? nl : fr);
        };
        const auto spoken = [](QWidget *x, QAccessible::Text what) {
            return QAccessible::queryAccessibleInterface(x)->text(what);
        };
        WindowRig rig({.country = country, .pc = "0\r\n", .documentation = true});
        TestWindow &w = rig.w();
        ScriptedModule module(rig.link, 0);
        Inspector inspector(&w);

        w.Command1->click();
        QCOMPARE(spoken(w.Text1, QAccessible::Value), text("Module zoeken...", "Recherche module..."));
        QCOMPARE(spoken(w.Text1, QAccessible::Name), QStringLiteral("Status:"));
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QCOMPARE(spoken(w.Text1, QAccessible::Value), QStringLiteral("Edit mode"));
        const int version = module.memory[size_t(79)];
        QCOMPARE(spoken(w.Label5, QAccessible::Name), text("Versie: %1", "Version: %1").arg(version));
        inspector.inspect(QStringLiteral("module read"), {QStringLiteral("Label5"), QStringLiteral("Text1")});

        w.Command12->click();
        DiagnosticsFrame *f = w.Frame10;
        QCOMPARE(spoken(byName<QLabel>(f, "Label24"), QAccessible::Name), QString());
        QCOMPARE(spoken(byName<QLabel>(f, "Label24"), QAccessible::Description),
                 text("Lijnstatus:", "Status de la ligne:"));
        QStringList statuses; // the line status as a screen reader has it when each value comes in
        connect(&w.conversation(), &Conversation::lineStatus, f,
                [&] { statuses << spoken(byName<QLabel>(f, "Label24"), QAccessible::Name); });
        byName<QPushButton>(f, "Command6")->click();
        module.announce();
        QTRY_VERIFY(byName<QPushButton>(f, "Command6")->isEnabled());
        QCOMPARE(statuses, QStringList({u"0412"_s, u"0413"_s, u"0414"_s, u"0415"_s, u"0416"_s, u"0417"_s,
                                        u"0418"_s, u"0419"_s, u"0420"_s, u""_s}));
        QCOMPARE(spoken(byName<QComboBox>(f, "Combo30"), QAccessible::Value),
                 text("Historiek", "Historique"));
        inspector.inspect(QStringLiteral("line status scanned"),
                          {QStringLiteral("Label24"), QStringLiteral("Combo30")});

        byName<QTabWidget>(f, "SSTab1")->setCurrentIndex(1);
        byName<QPushButton>(f, "Command17")->click();
        module.announce();
        QTRY_VERIFY(byName<QPushButton>(f, "Command18")->isEnabled());
        rig.link.moduleSend("P04\r");
        QTRY_COMPARE(byName<QLabel>(f, "Label33")->text(), QStringLiteral("5"));
        QCOMPARE(spoken(byName<QLabel>(f, "Label33"), QAccessible::Name), QStringLiteral("5"));
        QCOMPARE(spoken(byName<QLabel>(f, "Label33"), QAccessible::Description),
                 text("Drukknop nr.:", "Nr. bouton poussoir:"));
        QCOMPARE(spoken(byName<QComboBox>(f, "Combo29"), QAccessible::Value),
                 text("Historiek", "Historique"));
        inspector.inspect(QStringLiteral("push button pressed"),
                          {QStringLiteral("Label33"), QStringLiteral("Combo29")});
        byName<QPushButton>(f, "Command18")->click();
        QTRY_VERIFY(byName<QPushButton>(f, "Command17")->isEnabled());
        QCOMPARE(spoken(byName<QLabel>(f, "Label33"), QAccessible::Name), QString());
        inspector.inspect(QStringLiteral("monitor stopped"), {QStringLiteral("Label33")});
        QVERIFY2(none(inspector.faults), "values a screen reader does not read out, listed above");
    }

    void dialogs_data() { addLanguages(); }
    void dialogs()
    {
        QFETCH(QByteArray, country);
        WindowRig rig({.country = country, .pc = "0\r\n", .documentation = true});
        ModuleState &state = rig.window->state();
        QStringList faults;
        const auto inspect = [&faults](QDialog &dialog, const QStringList &expected) {
            dialog.show();
            Inspector inspector(&dialog);
            inspector.inspect(dialog.objectName(), expected);
            faults << inspector.faults;
            return inspector;
        };

        PreferencesDialog preferences(state, rig.window.get());
        inspect(preferences, {QStringLiteral("Command1"), QStringLiteral("Command3")});
        BrowseDirectoryDialog browse(state, rig.window.get());
        inspect(browse, {QStringLiteral("Drive1"), QStringLiteral("Dir1"), QStringLiteral("Command3")});
        OpenDialog open(
            state, [](const QString &) { return false; }, rig.window.get());
        inspect(open, {QStringLiteral("Drive1"), QStringLiteral("Dir1"), QStringLiteral("File1"),
                       QStringLiteral("CancelButton")});
        SaveDialog save(
            state, [](const QString &) { return false; }, rig.window.get());
        Inspector saving = inspect(save, {QStringLiteral("Drive1"), QStringLiteral("Dir1"),
                                          QStringLiteral("File1"), QStringLiteral("Text1")});
        // The field for a new folder's name takes the place of its button.
        byName<QPushButton>(&save, "Command3")->click();
        saving.faults.clear();
        saving.inspect(QStringLiteral("Form3, new folder"),
                       {QStringLiteral("Text2"), QStringLiteral("Command2")});
        faults << saving.faults;
        QVERIFY2(none(faults), "controls a screen reader cannot name, listed above");
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
