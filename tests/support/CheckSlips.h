#pragma once

#include "editors/EditorRules.h"
#include "installation/InstallationCheck.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneLayout.h"

#include <QDateTime>
#include <QTimeZone>
#include <functional>
#include <vector>

// Hand-made installations for the whole-installation check: a tidy house of two relay modules
// that gives no finding, and the slips an installer makes, each giving exactly one finding, with
// its texts in both languages and the place it leads to.
namespace CheckSlips {

using namespace Qt::StringLiterals;
using InstallationCheck::Severity;
using Kind = Overview::Place::Kind;

inline const QDateTime Morning{QDate(2026, 12, 10), QTime(9, 0), QTimeZone::utc()};

// A tidy relay module, master, read this morning: push button n switches output n (1..12), push
// buttons 13..20 do nothing, every scene leaves every output as it is.
inline InstallationModule tidyRelay(const QString &name)
{
    using namespace EditorRules;
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

inline Installation house()
{
    Installation h;
    h.name = u"Huis"_s;
    h.modules = {tidyRelay(u"Kelder"_s), tidyRelay(u"Zolder"_s)};
    return h;
}

struct Slip
{
    const char *what;
    std::function<void(InstallationModule &, Installation &)> make; // on the first module
    Severity severity;
    Overview::Place place;
    QString dutch;
    QString french;
};

// Each slip, made on the first module of house().
inline std::vector<Slip> slips()
{
    using namespace EditorRules;
    const auto set = [](InstallationModule &m, int slot, int value) {
        m.image.set(slot, value);
        m.knownImage = m.image; // read again: not a change
    };
    return {
        {"output the module does not have",
         [set](InstallationModule &m, Installation &) { set(m, secondFunctionSlot(13), 45); },
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
         [set](InstallationModule &m, Installation &) { set(m, firstFunctionSlot(13), FirstSceneValue); },
         Severity::Warning,
         {Kind::Scene, 0, 1},
         u"Sfeer 1 wordt opgeroepen (Drukknop 13, 1ste functie) maar zet niets op deze module"_s,
         u"Contexte 1 est appelé (Bouton poussoir 13, 1ère fonction) mais ne règle rien sur ce module"_s},
        {"changes not sent",
         [](InstallationModule &m, Installation &) { m.image.set(ModuleTypes::SecondFunctionTimeSlot, 7); },
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
         [set](InstallationModule &m, Installation &) { set(m, firstFunctionSlot(12), NoFunction); },
         Severity::Info,
         {Kind::Output, 0, 12},
         u"Uitgang 12 wordt door geen drukknop en geen sfeer bereikt"_s,
         u"Sortie 12 n'est atteinte par aucun bouton poussoir ni contexte"_s},
        {"scene no push button calls",
         [set](InstallationModule &m, Installation &) { set(m, SceneLayout::channelSlot(0, 2, 1), 1); },
         Severity::Info,
         {Kind::Scene, 0, 3},
         u"Sfeer 3 zet uitgangen, maar geen drukknop van deze module roept ze op"_s,
         u"Contexte 3 règle des sorties, mais aucun bouton poussoir de ce module ne l'appelle"_s},
        {"group scene on a slave",
         [set](InstallationModule &m, Installation &) {
             set(m, ModuleTypes::MasterSlot, 0);
             set(m, SceneLayout::groupFlagSlot(0, 1), 1);
         },
         Severity::Info,
         {Kind::Scene, 0, 0},
         u"Groepsfeer bij Sfeer 2, maar de module is geen master"_s,
         u"Contexte de groupe pour Contexte 2, mais le module n'est pas master"_s},
    };
}

} // namespace CheckSlips
