#include "app/Installations.h"
#include "common/MessageBox.h"
#include "diagnostics/DiagnosticsFrame.h"
#include "editors/EditorRules.h"
#include "scenes/SceneLayout.h"
#include "support/Dialogs.h"
#include "support/SimRig.h"
#include "support/Typing.h"

#include <QDialogButtonBox>
#include <QPdfDocument>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTextDocument>
#include <QTreeWidget>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The relay module of the house. Push button 4 switches output 7; push button 13 switches
// output 5 and, as its second function, calls scene 2; no other push button does anything.
// Every output is a plain on/off output; only scene 2 changes outputs (5 on, 7 off), so it is the
// only scene of the report.
ModuleImage houseRelay()
{
    using namespace EditorRules;
    ModuleImage image = Images::pattern(0, 1);
    for (int button = 1; button <= PushButtonCount; ++button) {
        image.set(firstFunctionSlot(button), NoFunction);
        image.set(secondFunctionSlot(button), NoFunction);
    }
    image.set(firstFunctionSlot(4), 6);
    image.set(firstFunctionSlot(13), 4);
    image.set(secondFunctionSlot(13), FirstSceneValue + 1);
    image.set(ModuleTypes::MasterSlot, 1);
    image.set(ModuleTypes::SecondFunctionTimeSlot, 4);
    for (int output = 1; output <= RelayOutputCount; ++output) {
        image.set(outputFunctionSlot(output), 0);
        image.set(outputTimeSlot(output), 1);
        image.set(linkedOutputSlot(output), 1);
    }
    image.set(ModuleTypes::info(0)->versionSlot, 501);
    for (int scene = 0; scene < SceneLayout::SceneCount; ++scene) {
        for (int output = 1; output <= RelayOutputCount; ++output)
            image.set(SceneLayout::channelSlot(0, scene, output), 10); // "***": left as it is
        image.set(SceneLayout::groupFlagSlot(0, scene), 0);
    }
    image.set(SceneLayout::channelSlot(0, 1, 5), 1);
    image.set(SceneLayout::channelSlot(0, 1, 7), 0);
    return image;
}

// The push buttons the module reports while the monitor runs: push button 13 (index 12), then
// push button 4.
const QStringList Presses{u"--buttons"_s, u"12:100,3:100"_s};

// What the installer calls things of the house's relay module, typed into the Namen panel: the
// table, the list of the installation it goes to, the number, the name. One name holds markup,
// one an ampersand.
struct Naming
{
    const char *table;
    std::vector<QString> ModuleNames::*list;
    int number;
    QString name;
};
const Naming HouseNames[] = {
    {"uitgangNamen", &ModuleNames::outputs, 5, u"Keuken plafond"_s},
    {"uitgangNamen", &ModuleNames::outputs, 7, u"Bad & <b>WC</b>"_s},
    {"drukknopNamen", &ModuleNames::pushButtons, 13, u"Voordeur <b>x</b>"_s},
    {"sfeerNamen", &ModuleNames::scenes, 2, u"TV-avond"_s},
};

// The lines of text of every page of a PDF file, each with its spaces simplified: a row of a
// table is one line, its cells separated by a space (an empty cell adds nothing).
QStringList pdfLines(const QString &path)
{
    QPdfDocument pdf;
    QStringList lines;
    if (pdf.load(path) != QPdfDocument::Error::None) return lines;
    for (int page = 0; page < pdf.pageCount(); ++page)
        for (const QString &line : pdf.getAllText(page).text().split(QRegularExpression(u"[\\r\\n]+"_s)))
            lines << line.simplified();
    return lines;
}

// What a tooltip shows: rich text as it reads, plain text as it is.
QString shownTip(const QString &tip)
{
    if (!Qt::mightBeRichText(tip)) return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}

// What the installer did after the read that made the named module a module of the installation.
enum After
{
    Assigned,              // nothing: the read made the module a new module of the installation
    OtherModuleInHand,     // another module read, then the named one picked in the panel
    ReadNotInInstallation, // the module read again, answered "Niet in de installatie", then picked
    SentToTheLine,         // another module read, then the named one picked and sent to the line
};

} // namespace

