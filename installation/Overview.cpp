#include "installation/Overview.h"

#include "editors/EditorRules.h"
#include "editors/SlotWords.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneLayout.h"

#include <functional>

using namespace Qt::StringLiterals;
using namespace EditorRules;

namespace Overview {
namespace {

int outputsOf(const InstallationModule &m)
{
    const ModuleTypeInfo *info = ModuleTypes::info(m.type);
    return info ? info->outputs : 0;
}

// The output (1-based) a push button's function value switches; 0 for none or a scene.
int outputOf(int value)
{
    if (value == NoFunction || (value >= FirstSceneValue && value <= LastSceneValue) || value < 0) return 0;
    return value + 1;
}

QString tr(Lang::Language language, const QString &dutch, const QString &french)
{
    return Lang::text(language, dutch, french);
}

// The push buttons of `m` whose first or second function is `wanted`, as the comparison names
// their slots: "Drukknop 13 – Voordeur, 1ste functie".
QStringList callers(const InstallationModule &m, const SlotWords &words,
                    const std::function<bool(int)> &wanted)
{
    QStringList out;
    for (int button = 1; button <= PushButtonCount; ++button)
        for (int slot : {firstFunctionSlot(button), secondFunctionSlot(button)})
            if (wanted(m.image.value(slot))) out << words.slotName(slot);
    return out;
}

} // namespace

bool fits(const InstallationModule &m)
{
    const ModuleTypeInfo *info = ModuleTypes::info(m.type);
    return info && m.image.size() == info->slotCount;
}

int sceneOf(int value)
{
    return value >= FirstSceneValue && value <= LastSceneValue ? value - FirstSceneValue + 1 : 0;
}

QString moduleText(const InstallationModule &m)
{
    return m.place.isEmpty() ? m.name : m.name + u" ("_s + m.place + u')';
}

bool sceneSetsOutput(const InstallationModule &m, int scene, int output)
{
    if (!fits(m)) return false;
    for (const int field : SceneLayout::showOrder(m.type)) {
        const auto use = SceneLayout::fieldUse(m.type, field);
        if (!use || use->channel != output) continue;
        const int code = m.image.value(SceneLayout::fieldSlot(m.type, scene - 1, field));
        if (!SceneLayout::isUnchanged(m.type, use->kind, code)) return true;
    }
    return false;
}

bool sceneSetsSomething(const InstallationModule &m, int scene)
{
    for (int output = 1; output <= SceneLayout::channelCount(m.type); ++output)
        if (sceneSetsOutput(m, scene, output)) return true;
    return false;
}

QString sceneSettings(const InstallationModule &m, int scene, Lang::Language language)
{
    if (!fits(m)) return {};
    const SlotWords words(m.type, language, &m.names);
    QStringList set;
    for (const int field : SceneLayout::showOrder(m.type)) {
        const auto use = SceneLayout::fieldUse(m.type, field);
        if (!use) continue;
        const int code = m.image.value(SceneLayout::fieldSlot(m.type, scene - 1, field));
        if (SceneLayout::isUnchanged(m.type, use->kind, code)) continue;
        set << words.channel(use->channel) + u": "_s + words.sceneValue(use->channel, code);
    }
    return set.join(u"; "_s);
}

Table pushButtons(const Installation &installation, Lang::Language language)
{
    Table table;
    table.columns = {tr(language, u"Module"_s, u"Module"_s),
                     tr(language, u"Drukknop"_s, u"Bouton poussoir"_s), tr(language, u"Naam"_s, u"Nom"_s),
                     tr(language, u"1ste functie"_s, u"1ère fonction"_s),
                     tr(language, u"2de functie"_s, u"2ème fonction"_s)};
    const QString unused = tr(language, u"(niet gebruikt)"_s, u"(non utilisé)"_s);
    for (size_t i = 0; i < installation.modules.size(); ++i) {
        const InstallationModule &m = installation.modules[i];
        if (!fits(m)) continue;
        const SlotWords words(m.type, language, &m.names);
        const SlotWords bare = words.bare();
        for (int button = 1; button <= PushButtonCount; ++button) {
            const int first = m.image.value(firstFunctionSlot(button));
            const int second = m.image.value(secondFunctionSlot(button));
            Row row;
            row.place = {Place::Kind::PushButton, static_cast<int>(i), button};
            row.unused = first == NoFunction && second == NoFunction;
            row.cells = {moduleText(m), bare.slotName(firstFunctionSlot(button)).section(u',', 0, 0),
                         ModuleNames::of(m.names.pushButtons, button),
                         row.unused ? unused : words.pushButtonFunction(first),
                         row.unused ? QString() : words.pushButtonFunction(second)};
            QStringList tips;
            for (int value : {first, second})
                if (const int scene = sceneOf(value)) {
                    const QString sets = sceneSettings(m, scene, language);
                    tips << words.pushButtonFunction(value) + u": "_s +
                                (sets.isEmpty() ? tr(language, u"zet niets"_s, u"ne règle rien"_s) : sets);
                }
            tips.removeDuplicates();
            row.tip = tips.join(u'\n');
            table.rows.push_back(std::move(row));
        }
    }
    return table;
}

Table outputs(const Installation &installation, Lang::Language language)
{
    Table table;
    table.columns = {tr(language, u"Module"_s, u"Module"_s), tr(language, u"Uitgang"_s, u"Sortie"_s),
                     tr(language, u"Naam"_s, u"Nom"_s),
                     tr(language, u"Drukknoppen"_s, u"Boutons poussoirs"_s),
                     tr(language, u"Sferen"_s, u"Contextes"_s)};
    for (size_t i = 0; i < installation.modules.size(); ++i) {
        const InstallationModule &m = installation.modules[i];
        if (!fits(m)) continue;
        const SlotWords words(m.type, language, &m.names);
        const SlotWords bare = words.bare();
        for (int output = 1; output <= outputsOf(m); ++output) {
            QStringList scenes;
            for (int scene = 1; scene <= SceneLayout::SceneCount; ++scene)
                if (sceneSetsOutput(m, scene, output))
                    scenes << words.pushButtonFunction(FirstSceneValue + scene - 1); // "Sfeer 2 – TV-avond"
            Row row;
            row.place = {Place::Kind::Output, static_cast<int>(i), output};
            row.cells = {
                moduleText(m), bare.channel(output), ModuleNames::of(m.names.outputs, output),
                callers(m, words, [output](int value) { return outputOf(value) == output; }).join(u"; "_s),
                scenes.join(u"; "_s)};
            table.rows.push_back(std::move(row));
        }
    }
    return table;
}

Table scenes(const Installation &installation, Lang::Language language)
{
    Table table;
    table.columns = {tr(language, u"Module"_s, u"Module"_s),
                     tr(language, u"Sfeer"_s, u"Contexte"_s),
                     tr(language, u"Naam"_s, u"Nom"_s),
                     tr(language, u"Groepsfeer"_s, u"Contexte de groupe"_s),
                     tr(language, u"Instellingen"_s, u"Réglages"_s),
                     tr(language, u"Drukknoppen"_s, u"Boutons poussoirs"_s)};
    for (size_t i = 0; i < installation.modules.size(); ++i) {
        const InstallationModule &m = installation.modules[i];
        if (!fits(m)) continue;
        const SlotWords words(m.type, language, &m.names);
        for (int scene = 1; scene <= SceneLayout::SceneCount; ++scene) {
            const QStringList called =
                callers(m, words, [scene](int value) { return sceneOf(value) == scene; });
            const QString sets = sceneSettings(m, scene, language);
            if (sets.isEmpty() && called.isEmpty()) continue;
            Row row;
            row.place = {Place::Kind::Scene, static_cast<int>(i), scene};
            row.cells = {moduleText(m),
                         words.scene(scene - 1),
                         ModuleNames::of(m.names.scenes, scene),
                         words.groupChoice(m.image.value(SceneLayout::groupFlagSlot(m.type, scene - 1))),
                         sets,
                         called.join(u"; "_s)};
            table.rows.push_back(std::move(row));
        }
    }
    return table;
}

std::vector<int> matching(const Table &table, const QString &filter)
{
    std::vector<int> rows;
    const QString wanted = filter.trimmed();
    for (size_t r = 0; r < table.rows.size(); ++r) {
        bool found = wanted.isEmpty();
        for (const QString &cell : table.rows[r].cells)
            found = found || cell.contains(wanted, Qt::CaseInsensitive);
        if (found) rows.push_back(static_cast<int>(r));
    }
    return rows;
}

} // namespace Overview
