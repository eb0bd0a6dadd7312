#include "editors/EditorRules.h"
#include "installation/InstallationCheck.h"
#include "installation/Overview.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneLayout.h"
#include "support/CheckSlips.h"

#include <QTest>
#include <QTimeZone>
#include <functional>

using namespace Qt::StringLiterals;
using namespace EditorRules;
using InstallationCheck::Finding;
using InstallationCheck::Severity;
using Kind = Overview::Place::Kind;

namespace {
using CheckSlips::house;
using CheckSlips::Morning;

QStringList texts(const std::vector<Finding> &findings)
{
    QStringList out;
    for (const Finding &f : findings)
        out << InstallationCheck::severityText(f.severity, Lang::Language(1)) + u": "_s + f.text;
    return out;
}
} // namespace

class TestOverview : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A tidy installation has nothing to say; each slip below gives exactly its own finding, in
    // both languages, with the place a double-click leads to.
    void checkFindsEachSlip()
    {
        QCOMPARE(texts(InstallationCheck::check(house(), Lang::Language(1))), QStringList());
        const std::vector<CheckSlips::Slip> slips = CheckSlips::slips();
        for (const CheckSlips::Slip &slip : slips) {
            Installation h = house();
            slip.make(h.modules[0], h);
            for (int language : {1, 2}) {
                const std::vector<Finding> found = InstallationCheck::check(h, Lang::Language(language));
                QVERIFY2(found.size() == 1,
                         qPrintable(QString::fromLatin1(slip.what) + u": "_s + texts(found).join(u" | "_s)));
                QCOMPARE(found[0].severity, slip.severity);
                QCOMPARE(found[0].text, language == 1 ? slip.dutch : slip.french);
                QCOMPARE(found[0].place, slip.place);
            }
        }

        // A group scene of a master that no push button calls is called over the bus: no finding.
        // Errors come first, then warnings, then information; two modules share a name finding.
        Installation h = house();
        h.modules[0].image.set(SceneLayout::channelSlot(0, 4, 2), 1);
        h.modules[0].image.set(SceneLayout::groupFlagSlot(0, 4), 1);
        h.modules[1].name = u"Kelder"_s;
        h.modules[1].knownImage.reset();
        h.modules[1].image.set(firstFunctionSlot(20), 99);
        const std::vector<Finding> found = InstallationCheck::check(h, Lang::Language(1));
        QCOMPARE(
            texts(found),
            (QStringList{
                u"fout: Drukknop 20, 1ste functie: Uitgang 100 bestaat niet op deze module (12 uitgangen)"_s,
                u"waarschuwing: Wijzigingen niet verstuurd"_s, u"waarschuwing: Nooit gelezen of verstuurd"_s,
                u"waarschuwing: 2 modules heten “Kelder”"_s}));
        QCOMPARE(found[3].modules, (std::vector<int>{0, 1}));
        QCOMPARE(InstallationCheck::severityText(Severity::Warning, Lang::Language(2)), u"avertissement"_s);
    }

    // The three tables of the overview, in the editors' words with names.
    void overviewTables()
    {
        Installation h = house();
        InstallationModule &m = h.modules[0];
        m.place = u"Kelder, kast 2"_s;
        m.names.outputs[4] = u"Keuken plafond"_s;
        m.names.pushButtons[12] = u"Voordeur"_s;
        m.names.scenes[1] = u"TV-avond"_s;
        m.image.set(firstFunctionSlot(13), FirstSceneValue + 1); // scene 2
        m.image.set(secondFunctionSlot(13), 4);                  // output 5
        m.image.set(SceneLayout::channelSlot(0, 1, 5), 1);       // scene 2: output 5 on
        m.image.set(SceneLayout::channelSlot(0, 1, 6), 0);       // ... output 6 off

        const Overview::Table buttons = Overview::pushButtons(h, Lang::Language(1));
        QCOMPARE(buttons.columns,
                 (QStringList{u"Module"_s, u"Drukknop"_s, u"Naam"_s, u"1ste functie"_s, u"2de functie"_s}));
        QCOMPARE(int(buttons.rows.size()), 40);
        const Overview::Row &front = buttons.rows[12];
        QCOMPARE(front.cells, (QStringList{u"Kelder (Kelder, kast 2)"_s, u"Drukknop 13"_s, u"Voordeur"_s,
                                           u"Sfeer 2 – TV-avond"_s, u"Uitgang 5 – Keuken plafond"_s}));
        QCOMPARE(front.place, (Overview::Place{Kind::PushButton, 0, 13}));
        QCOMPARE(front.tip, u"Sfeer 2 – TV-avond: Uitgang 5 – Keuken plafond: Aan; Uitgang 6: Uit"_s);
        QVERIFY(!front.unused);
        QVERIFY(buttons.rows[13].unused);
        QCOMPARE(buttons.rows[13].cells.mid(3), (QStringList{u"(niet gebruikt)"_s, QString()}));
        QCOMPARE(Overview::pushButtons(h, Lang::Language(2)).rows[13].cells[3], u"(non utilisé)"_s);

        const Overview::Table outputs = Overview::outputs(h, Lang::Language(1));
        QCOMPARE(int(outputs.rows.size()), 24);
        QCOMPARE(outputs.rows[4].cells,
                 (QStringList{u"Kelder (Kelder, kast 2)"_s, u"Uitgang 5"_s, u"Keuken plafond"_s,
                              u"Drukknop 5, 1ste functie; Drukknop 13 – Voordeur, 2de functie"_s,
                              u"Sfeer 2 – TV-avond"_s}));
        QCOMPARE(outputs.rows[6].cells[4], QString());

        const Overview::Table scenes = Overview::scenes(h, Lang::Language(2));
        QCOMPARE(int(scenes.rows.size()), 1);
        QCOMPARE(scenes.rows[0].cells,
                 (QStringList{u"Kelder (Kelder, kast 2)"_s, u"Contexte 2"_s, u"TV-avond"_s, u"Non"_s,
                              u"Sortie 5 – Keuken plafond: ON; Sortie 6: OFF"_s,
                              u"Bouton poussoir 13 – Voordeur, 1ère fonction"_s}));
        QCOMPARE(scenes.rows[0].place, (Overview::Place{Kind::Scene, 0, 2}));

        // The filter keeps rows with the text anywhere, whatever its case.
        QCOMPARE(Overview::matching(outputs, u"keuken"_s), (std::vector<int>{4}));
        QCOMPARE(int(Overview::matching(outputs, u"Zolder"_s).size()), 12);
        QCOMPARE(int(Overview::matching(outputs, QString()).size()), 24);
    }
};

QTEST_GUILESS_MAIN(TestOverview)
#include "tst_overview.moc"