// Names of a module's outputs, push buttons and scenes against a simulated module on the
// program's real serial port: the report of a module read into an installation and named in the
// Namen panel, exported through the menu as a PDF; and the diagnostics, which name push buttons
// and outputs only while the module in hand is the one the line was last read from.
class TestNames : public QObject
{
    Q_OBJECT

    static Installations &installations(TestWindow &w) { return *w.installations(); }

    // The window and its settings in `language` (the rig starts in Dutch).
    static void speak(SimRig &rig, int language)
    {
        if (language == 1) return;
        rig.home.writeSettings(" 2 \r\n", "1\r\n", "100\r\n");
        rig.restart();
    }

    // The text of a field selected and typed over, key by key, in the active window.
    static void typeOver(QLineEdit *field, const QString &typed)
    {
        if (!Typing::activate(field->window())) qWarning("the dialog did not become the active window");
        field->setFocus(Qt::MouseFocusReason);
        if (!QTest::qWaitFor([field] { return field->hasFocus(); }, 2000)) qWarning("the field has no focus");
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, typed);
    }

    // "Nieuwe installatie...": a name typed into its properties, then OK.
    [[nodiscard]] static bool newInstallation(TestWindow &w)
    {
        QAction *entry = w.find<QAction>("nieuweInstallatie");
        if (!TestWindow::reachable(entry)) return false;
        const bool answered = answering<QDialog>(
            u"Eigenschappen"_s,
            [](QDialog *dialog) {
                typeOver(byName<QLineEdit>(dialog, "naam"), u"Woning Peeters"_s);
                byName<QDialogButtonBox>(dialog, "knoppen")->button(QDialogButtonBox::Ok)->click();
            },
            [entry] { entry->trigger(); });
        return answered && installations(w).isOpen();
    }

    // "Verbinden", and the question after the read answered with the button `answer`
    // ("nieuweModule", "nietInInstallatie").
    [[nodiscard]] static bool readAndAnswer(SimRig &rig, const char *answer)
    {
        bool read = false;
        const bool answered = answering<QDialog>(
            u"Toewijzen"_s,
            [answer](QDialog *dialog) {
                if (!Typing::activate(dialog)) qWarning("the question did not become the active window");
                byName<QPushButton>(dialog, answer)->click();
            },
            [&] { read = rig.read(); });
        if (!read || !answered) qWarning("read %d, question answered %d", read, answered);
        return read && answered && rig.waitIdle();
    }

    // A click on the name of the module's row in the installation panel; the window answers once
    // the click is over.
    [[nodiscard]] static bool pickModule(TestWindow &w, int row)
    {
        auto *list = byName<QTreeWidget>(&w, "modulesLijst");
        QTreeWidgetItem *item = list->topLevelItem(row);
        if (!item || !list->isVisible()) return false;
        const QPoint name(list->columnViewportPosition(0) + list->columnWidth(0) / 2,
                          list->visualItemRect(item).center().y());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, name);
        QCoreApplication::processEvents();
        return installations(w).inHand() == row;
    }

    // A name typed into its cell as a person types it: a click on the cell, the first key opens
    // the cell's field, the rest typed there, then Enter.
    [[nodiscard]] static bool typeName(QTableWidget *table, int row, const QString &name)
    {
        QTableWidgetItem *cell = table->item(row, 1);
        if (!cell) return false;
        table->scrollToItem(cell);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(cell).center());
        QTest::keyClicks(table, name.left(1));
        QLineEdit *field = nullptr;
        const bool opened = QTest::qWaitFor([&] {
            for (QLineEdit *f : table->viewport()->findChildren<QLineEdit *>())
                if (f->isVisible()) field = f;
            return field != nullptr;
        });
        if (!opened) return false;
        QTest::keyClicks(field, name.mid(1));
        QTest::keyClick(field, Qt::Key_Return);
        return true;
    }

    // The house's names typed into the Namen panel of the module in hand; true once the
    // installation holds each of them.
    [[nodiscard]] static bool nameHouse(TestWindow &w)
    {
        if (!Typing::activate(&w)) return false;
        auto *names = byName<QPushButton>(&w, "namenKnop");
        if (!w.usable(names)) return false;
        names->click();
        for (const Naming &n : HouseNames)
            if (!typeName(byName<QTableWidget>(&w, n.table), n.number - 1, n.name)) {
                qWarning("no field to type %s into", qPrintable(n.name));
                return false;
            }
        const ModuleNames *held = installations(w).namesInHand();
        return held && QTest::qWaitFor([held] {
                   return std::all_of(std::begin(HouseNames), std::end(HouseNames), [held](const Naming &n) {
                       return ModuleNames::of(held->*n.list, n.number) == n.name;
                   });
               });
    }

    // The button of the output test captioned with `output`, nullptr when none is.
    static QPushButton *outputButton(DiagnosticsFrame *frame, int output)
    {
        for (int i = 21; i <= 32; ++i) {
            auto *b = byName<QPushButton>(frame, QByteArray("Command" + QByteArray::number(i)).constData());
            if (b->text() == QString::number(output)) return b;
        }
        return nullptr;
    }

    // The frames the module received since it had received `count`.
    static QStringList framesSince(SimRig &rig, qsizetype count) { return rig.sim().frames().mid(count); }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
        // The monitor's clock reads 14:03:27 at the first press and a second more at each next
        // one: every press is listed, whatever the machine's load.
        DiagnosticsFrame::clock = [next = QTime(14, 3, 27)]() mutable {
            const QTime now = next;
            next = next.addSecs(1);
            return now;
        };
    }
    void cleanup() { DiagnosticsFrame::clock = nullptr; }

    void reportOfNamedModule_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("rows"); // lines of the report, in this order
        const QStringList dutch{
            u"Drukknop Naam 1° functie 2° functie"_s,
            u"Nummer: 4 Uitgang 7 – Bad & <b>WC</b> ***"_s,
            u"Nummer: 13 Voordeur <b>x</b> Uitgang 5 – Keuken plafond Sfeer 2 – TV-avond"_s,
            u"Nummer: 14 *** ***"_s,
            u"Uitgang nr: Naam Functie Actieve tijd"_s,
            u"5 Keuken plafond AAN/UIT"_s,
            u"6 AAN/UIT"_s,
            u"7 Bad & <b>WC</b> AAN/UIT"_s,
            u"Sfeer Naam Uitgang Groepsfeer"_s,
            u"Sfeer 2 TV-avond *** *** *** *** Aan *** Uit *** *** *** *** *** Nee"_s,
        };
        const QStringList french{
            u"Bouton poussoir Nom 1° fonction 2° fonction"_s,
            u"Numéro: 4 Sortie 7 – Bad & <b>WC</b> ***"_s,
            u"Numéro: 13 Voordeur <b>x</b> Sortie 5 – Keuken plafond Contexte 2 – TV-avond"_s,
            u"Numéro: 14 *** ***"_s,
            u"Sortie nr: Nom Fonction Temps actif"_s,
            u"5 Keuken plafond ON/OFF"_s,
            u"6 ON/OFF"_s,
            u"7 Bad & <b>WC</b> ON/OFF"_s,
            u"Contexte Nom Sortie Contexte de groupe"_s,
            u"Contexte 2 TV-avond *** *** *** *** ON *** OFF *** *** *** *** *** Non"_s,
        };
        QTest::newRow("Dutch") << 1 << dutch;
        QTest::newRow("French") << 2 << french;
    }
    // A relay module read into a new installation and named in the Namen panel: the report
    // exported through "Exporteren als PDF..." has a column of names in the push-button, output
    // and scene tables, each name in the row of what it names, the functions read with the names,
    // markup shown as typed. Reading and exporting wrote nothing to the module.
    void reportOfNamedModule()
    {
        QFETCH(int, language);
        QFETCH(QStringList, rows);
        const ModuleImage memory = houseRelay();
        SimRig rig({.memory = memory});
        speak(rig, language);
        TestWindow &w = rig.w();
        QVERIFY(newInstallation(w));
        QVERIFY(readAndAnswer(rig, "nieuweModule"));
        QCOMPARE(installations(w).inHand(), 0);
        QVERIFY(nameHouse(w));

        const QString path = rig.home.file(u"woning.pdf"_s);
        QAction *entry = w.find<QAction>("PdfExport");
        QVERIFY(TestWindow::reachable(entry));
        QVERIFY(answerFileDialog(u"PdfExportDialog"_s, path, [entry] { entry->trigger(); }));
        QTRY_VERIFY(QFileInfo::exists(path));
        const QStringList lines = pdfLines(path);
        qsizetype at = 0;
        for (const QString &row : rows) {
            at = lines.indexOf(row, at);
            QVERIFY2(at >= 0, qPrintable(u"no row \"%1\" in order in:\n"_s.arg(row) + lines.join(u'\n')));
        }
        // The markup is shown, never obeyed.
        QVERIFY(lines.filter(u"Voordeur x"_s).isEmpty());

        QVERIFY(rig.sim().frames().contains(u"T3600"_s));
        QVERIFY(!rig.sim().frames().contains(u"T3700"_s));
        QCOMPARE(rig.stoppedMemory(), Images::values(memory));
    }

    void diagnosticsNameTheModuleOnTheLine_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("after");
        QTest::addColumn<QStringList>("history"); // the monitor's entries
        QTest::addColumn<QStringList>("tips");    // of the buttons of outputs 5, 6 and 7
        QTest::addColumn<QStringList>("descriptions");
        const QStringList namedHistory{u"Tijd: 14:03:27  Knop: 13 – Voordeur <b>x</b>"_s,
                                       u"Tijd: 14:03:28  Knop: 4"_s};
        const QStringList namedTips{u"Uitgang 5 – Keuken plafond"_s, QString(),
                                    u"Uitgang 7 – Bad & <b>WC</b>"_s};
        const QStringList namedDescriptions{u"Uitgang 5 – Keuken plafond"_s, u"Uitgangen"_s,
                                            u"Uitgang 7 – Bad & <b>WC</b>"_s};
        const QStringList unnamedHistory{u"Tijd: 14:03:27  Knop: 13"_s, u"Tijd: 14:03:28  Knop: 4"_s};
        const QStringList noTips(3, QString());
        const QStringList bareDescriptions(3, u"Uitgangen"_s);
        QTest::newRow("assigned by the read")
            << 1 << int(Assigned) << namedHistory << namedTips << namedDescriptions;
        QTest::newRow("assigned by the read, French")
            << 2 << int(Assigned)
            << QStringList{u"Temps: 14:03:27  Bouton: 13 – Voordeur <b>x</b>"_s,
                           u"Temps: 14:03:28  Bouton: 4"_s}
            << QStringList{u"Sortie 5 – Keuken plafond"_s, QString(), u"Sortie 7 – Bad & <b>WC</b>"_s}
            << QStringList{u"Sortie 5 – Keuken plafond"_s, u"Sorties"_s, u"Sortie 7 – Bad & <b>WC</b>"_s};
        QTest::newRow("another module in hand")
            << 1 << int(OtherModuleInHand) << unnamedHistory << noTips << bareDescriptions;
        QTest::newRow("read answered Niet in de installatie")
            << 1 << int(ReadNotInInstallation) << unnamedHistory << noTips << bareDescriptions;
        QTest::newRow("another module in hand, then sent to the line")
            << 1 << int(SentToTheLine) << namedHistory << namedTips << namedDescriptions;
    }
    // The push-button monitor and the output test name push buttons and outputs only while the
    // module in hand is the one on the line: the module read into the installation and named is
    // in hand; after another module was read and the named one picked in the panel, or after the
    // named module was read again and said not to be in the installation, the module in hand is
    // not known to be the one on the line and nothing is named; sent to the line, it is again.
    // Each test ends on the module with its stop frames.
    void diagnosticsNameTheModuleOnTheLine()
    {
        QFETCH(int, language);
        QFETCH(int, after);
        QFETCH(QStringList, history);
        QFETCH(QStringList, tips);
        QFETCH(QStringList, descriptions);
        SimRig rig;
        speak(rig, language);
        rig.attachWith(0, houseRelay(), Presses);
        TestWindow &w = rig.w();
        QVERIFY(newInstallation(w));
        QVERIFY(readAndAnswer(rig, "nieuweModule"));
        QVERIFY(nameHouse(w));
        if (after == OtherModuleInHand || after == SentToTheLine) {
            ModuleImage other = Images::pattern(0, 2);
            other.set(ModuleTypes::MasterSlot, 1);
            rig.attachWith(0, other, Presses);
            QVERIFY(readAndAnswer(rig, "nieuweModule"));
            QCOMPARE(installations(w).inHand(), 1);
        } else if (after == ReadNotInInstallation) {
            QVERIFY(readAndAnswer(rig, "nietInInstallatie"));
            QCOMPARE(installations(w).inHand(), -1);
        }
        if (after != Assigned) QVERIFY(pickModule(w, 0));
        if (after == SentToTheLine) {
            QVERIFY(rig.send());
            QCOMPARE(rig.saved(), Images::values(houseRelay()));
        }
        // The module in hand has its names whoever is on the line.
        QCOMPARE(installations(w).namesInHand()->pushButtons.at(12), u"Voordeur <b>x</b>"_s);

        QVERIFY(w.usable(w.Command12));
        w.Command12->click();
        DiagnosticsFrame *frame = w.Frame10;
        QVERIFY(w.isShown(frame));
        auto *tabs = byName<QTabWidget>(frame, "SSTab1");

        // The monitor, stopped once both presses are listed.
        tabs->setCurrentIndex(1);
        qsizetype before = rig.sim().frames().size();
        auto *list = byName<QComboBox>(frame, "Combo29");
        byName<QPushButton>(frame, "Command17")->click();
        QTRY_COMPARE_WITH_TIMEOUT(list->count(), 2, 10000);
        byName<QPushButton>(frame, "Command18")->click();
        QTRY_VERIFY_WITH_TIMEOUT(w.isIdle() && framesSince(rig, before).count(u"T8219"_s) == 11, 5000);
        QStringList entries;
        for (int i = 0; i < list->count(); ++i)
            entries << list->itemText(i);
        QCOMPARE(entries, history);
        QStringList frames = framesSince(rig, before);
        QCOMPARE(frames.mid(frames.indexOf(u"T8019"_s)),
                 QStringList{u"T8019"_s} + QStringList(11, u"T8219"_s));

        // The output test: the buttons once the module has answered; output 5 switched, then Stop.
        tabs->setCurrentIndex(2);
        before = rig.sim().frames().size();
        byName<QPushButton>(frame, "Command19")->click();
        auto *stop = byName<QPushButton>(frame, "Command20");
        QTRY_VERIFY_WITH_TIMEOUT(stop->isEnabled(), 5000);
        QStringList shownTips, shownDescriptions;
        for (const int output : {5, 6, 7}) {
            QPushButton *button = outputButton(frame, output);
            QVERIFY2(button && w.usable(button), qPrintable(QString::number(output)));
            shownTips << shownTip(button->toolTip());
            shownDescriptions << button->accessibleDescription();
        }
        QCOMPARE(shownTips, tips);
        QCOMPARE(shownDescriptions, descriptions);
        outputButton(frame, 5)->click();
        QTRY_VERIFY_WITH_TIMEOUT(framesSince(rig, before).contains(u"T7004"_s), 5000);
        stop->click();
        QTRY_VERIFY_WITH_TIMEOUT(w.isIdle() && framesSince(rig, before).count(u"T7219"_s) == 11, 5000);
        frames = framesSince(rig, before);
        QCOMPARE(frames.mid(frames.indexOf(u"T7004"_s)),
                 QStringList{u"T7004"_s} + QStringList(11, u"T7219"_s));
        QCOMPARE(rig.sim().frames().contains(u"T3700"_s), after == SentToTheLine);
    }
};

QTEST_MAIN(TestNames)
#include "tst_names.moc"
