#include "editors/SlotWords.h"

#include "protocol/ModuleNames.h"

#include "editors/EditorRules.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneLayout.h"

using namespace Qt::StringLiterals;
using namespace EditorRules;

namespace {
QString number(int n)
{
    return QString::number(n);
}
} // namespace

SlotWords::SlotWords(int moduleType, Lang::Language language, const ModuleNames *names)
    : m_type(moduleType), m_language(language), m_info(ModuleTypes::info(moduleType)), m_names(names)
{
}

QString SlotWords::withName(const QString &text, const std::vector<QString> ModuleNames::*list,
                            int number) const
{
    const QString name = m_names && !text.isEmpty() ? ModuleNames::of(m_names->*list, number) : QString();
    return name.isEmpty() ? text : text + u" – "_s + name;
}

QString SlotWords::pick(const QString &dutch, const QString &french) const
{
    return Lang::text(m_language, dutch, french);
}

QString SlotWords::pick(const Lang::Text &text) const
{
    return text.in(m_language, QString());
}

Lang::Text SlotWords::titleText(Part part)
{
    switch (part) {
    case Part::PushButtons:
        return {u"Drukknoppen"_s, u"Boutons poussoirs"_s};
    case Part::OutputFunctions:
        return {u"Functie van de uitgangen"_s, u"Fonctions des sorties"_s};
    case Part::SecondFunctionTime:
        return {u"Tijd 2de functie"_s, u"Temps 2ème fonction"_s};
    case Part::DimStartValues:
        return {u"Beginwaarde dim-kanalen"_s, u"Valeur début des sorties"_s};
    case Part::Scenes:
        return {u"Sferen"_s, u"Contextes"_s};
    }
    return {};
}

Lang::Text SlotWords::captionText(Part part)
{
    const Lang::Text title = titleText(part);
    return {title.dutch + u':', title.french + u':'};
}

QString SlotWords::title(Part part) const
{
    return pick(titleText(part));
}

// ---- What a slot is --------------------------------------------------------------------------

std::vector<int> SlotWords::order() const
{
    std::vector<int> ordered;
    if (!m_info) return ordered;
    std::vector<bool> taken(static_cast<size_t>(m_info->slotCount), false);
    const auto take = [&](int slot) {
        if (slot < 0 || slot >= m_info->slotCount || taken[static_cast<size_t>(slot)]) return;
        taken[static_cast<size_t>(slot)] = true;
        ordered.push_back(slot);
    };
    for (int button = 1; button <= PushButtonCount; ++button) {
        take(firstFunctionSlot(button));
        take(secondFunctionSlot(button));
    }
    take(ModuleTypes::MasterSlot);
    take(ModuleTypes::SecondFunctionTimeSlot);
    if (ModuleTypes::isRelay(m_type)) {
        for (int output = 1; output <= RelayOutputCount; ++output) {
            take(outputFunctionSlot(output));
            take(outputTimeSlot(output));
            take(linkedOutputSlot(output));
        }
    }
    for (int channel = 1; channel <= m_info->dimChannels; ++channel)
        take(dimStartSlot(channel));
    for (int scene = 0; scene < SceneLayout::SceneCount; ++scene) {
        for (int channel = 1; channel <= SceneLayout::channelCount(m_type); ++channel)
            take(SceneLayout::channelSlot(m_type, scene, channel));
        take(SceneLayout::groupFlagSlot(m_type, scene));
    }
    // What no editor shows, then the version.
    taken[static_cast<size_t>(m_info->versionSlot)] = true;
    for (int slot = 0; slot < m_info->slotCount; ++slot)
        take(slot);
    ordered.push_back(m_info->versionSlot);
    return ordered;
}

Lang::Text SlotWords::stepText(int moduleType, const std::vector<int> &written, const ModuleNames *names)
{
    const auto in = [&](int language) {
        const SlotWords words(moduleType, Lang::Language(language), names);
        if (written.empty()) return QString();
        const QString first = words.slotName(written.front());
        const QString common = words.slotParts(written.front()).subject;
        for (int slot : written)
            if (words.slotParts(slot).subject != common) return first;
        return written.size() == 1 ? first : common;
    };
    return {in(1), in(2)};
}

bool SlotWords::isVersion(int slot) const
{
    return m_info && slot == m_info->versionSlot;
}

QString SlotWords::slotName(int slot) const
{
    const SlotName parts = slotParts(slot);
    return parts.detail.isEmpty() ? parts.subject : parts.subject + u", "_s + parts.detail;
}

