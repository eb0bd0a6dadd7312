#include "editors/SlotWords.h"
#include "files/ImageCompare.h"
#include "protocol/ModuleNames.h"
#include "protocol/ModuleTypes.h"

#include <QTest>
#include <algorithm>

using namespace Qt::StringLiterals;
using Kind = ImageCompare::Difference::Kind;

namespace {
struct Edit
{
    int slot;
    int inHand;
    int other;
};

// Compares two images of `type` that agree but for `edits`, and gives the lines of the result.
ImageCompare::Result compareEdited(int type, const QList<Edit> &edits, int language, int otherType = -1,
                                   const ModuleNames *names = nullptr)
{
    ModuleImage inHand(ModuleTypes::info(type)->slotCount);
    for (int s = 0; s < inHand.size(); ++s)
        inHand.set(s, (s * 7) % 10);
    ModuleImage other = inHand;
    for (const Edit &e : edits) {
        inHand.set(e.slot, e.inHand);
        other.set(e.slot, e.other);
    }
    return ImageCompare::compare(type, inHand, otherType < 0 ? type : otherType, other, language, names);
}

QStringList linesOf(int type, const QList<Edit> &edits, int language, int otherType = -1)
{
    return ImageCompare::lines(compareEdited(type, edits, language, otherType).differences);
}
} // namespace

