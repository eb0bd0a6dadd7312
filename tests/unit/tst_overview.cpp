#include "editors/EditorRules.h"
#include "installation/InstallationCheck.h"
#include "installation/Overview.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneLayout.h"

#include <QTest>
#include <QTimeZone>
#include <functional>

using namespace Qt::StringLiterals;
using namespace EditorRules;
using InstallationCheck::Finding;
using InstallationCheck::Severity;
using Kind = Overview::Place::Kind;

namespace {
const QDateTime Morning(QDate(2026, 12, 10), QTime(9, 0), QTimeZone::utc());

// A tidy relay module, master, read this morning: push button n switches output n (1..12), push
// buttons 13..20 do nothing, every scene leaves every output as it is.
InstallationModule tidyRelay(const QString &name)
{
    InstallationModule m;
    m.id = name;
    m.name = name;
    m.type = 0;
    m.image = ModuleImage(ModuleTypes::info(0)->slotCount);
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
    recordRead(m, m.image, Morning);
    return m;
}

Installation house()
{
    Installation h;
    h.name = u"Huis"_s;
    h.modules = {tidyRelay(u"Kelder"_s), tidyRelay(u"Zolder"_s)};
    return h;
}

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
        struct Slip
        {
            const char *what;
            std::function<void(InstallationModule &, Installation &)> make;
            Severity severity;
            Overview::Place place;
            QString dutch;
            QString french;
        };
        const auto set = [](InstallationModule &m, int slot, int value) {
            m.image.set(slot, value);
            m.knownImage = m.image; // read again: not a change
        };
        const std::vector<Slip> slips{
            {"output the module does not have",
             [&](InstallationModule &m, Installation &) { set(m, secondFunctionSlot(13), 45); },
             Severity::Error,
             {Kind::PushButton, 0, 13},
             u"Drukknop 13, 2de functie: Uitgang 46 bestaat niet op deze module (12 uitgangen)"_s,
             u"Bouton poussoir 13, 2ème fonction : Sortie 46 n'existe pas sur ce module (12 sorties)"_s},
            {"check found differences",
             [](InstallationModule &m, Installation &) {
                 recordSend(m, true, Morning.addSecs(60));
                 recordCheck(m, false, Morning.addSecs(90));
             },
             Severity::Error,
             {Kind::Module, 0, 0},
             u"De laatste controle vond verschillen"_s,
             u"La dernière vérification a trouvé des différences"_s},
            {"sent part-way",
             [](InstallationModule &m, Installation &) { recordSend(m, false, Morning.addSecs(60)); },
             Severity::Error,
             {Kind::Module, 0, 0},
             u"Gedeeltelijk verstuurd: de module houdt misschien niet wat de installatie heeft"_s,
             u"Partiellement envoyé : le module ne contient peut-être pas ce que contient l'installation"_s},
            {"named push button without a function",
             [](InstallationModule &m, Installation &) { m.names.pushButtons[14] = u"Gang, boven"_s; },
             Severity::Warning,
             {Kind::PushButton, 0, 15},
             u"Drukknop 15 – Gang, boven heeft een naam maar geen functie"_s,
             u"Bouton poussoir 15 – Gang, boven a un nom mais aucune fonction"_s},
            {"scene called that sets nothing",
             [&](InstallationModule &m, Installation &) { set(m, firstFunctionSlot(13), FirstSceneValue); },
             Severity::Warning,
             {Kind::Scene, 0, 1},
             u"Sfeer 1 wordt opgeroepen (Drukknop 13, 1ste functie) maar zet niets op deze module"_s,
             u"Contexte 1 est appelé (Bouton poussoir 13, 1ère fonction) mais ne règle rien sur ce module"_s},
            {"changes not sent",
             [](InstallationModule &m, Installation &) {
                 m.image.set(ModuleTypes::SecondFunctionTimeSlot, 7);
             },
             Severity::Warning,
             {Kind::Module, 0, 0},
             u"Wijzigingen niet verstuurd"_s,
             u"Modifications non envoyées"_s},
            {"never read",
             [](InstallationModule &m, Installation &) { m.knownImage.reset(); },
             Severity::Warning,
             {Kind::Module, 0, 0},
             u"Nooit gelezen of verstuurd"_s,
             u"Jamais lu ni envoyé"_s},
            {"two modules with one name",
             [](InstallationModule &, Installation &h) { h.modules[1].name = u"Kelder"_s; },
             Severity::Warning,
             {Kind::Module, 0, 0},
             u"2 modules heten “Kelder”"_s,
             u"2 modules s'appellent « Kelder »"_s},
            {"output nothing reaches",
             [&](InstallationModule &m, Installation &) { set(m, firstFunctionSlot(12), NoFunction); },
             Severity::Info,
             {Kind::Output, 0, 12},
             u"Uitgang 12 wordt door geen drukknop en geen sfeer bereikt"_s,
             u"Sortie 12 n'est atteinte par aucun bouton poussoir ni contexte"_s},
            {"scene no push button calls",
             [&](InstallationModule &m, Installation &) { set(m, SceneLayout::channelSlot(0, 2, 1), 1); },
             Severity::Info,
             {Kind::Scene, 0, 3},
             u"Sfeer 3 zet uitgangen, maar geen drukknop van deze module roept ze op"_s,
             u"Contexte 3 règle des sorties, mais aucun bouton poussoir de ce module ne l'appelle"_s},
            {"group scene on a slave",
             [&](InstallationModule &m, Installation &) {
                 set(m, ModuleTypes::MasterSlot, 0);
                 set(m, SceneLayout::groupFlagSlot(0, 1), 1);
             },
             Severity::Info,
             {Kind::Scene, 0, 0},
             u"Groepsfeer bij Sfeer 2, maar de module is geen master"_s,
             u"Contexte de groupe pour Contexte 2, mais le module n'est pas master"_s},
        };
        for (const Slip &slip : slips) {
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