SlotWords::SlotName SlotWords::slotParts(int slot) const
{
    if (slot == ModuleTypes::MasterSlot) return {u"Master/Slave"_s, {}};
    if (!m_info || !m_language.isSet()) return {};
    if (slot >= 0 && slot < PushButtonSlots) {
        const int button = slot % PushButtonCount + 1;
        const QString subject = withName(pick(u"Drukknop %1"_s, u"Bouton poussoir %1"_s).arg(button),
                                         &ModuleNames::pushButtons, button);
        return {subject, slot >= PushButtonCount ? pick(u"2de functie"_s, u"2ème fonction"_s)
                                                 : pick(u"1ste functie"_s, u"1ère fonction"_s)};
    }
    if (slot == ModuleTypes::SecondFunctionTimeSlot) return {title(Part::SecondFunctionTime), {}};
    if (isVersion(slot)) return {pick(u"Versie"_s, u"Version"_s), {}};
    if (const int output = relayOutput(slot); output > 0) {
        const QString subject =
            withName(pick(u"Uitgang %1"_s, u"Sortie %1"_s).arg(output), &ModuleNames::outputs, output);
        if (slot == outputFunctionSlot(output)) return {subject, pick(u"functie"_s, u"fonction"_s)};
        if (slot == outputTimeSlot(output)) return {subject, pick(u"actieve tijd"_s, u"temps actif"_s)};
        return {subject, pick(u"gekoppelde uitgang"_s, u"sortie liée"_s)};
    }
    if (const int channel = dimStartChannel(slot); channel > 0)
        return {dimChannel(channel), pick(u"beginwaarde"_s, u"valeur début"_s)};
    if (ScenePlace place{}; scenePlace(slot, place)) {
        const QString subject = withName(scene(place.scene), &ModuleNames::scenes, place.scene + 1);
        if (place.channel == 0) return {subject, pick(u"groepsfeer"_s, u"contexte de groupe"_s)};
        return {subject, channel(place.channel)};
    }
    return {pick(u"Geheugenplaats %1"_s, u"Emplacement %1"_s).arg(slot), {}};
}

// ---- How a value reads -----------------------------------------------------------------------

QString SlotWords::value(const ModuleImage &image, int slot) const
{
    const int v = image.value(slot);
    if (!m_info) return number(v);
    if (slot >= 0 && slot < PushButtonSlots) return pushButtonFunction(v);
    if (slot == ModuleTypes::MasterSlot) return masterSlave(v);
    if (slot == ModuleTypes::SecondFunctionTimeSlot) return halfSecondsText(v) + u" s"_s;
    if (isVersion(slot)) return number(v);
    if (const int output = relayOutput(slot); output > 0) {
        if (slot == outputFunctionSlot(output)) {
            const QStringList entries = outputFunctionEntries(m_language);
            return v >= 0 && v < entries.size() ? entries.at(v) : number(v);
        }
        if (slot == outputTimeSlot(output)) {
            // In the unit of the output's function in the same image.
            const QString time = outputTime(image.value(outputFunctionSlot(output)), v);
            return time.isEmpty() ? number(v) : time;
        }
        return this->output(v);
    }
    if (dimStartChannel(slot) > 0) return dimStartText(v);
    if (ScenePlace place{}; scenePlace(slot, place))
        return place.channel == 0 ? groupChoice(v) : sceneValue(place.channel, v);
    return number(v);
}

QString SlotWords::pushButtonFunction(int value) const
{
    if (value == NoFunction) return u"***"_s;
    if (value >= FirstSceneValue && value <= LastSceneValue) {
        const QString scene = number(value - FirstSceneValue + 1);
        return withName(pick(u"Sfeer "_s + scene, u"Contexte "_s + scene), &ModuleNames::scenes,
                        value - FirstSceneValue + 1);
    }
    return output(value + 1);
}

QString SlotWords::output(int output) const
{
    const QString n = number(output);
    return withName(pick(u"Uitgang "_s + n, u"Sortie "_s + n), &ModuleNames::outputs, output);
}

QString SlotWords::pushButtonNumber(int button) const
{
    const QString n = number(button);
    return withName(pick(u"Nummer: "_s + n, u"Numéro: "_s + n), &ModuleNames::pushButtons, button);
}

QStringList SlotWords::pushButtonColumns() const
{
    return {pick(u"Drukknop"_s, u"Bouton poussoir"_s), pick(u"1° functie"_s, u"1° fonction"_s),
            pick(u"2° functie"_s, u"2° fonction"_s)};
}