// Known edits give exactly their differences, in the editors' words and the installer's order.
class TestImageCompare : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Push buttons, master/slave, press time, output functions (the time in the unit of each
    // side's function), scenes, a slot no editor shows, the version last.
    void relayModule()
    {
        const QList<Edit> edits{{79, 228, 229}, {78, 0, 12}, {338, 5, 2},  {170, 0, 1}, {160, 0, 10},
                                {69, 1, 7},     {57, 5, 3},  {45, 0, 4},   {42, 3, 3},  {54, 2, 9},
                                {41, 3, 8},     {40, 1, 0},  {39, 42, 69}, {4, 2, 51}};
        QCOMPARE(
            linesOf(0, edits, 1),
            (QStringList{u"Drukknop 5, 1ste functie: Uitgang 3 → Sfeer 2"_s,
                         u"Drukknop 20, 2de functie: *** → Sfeer 20"_s, u"Master/Slave: Master → Slave"_s,
                         u"Tijd 2de functie: 1,5 s → 4 s"_s, u"Uitgang 1, actieve tijd: 2 sec. → 9 sec."_s,
                         u"Uitgang 4, functie: AAN/UIT → Actief bij doven van"_s,
                         u"Uitgang 4, actieve tijd: 5 → 3 min."_s,
                         u"Uitgang 4, gekoppelde uitgang: Uitgang 1 → Uitgang 7"_s,
                         u"Sfeer 7, Uitgang 3: Uit → ***"_s, u"Sfeer 7, groepsfeer: Nee → Ja"_s,
                         u"Sfeer 20, Uitgang 12: 5 → Toggle"_s, u"Geheugenplaats 78: 0 → 12"_s,
                         u"Versie: 228 → 229"_s}));
        QCOMPARE(
            linesOf(0, edits, 2),
            (QStringList{
                u"Bouton poussoir 5, 1ère fonction: Sortie 3 → Contexte 2"_s,
                u"Bouton poussoir 20, 2ème fonction: *** → Contexte 20"_s, u"Master/Slave: Master → Slave"_s,
                u"Temps 2ème fonction: 1,5 s → 4 s"_s, u"Sortie 1, temps actif: 2 sec. → 9 sec."_s,
                u"Sortie 4, fonction: ON/OFF → Actif si extinction de la sortie"_s,
                u"Sortie 4, temps actif: 5 → 3 min."_s, u"Sortie 4, sortie liée: Sortie 1 → Sortie 7"_s,
                u"Contexte 7, Sortie 3: OFF → ***"_s, u"Contexte 7, contexte de groupe: Non → Qui"_s,
                u"Contexte 20, Sortie 12: 5 → Toggle"_s, u"Emplacement 78: 0 → 12"_s,
                u"Version: 228 → 229"_s}));
        const auto r = compareEdited(0, edits, 1);
        QCOMPARE(r.failures(), 12);
        QCOMPARE(r.differences.first().slotNumbers, QList<int>{4});
        QCOMPARE(ImageCompare::summary(r, 1), u"12 verschillen en een andere versie"_s);
        QCOMPARE(ImageCompare::summary(r, 2), u"12 différences et une autre version"_s);
    }

    // With an installation module's names, each output, push button and scene reads with its name,
    // as typed (markup, commas); the thing a step changed is named with it too.
    void namesFollowNumbers()
    {
        ModuleNames names = ModuleNames::forType(0);
        names.pushButtons[4] = u"Voordeur, links"_s;
        names.outputs[0] = u"<b>x</b>"_s;
        names.outputs[2] = u"Keuken"_s;
        names.scenes[1] = u"TV-avond"_s;
        names.scenes[6] = u"Eten"_s;
        const QList<Edit> edits{{4, 2, 51}, {42, 3, 3}, {54, 2, 9}, {69, 1, 7}, {160, 0, 10}, {170, 0, 1}};
        QCOMPARE(ImageCompare::lines(compareEdited(0, edits, 1, -1, &names).differences),
                 (QStringList{
                     u"Drukknop 5 – Voordeur, links, 1ste functie: Uitgang 3 – Keuken → Sfeer 2 – TV-avond"_s,
                     u"Uitgang 1 – <b>x</b>, actieve tijd: 2 sec. → 9 sec."_s,
                     u"Uitgang 4, gekoppelde uitgang: Uitgang 1 – <b>x</b> → Uitgang 7"_s,
                     u"Sfeer 7 – Eten, Uitgang 3 – Keuken: Uit → ***"_s,
                     u"Sfeer 7 – Eten, groepsfeer: Nee → Ja"_s}));
        QCOMPARE(ImageCompare::lines(compareEdited(0, {{4, 2, 51}}, 2, -1, &names).differences),
                 QStringList{u"Bouton poussoir 5 – Voordeur, links, 1ère fonction: Sortie 3 – Keuken → "
                             u"Contexte 2 – TV-avond"_s});
        // No names at all reads as without names.
        const ModuleNames none = ModuleNames::forType(0);
        QCOMPARE(compareEdited(0, edits, 1, -1, &none).differences, compareEdited(0, edits, 1).differences);

        // A step over both functions of push button 5 is named after the push button, its
        // name's comma notwithstanding; over two things, after the first slot.
        QCOMPARE(SlotWords::stepText(0, {4, 24}, &names).dutch, u"Drukknop 5 – Voordeur, links"_s);
        QCOMPARE(SlotWords::stepText(0, {4, 24}, &names).french, u"Bouton poussoir 5 – Voordeur, links"_s);
        QCOMPARE(SlotWords::stepText(0, {4, 5}, &names).dutch,
                 u"Drukknop 5 – Voordeur, links, 1ste functie"_s);
        QCOMPARE(SlotWords::stepText(0, {4, 24}).dutch, u"Drukknop 5"_s);
    }

    // The two relay types share one image: compared, with the type as the first difference.
    void relayTypesTogether()
    {
        QCOMPARE(linesOf(3, {{11, 11, 42}}, 1, 0),
                 (QStringList{u"Moduletype: ZK2018 → ZK3412_ZK2412"_s,
                              u"Drukknop 12, 1ste functie: Uitgang 12 → ***"_s}));
        QCOMPARE(linesOf(0, {}, 2, 3), QStringList{u"Type de module: ZK3412_ZK2412 → ZK2018"_s});
        const auto r = compareEdited(0, {}, 1, 3);
        QCOMPARE(r.differences.first().kind, Kind::ModuleType);
        QVERIFY(r.differences.first().slotNumbers.isEmpty());
        QCOMPARE(ImageCompare::summary(r, 1), u"1 verschil"_s);
        QCOMPARE(ImageCompare::summary(r, 2), u"1 différence"_s);
    }

    // Start values in tens of percent, dim-style scene codes ("Toggle" 10, "***" 11), a group flag
    // that is neither 0 nor 1, slot 46 that no editor shows, the version in slot 47.
    void dimModule()
    {
        const QList<Edit> edits{{22, 2, 42},  {43, 3, 7}, {46, 1, 0}, {47, 5, 6},
                                {50, 10, 11}, {82, 0, 5}, {84, 1, 7}, {149, 0, 1}};
        QCOMPARE(
            linesOf(1, edits, 1),
            (QStringList{u"Drukknop 3, 2de functie: Uitgang 3 → ***"_s, u"Kanaal 2, beginwaarde: 30% → 70%"_s,
                         u"Sfeer 1, Uitgang 1: Toggle → ***"_s, u"Sfeer 7, Uitgang 3: Uit → 50%"_s,
                         u"Sfeer 7, groepsfeer: Ja → 7"_s, u"Sfeer 20, groepsfeer: Nee → Ja"_s,
                         u"Geheugenplaats 46: 1 → 0"_s, u"Versie: 5 → 6"_s}));
        QCOMPARE(
            linesOf(1, edits, 2),
            (QStringList{u"Bouton poussoir 3, 2ème fonction: Sortie 3 → ***"_s,
                         u"Sortie 2, valeur début: 30% → 70%"_s, u"Contexte 1, Sortie 1: Toggle → ***"_s,
                         u"Contexte 7, Sortie 3: OFF → 50%"_s, u"Contexte 7, contexte de groupe: Qui → 7"_s,
                         u"Contexte 20, contexte de groupe: Non → Qui"_s, u"Emplacement 46: 1 → 0"_s,
                         u"Version: 5 → 6"_s}));
    }

    // Dim channels 1..4 and relays 5..8 in scenes; "***" is 11 on a relay channel, 10 no code.
    void velanoModule()
    {
        const QList<Edit> edits{{7, 7, 42},   {41, 0, 5},   {45, 9, 1},   {48, 0, 3},
                                {105, 3, 10}, {108, 11, 1}, {111, 10, 2}, {229, 1, 0}};
        QCOMPARE(
            linesOf(2, edits, 1),
            (QStringList{u"Drukknop 8, 1ste functie: Uitgang 8 → ***"_s, u"Tijd 2de functie: 0 s → 2,5 s"_s,
                         u"Kanaal 4, beginwaarde: 90% → 10%"_s, u"Sfeer 7, Dim 2: 30% → Toggle"_s,
                         u"Sfeer 7, Relais 5: *** → Aan"_s, u"Sfeer 7, Relais 8: 10 → Toggle"_s,
                         u"Sfeer 20, groepsfeer: Ja → Nee"_s, u"Geheugenplaats 48: 0 → 3"_s}));
        QCOMPARE(linesOf(2, edits, 2),
                 (QStringList{u"Bouton poussoir 8, 1ère fonction: Sortie 8 → ***"_s,
                              u"Temps 2ème fonction: 0 s → 2,5 s"_s, u"Sortie 4, valeur début: 90% → 10%"_s,
                              u"Contexte 7, Dim 2: 30% → Toggle"_s, u"Contexte 7, Relais 5: *** → ON"_s,
                              u"Contexte 7, Relais 8: 10 → Toggle"_s,
                              u"Contexte 20, contexte de groupe: Qui → Non"_s, u"Emplacement 48: 0 → 3"_s}));
    }

    // Every slot differs: each is listed once under a name of its own, the version last, the
    // only one that does not count.
    void everySlotOnce()
    {
        for (int type = 0; type <= 3; ++type) {
            const ModuleTypeInfo *info = ModuleTypes::info(type);
            ModuleImage ones(info->slotCount);
            for (int s = 0; s < info->slotCount; ++s)
                ones.set(s, 1);
            const auto r = ImageCompare::compare(type, ModuleImage(info->slotCount), type, ones, 2);
            QList<int> seen;
            QStringList whats;
            for (const auto &d : r.differences) {
                seen += d.slotNumbers;
                whats << d.what;
            }
            std::sort(seen.begin(), seen.end());
            QCOMPARE(seen.size(), info->slotCount);
            QCOMPARE(seen.last(), info->slotCount - 1);
            QVERIFY(std::adjacent_find(seen.begin(), seen.end()) == seen.end());
            whats.removeDuplicates();
            QCOMPARE(whats.size(), info->slotCount);
            QCOMPARE(r.differences.last().kind, Kind::Version);
            QCOMPARE(r.differences.last().slotNumbers, QList<int>{info->versionSlot});
            QCOMPARE(r.failures(), info->slotCount - 1);
        }
    }

    void nothingThatCounts()
    {
        auto r = compareEdited(2, {}, 1);
        QVERIFY(r.compared() && r.differences.isEmpty());
        QCOMPARE(ImageCompare::summary(r, 1), u"Geen verschillen"_s);
        QCOMPARE(ImageCompare::summary(r, 2), u"Aucune différence"_s);
        r = compareEdited(0, {{79, 1, 2}}, 1);
        QCOMPARE(r.failures(), 0);
        QVERIFY(r.versionDiffers());
        QCOMPARE(ImageCompare::summary(r, 1), u"Geen verschillen, alleen een andere versie"_s);
        QCOMPARE(ImageCompare::summary(r, 2), u"Aucune différence, seulement une autre version"_s);
        // A language that is neither: the Dutch texts.
        QCOMPARE(linesOf(1, {{43, 3, 7}}, 0), QStringList{u"Kanaal 2, beginwaarde: 30% → 70%"_s});
    }

    // Different images, no module in hand, an image of the wrong size: a message, no list.
    void notCompared()
    {
        const ModuleImage relay(ModuleTypes::RelaySlots), dim(ModuleTypes::DimSlots),
            velano(ModuleTypes::VelanoSlots);
        auto r = ImageCompare::compare(1, dim, 2, velano, 1);
        QCOMPARE(r.outcome, ImageCompare::Outcome::OtherType);
        QVERIFY(r.differences.isEmpty());
        QCOMPARE(
            ImageCompare::cannotCompareMessage(r, 1, 2, 1),
            u"Vergelijken is niet mogelijk: het programma bevat een module ZK24XX_ZK3447, het bestand een "
            "module ZK2019. Alleen modules van hetzelfde type kunnen vergeleken worden."_s);
        QCOMPARE(
            ImageCompare::cannotCompareMessage(r, 1, 2, 2),
            u"Comparaison impossible: le programme contient un module ZK24XX_ZK3447, le fichier un module "
            "ZK2019. Seuls des modules du même type peuvent être comparés."_s);
        QCOMPARE(ImageCompare::compare(3, relay, 1, dim, 1).outcome, ImageCompare::Outcome::OtherType);
        QCOMPARE(ImageCompare::compare(ModuleTypes::None, relay, 0, relay, 1).outcome,
                 ImageCompare::Outcome::NothingInHand);
        QCOMPARE(ImageCompare::compare(1, relay, 1, dim, 1).outcome, ImageCompare::Outcome::NothingInHand);
        r = ImageCompare::compare(2, velano, 2, dim, 1);
        QCOMPARE(r.outcome, ImageCompare::Outcome::NothingInOther);
        QVERIFY(ImageCompare::cannotCompareMessage(r, 2, 2, 0).contains(u"bestand bevat geen"_s));
        QVERIFY(ImageCompare::cannotCompareMessage(r, 2, 2, 0).contains(u"\n\nComparaison impossible"_s));
    }
};

QTEST_APPLESS_MAIN(TestImageCompare)
#include "tst_imagecompare.moc"
