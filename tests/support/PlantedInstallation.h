#pragma once

#include "editors/EditorRules.h"
#include "installation/Installation.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneLayout.h"

#include <QTimeZone>

// A small house planted for the installation's report and overview tests: three modules of three
// types, some push buttons, outputs and scenes named (one name holds markup), some push buttons
// that do nothing, and a few things the check finds.
namespace PlantedInstallation {

inline const QDateTime Morning(QDate(2026, 12, 10), QTime(9, 0), QTimeZone::utc());
// The markup a name may hold: a report shows it as typed.
inline const QString Markup = QStringLiteral("<b>x</b>");

// An image of `type` in which no push button does anything and every scene leaves every channel as
// it is ("***"); master or slave.
inline ModuleImage quietImage(int type, bool master)
{
    using namespace SceneLayout;
    ModuleImage image(ModuleTypes::info(type)->slotCount);
    for (int button = 1; button <= EditorRules::PushButtonCount; ++button) {
        image.set(EditorRules::firstFunctionSlot(button), EditorRules::NoFunction);
        image.set(EditorRules::secondFunctionSlot(button), EditorRules::NoFunction);
    }
    image.set(ModuleTypes::MasterSlot, master ? 1 : 0);
    image.set(ModuleTypes::SecondFunctionTimeSlot, EditorRules::SecondFunctionTimeDefault);
    for (int scene = 0; scene < SceneCount; ++scene) {
        for (const int field : showOrder(type)) {
            const ChannelKind kind = fieldUse(type, field)->kind;
            image.set(fieldSlot(type, scene, field), codeAt(type, kind, listSize(kind) - 1));
        }
        image.set(groupFlagSlot(type, scene), 0);
    }
    return image;
}

// Scene `scene` (1-based) of `image` switches channel `channel` (1-based) on (relay-style) or to
// its second value (10%, dim-style).
inline void sceneSetsOn(ModuleImage &image, int type, int scene, int channel)
{
    using namespace SceneLayout;
    for (const int field : showOrder(type))
        if (fieldUse(type, field)->channel == channel)
            image.set(fieldSlot(type, scene - 1, field), codeAt(type, fieldUse(type, field)->kind, 1));
}

inline InstallationModule module(const QString &id, const QString &name, const QString &place, int type,
                                 bool master)
{
    InstallationModule m;
    m.id = id;
    m.name = name;
    m.place = place;
    m.type = type;
    m.image = quietImage(type, master);
    m.names = ModuleNames::forType(type);
    return m;
}

// "Woning Peeters":
//  0. "Kelder relais 1" in "Kelder, kast 2", a relay master read this morning: push buttons 1..12
//     switch outputs 1..12, push button 13 calls scene 1 ("TV-avond", output 5 on), 14..20 do
//     nothing; push button 1 "Voordeur", push button 2 "<b>x</b>", output 5 "Keuken plafond";
//  1. "Living dimmer" in "Living", a dim slave read this morning: push buttons 1..4 dim channels
//     1..4, push button 1's second function calls scene 2 (channel 1 at 10%); push button 1
//     "Zetel";
//  2. "Zolder", no place, a Velano module never read: push buttons 1..8 switch outputs 1..8;
//     push button 20 "Trap boven" has no function.
inline Installation house()
{
    using namespace EditorRules;
    Installation h;
    h.name = QStringLiteral("Woning Peeters");
    h.address = QStringLiteral("Kerkstraat 1, Gent");

    InstallationModule relay = module(QStringLiteral("r1"), QStringLiteral("Kelder relais 1"),
                                      QStringLiteral("Kelder, kast 2"), 0, true);
    for (int button = 1; button <= 12; ++button)
        relay.image.set(firstFunctionSlot(button), button - 1);
    relay.image.set(firstFunctionSlot(13), FirstSceneValue);
    sceneSetsOn(relay.image, 0, 1, 5);
    relay.names.pushButtons[0] = QStringLiteral("Voordeur");
    relay.names.pushButtons[1] = Markup;
    relay.names.outputs[4] = QStringLiteral("Keuken plafond");
    relay.names.scenes[0] = QStringLiteral("TV-avond");
    recordRead(relay, relay.image, Morning);

    InstallationModule dim =
        module(QStringLiteral("d1"), QStringLiteral("Living dimmer"), QStringLiteral("Living"), 1, false);
    for (int button = 1; button <= 4; ++button)
        dim.image.set(firstFunctionSlot(button), button - 1);
    dim.image.set(secondFunctionSlot(1), FirstSceneValue + 1);
    sceneSetsOn(dim.image, 1, 2, 1);
    dim.names.pushButtons[0] = QStringLiteral("Zetel");
    recordRead(dim, dim.image, Morning);

    InstallationModule velano = module(QStringLiteral("v1"), QStringLiteral("Zolder"), QString(), 2, false);
    for (int button = 1; button <= 8; ++button)
        velano.image.set(firstFunctionSlot(button), button - 1);
    velano.names.pushButtons[19] = QStringLiteral("Trap boven");

    h.modules = {relay, dim, velano};
    return h;
}

} // namespace PlantedInstallation