QString SlotWords::outputFunction(int code, int linked) const
{
    const QString x = number(linked);
    switch (code) {
    case 0:
        return pick(u"AAN/UIT"_s, u"ON/OFF"_s);
    case 1:
        return pick(u"AAN/UIT+ tijdsfunctie"_s, u"ON/OFF + fonction temps"_s);
    case 2:
        return pick(u"AAN + tijdsfunctie"_s, u"ON + fonction temps"_s);
    case 3:
        return pick(u"Puls"_s, u"Impulsion"_s);
    case 4:
        return pick(u"Actief bij doven van uitgang "_s + x + u" voor "_s,
                    u"Actif si extinction de la sortie "_s + x + u" pour "_s);
    case 5:
        return pick(u"Vergrendeling met uitgang "_s + x + u" voor "_s,
                    u"Protection de la sortie "_s + x + u" pour "_s);
    default:
        return number(code);
    }
}

QString SlotWords::outputTime(int code, int time) const
{
    switch (timeUnit(code)) {
    case TimeUnit::Minutes:
        return number(time) + u" min."_s;
    case TimeUnit::Seconds:
        return number(time) + u" sec."_s;
    case TimeUnit::None:
        break;
    }
    return {};
}

QStringList SlotWords::outputColumns() const
{
    return {pick(u"Uitgang nr:"_s, u"Sortie nr:"_s), pick(u"Functie"_s, u"Fonction"_s),
            pick(u"Actieve tijd"_s, u"Temps actif"_s)};
}

QString SlotWords::secondFunctionTime(int halfSeconds) const
{
    return halfSecondsText(halfSeconds) + u' ' + pick(u"Seconden"_s, u"Secondes"_s);
}

QString SlotWords::dimChannel(int channel) const
{
    const QString n = number(channel);
    return withName(pick(u"Kanaal "_s + n, u"Sortie "_s + n), &ModuleNames::outputs, channel);
}

QString SlotWords::channel(int channel) const
{
    // A module with dim channels and relays names each channel by its kind.
    if (m_info && m_info->dimChannels > 0 && m_info->outputs > m_info->dimChannels) {
        const QString name = (channel <= m_info->dimChannels ? u"Dim "_s : u"Relais "_s) + number(channel);
        return withName(pick(name, name), &ModuleNames::outputs, channel);
    }
    return output(channel);
}

QString SlotWords::scene(int scene) const
{
    const QString n = number(scene + 1);
    return pick(u"Sfeer "_s + n, u"Contexte "_s + n);
}

QString SlotWords::sceneValue(int channel, int code) const
{
    const SceneLayout::ChannelKind kind = m_info && channel <= m_info->dimChannels
                                              ? SceneLayout::ChannelKind::Dim
                                              : SceneLayout::ChannelKind::Relay;
    const auto text = SceneLayout::codeText(m_type, kind, code);
    return text ? pick(*text) : number(code);
}

QString SlotWords::groupChoice(int flag) const
{
    if (flag == 1) return pick(u"Ja"_s, u"Qui"_s);
    if (flag == 0) return pick(u"Nee"_s, u"Non"_s);
    return number(flag);
}

QString SlotWords::masterSlave(int value)
{
    if (value == 1) return u"Master"_s;
    if (value == 0) return u"Slave"_s;
    return number(value);
}

// ---- Where a slot sits -----------------------------------------------------------------------

int SlotWords::relayOutput(int slot) const
{
    if (!ModuleTypes::isRelay(m_type)) return 0;
    for (int output = 1; output <= RelayOutputCount; ++output)
        if (slot == outputFunctionSlot(output) || slot == outputTimeSlot(output) ||
            slot == linkedOutputSlot(output))
            return output;
    return 0;
}

int SlotWords::dimStartChannel(int slot) const
{
    for (int channel = 1; m_info && channel <= m_info->dimChannels; ++channel)
        if (slot == dimStartSlot(channel)) return channel;
    return 0;
}

bool SlotWords::scenePlace(int slot, ScenePlace &place) const
{
    for (int scene = 0; scene < SceneLayout::SceneCount; ++scene) {
        if (slot == SceneLayout::groupFlagSlot(m_type, scene)) {
            place = {scene, 0};
            return true;
        }
        for (int channel = 1; channel <= SceneLayout::channelCount(m_type); ++channel)
            if (slot == SceneLayout::channelSlot(m_type, scene, channel)) {
                place = {scene, channel};
                return true;
            }
    }
    return false;
}
