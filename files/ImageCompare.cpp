#include "files/ImageCompare.h"

#include "common/Lang.h"
#include "editors/EditorRules.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneLayout.h"

#include <vector>

namespace ImageCompare {
namespace {

using Kind = Difference::Kind;

// Dutch for every language but French: the texts a window shows before a language is set.
int textLanguage(int language)
{
    return language == 2 ? 2 : 1;
}

QString pick(int language, const QString &dutch, const QString &french)
{
    return language == 2 ? french : dutch;
}

QString pick(int language, const SceneLayout::Text &text)
{
    return pick(language, text.dutch, text.french);
}

QString number(int n)
{
    return QString::number(n);
}

QString modelEntry(int type)
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    return info ? QString::fromLatin1(info->comboEntry) : number(type);
}

bool fits(int type, const ModuleImage &image)
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    return info && image.size() == info->slotCount;
}

// What a slot of a module type holds, and how its value reads, in the installer's words.
class Meaning
{
public:
    Meaning(int type, int language) : m_type(type), m_lang(language), m_info(ModuleTypes::info(type)) {}

    // Every slot of the image once, in the order the installer meets them.
    std::vector<int> order() const
    {
        std::vector<int> ordered;
        std::vector<bool> taken(static_cast<size_t>(m_info->slotCount), false);
        const auto take = [&](int slot) {
            if (slot < 0 || slot >= m_info->slotCount || taken[static_cast<size_t>(slot)]) return;
            taken[static_cast<size_t>(slot)] = true;
            ordered.push_back(slot);
        };
        for (int button = 1; button <= EditorRules::PushButtonCount; ++button) {
            take(EditorRules::firstFunctionSlot(button));
            take(EditorRules::secondFunctionSlot(button));
        }
        take(ModuleTypes::MasterSlot);
        take(ModuleTypes::SecondFunctionTimeSlot);
        if (ModuleTypes::isRelay(m_type)) {
            for (int output = 1; output <= EditorRules::RelayOutputCount; ++output) {
                take(EditorRules::outputFunctionSlot(output));
                take(EditorRules::outputTimeSlot(output));
                take(EditorRules::linkedOutputSlot(output));
            }
        }
        for (int channel = 1; channel <= m_info->dimChannels; ++channel)
            take(EditorRules::dimStartSlot(channel));
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

    Kind kind(int slot) const { return slot == m_info->versionSlot ? Kind::Version : Kind::Setting; }

    QString what(int slot) const
    {
        if (slot < EditorRules::PushButtonSlots) {
            const bool second = slot >= EditorRules::PushButtonCount;
            const QString n = number(slot % EditorRules::PushButtonCount + 1);
            return second ? pick(m_lang, QStringLiteral("Drukknop %1, 2de functie").arg(n),
                                 QStringLiteral("Bouton poussoir %1, 2ème fonction").arg(n))
                          : pick(m_lang, QStringLiteral("Drukknop %1, 1ste functie").arg(n),
                                 QStringLiteral("Bouton poussoir %1, 1ère fonction").arg(n));
        }
        if (slot == ModuleTypes::MasterSlot) return QStringLiteral("Master/Slave");
        if (slot == ModuleTypes::SecondFunctionTimeSlot)
            return pick(m_lang, QStringLiteral("Tijd 2de functie"), QStringLiteral("Temps 2ème fonction"));
        if (slot == m_info->versionSlot)
            return pick(m_lang, QStringLiteral("Versie"), QStringLiteral("Version"));
        if (const int output = relayOutput(slot); output > 0) {
            const QString n = number(output);
            if (slot == EditorRules::outputFunctionSlot(output))
                return pick(m_lang, QStringLiteral("Uitgang %1, functie").arg(n),
                            QStringLiteral("Sortie %1, fonction").arg(n));
            if (slot == EditorRules::outputTimeSlot(output))
                return pick(m_lang, QStringLiteral("Uitgang %1, actieve tijd").arg(n),
                            QStringLiteral("Sortie %1, temps actif").arg(n));
            return pick(m_lang, QStringLiteral("Uitgang %1, gekoppelde uitgang").arg(n),
                        QStringLiteral("Sortie %1, sortie liée").arg(n));
        }
        if (const int channel = dimChannel(slot); channel > 0)
            return pick(m_lang, QStringLiteral("Kanaal %1, beginwaarde").arg(channel),
                        QStringLiteral("Sortie %1, valeur début").arg(channel));
        if (const auto place = scenePlace(slot)) {
            const QString scene = pick(m_lang, *SceneLayout::sceneName(place->scene));
            if (place->channel == 0)
                return scene +
                       pick(m_lang, QStringLiteral(", groepsfeer"), QStringLiteral(", contexte de groupe"));
            return scene + QStringLiteral(", ") + channelName(place->channel);
        }
        return pick(m_lang, QStringLiteral("Geheugenplaats %1"), QStringLiteral("Emplacement %1")).arg(slot);
    }

    // The value of `slot` in `image` as the editor that shows it reads it; the bare number where
    // no editor has a text for it.
    QString value(const ModuleImage &image, int slot) const
    {
        const int v = image.value(slot);
        if (slot < EditorRules::PushButtonSlots) return EditorRules::pushButtonFunctionText(v, m_lang);
        if (slot == ModuleTypes::MasterSlot) {
            if (v == 1) return QStringLiteral("Master");
            if (v == 0) return QStringLiteral("Slave");
            return number(v);
        }
        if (slot == ModuleTypes::SecondFunctionTimeSlot)
            return EditorRules::halfSecondsText(v) + QStringLiteral(" s");
        if (slot == m_info->versionSlot) return number(v);
        if (const int output = relayOutput(slot); output > 0) {
            if (slot == EditorRules::outputFunctionSlot(output)) {
                const QStringList entries = EditorRules::outputFunctionEntries(m_lang);
                return v >= 0 && v < entries.size() ? entries.at(v) : number(v);
            }
            if (slot == EditorRules::outputTimeSlot(output)) {
                // In the unit of the output's function in the same image.
                const QString time =
                    EditorRules::outputTimeText(image.value(EditorRules::outputFunctionSlot(output)), v);
                return time.isEmpty() ? number(v) : time;
            }
            return pick(m_lang, QStringLiteral("Uitgang %1"), QStringLiteral("Sortie %1")).arg(v);
        }
        if (dimChannel(slot) > 0) return EditorRules::dimStartText(v);
        if (const auto place = scenePlace(slot)) {
            if (place->channel == 0) {
                // The scene editor's group-scene choices.
                const auto choice = SceneLayout::groupChoice(v);
                return choice ? pick(m_lang, *choice) : number(v);
            }
            const SceneLayout::ChannelKind kind = place->channel <= m_info->dimChannels
                                                      ? SceneLayout::ChannelKind::Dim
                                                      : SceneLayout::ChannelKind::Relay;
            const auto text = SceneLayout::codeText(m_type, kind, v);
            return text ? pick(m_lang, *text) : number(v);
        }
        return number(v);
    }

private:
    struct ScenePlace
    {
        int scene;   // 0..19
        int channel; // 1-based; 0 for the group-scene flag
    };

    // The output (1..12) whose function, time or linked output `slot` holds; 0 for none.
    int relayOutput(int slot) const
    {
        if (!ModuleTypes::isRelay(m_type)) return 0;
        for (int output = 1; output <= EditorRules::RelayOutputCount; ++output)
            if (slot == EditorRules::outputFunctionSlot(output) ||
                slot == EditorRules::outputTimeSlot(output) || slot == EditorRules::linkedOutputSlot(output))
                return output;
        return 0;
    }

    // The dim channel (1..4) whose start value `slot` holds; 0 for none.
    int dimChannel(int slot) const
    {
        for (int channel = 1; channel <= m_info->dimChannels; ++channel)
            if (slot == EditorRules::dimStartSlot(channel)) return channel;
        return 0;
    }

    std::optional<ScenePlace> scenePlace(int slot) const
    {
        for (int scene = 0; scene < SceneLayout::SceneCount; ++scene) {
            if (slot == SceneLayout::groupFlagSlot(m_type, scene)) return ScenePlace{scene, 0};
            for (int channel = 1; channel <= SceneLayout::channelCount(m_type); ++channel)
                if (slot == SceneLayout::channelSlot(m_type, scene, channel))
                    return ScenePlace{scene, channel};
        }
        return std::nullopt;
    }

    // The channel as the scene editor labels its field ("Uitgang 3", "Dim 2", "Relais 5").
    QString channelName(int channel) const
    {
        for (int field = 0; field < SceneLayout::FieldCount; ++field) {
            const auto use = SceneLayout::fieldUse(m_type, field);
            if (!use || use->channel != channel) continue;
            QString label = pick(m_lang, *SceneLayout::fieldLabel(m_type, field));
            if (label.endsWith(QLatin1Char(':'))) label.chop(1);
            return label;
        }
        return number(channel);
    }

    int m_type;
    int m_lang;
    const ModuleTypeInfo *m_info;
};

} // namespace

int Result::failures() const
{
    int count = 0;
    for (const Difference &d : differences)
        if (d.kind != Kind::Version) ++count;
    return count;
}

bool Result::versionDiffers() const
{
    for (const Difference &d : differences)
        if (d.kind == Kind::Version) return true;
    return false;
}

Result compare(int typeInHand, const ModuleImage &inHand, int otherType, const ModuleImage &other,
               int language)
{
    Result result;
    if (!fits(typeInHand, inHand)) {
        result.outcome = Outcome::NothingInHand;
        return result;
    }
    if (!fits(otherType, other)) {
        result.outcome = Outcome::NothingInOther;
        return result;
    }
    if (ModuleTypes::info(typeInHand)->image != ModuleTypes::info(otherType)->image) {
        result.outcome = Outcome::OtherType;
        return result;
    }
    result.outcome = Outcome::Compared;
    const int lang = textLanguage(language);
    if (typeInHand != otherType)
        result.differences.append({Kind::ModuleType,
                                   {},
                                   pick(lang, QStringLiteral("Moduletype"), QStringLiteral("Type de module")),
                                   modelEntry(typeInHand),
                                   modelEntry(otherType)});
    // The slots mean the same in both images; the type in hand names them.
    const Meaning meaning(typeInHand, lang);
    for (int slot : meaning.order()) {
        if (inHand.value(slot) == other.value(slot)) continue;
        result.differences.append({meaning.kind(slot),
                                   {slot},
                                   meaning.what(slot),
                                   meaning.value(inHand, slot),
                                   meaning.value(other, slot)});
    }
    return result;
}

QString cannotCompareMessage(const Result &result, int typeInHand, int otherType, int language)
{
    switch (result.outcome) {
    case Outcome::Compared:
        break;
    case Outcome::OtherType:
        return Lang::message(
            language,
            QStringLiteral("Vergelijken is niet mogelijk: het programma bevat een module %1, het bestand een "
                           "module %2. Alleen modules van hetzelfde type kunnen vergeleken worden.")
                .arg(modelEntry(typeInHand), modelEntry(otherType)),
            QStringLiteral("Comparaison impossible: le programme contient un module %1, le fichier un module "
                           "%2. Seuls des modules du même type peuvent être comparés.")
                .arg(modelEntry(typeInHand), modelEntry(otherType)));
    case Outcome::NothingInHand:
        return Lang::message(
            language,
            QStringLiteral("Vergelijken is niet mogelijk: er zijn nog geen modulegegevens in "
                           "het programma. Verbind eerst met een module of open een "
                           "modulebestand."),
            QStringLiteral("Comparaison impossible: le programme ne contient pas encore de "
                           "données de module. Connectez d'abord un module ou ouvrez un "
                           "fichier module."));
    case Outcome::NothingInOther:
        return Lang::message(
            language,
            QStringLiteral("Vergelijken is niet mogelijk: het bestand bevat geen volledige modulegegevens."),
            QStringLiteral(
                "Comparaison impossible: le fichier ne contient pas de données de module complètes."));
    }
    return QString();
}

QString summary(const Result &result, int language)
{
    const int lang = textLanguage(language);
    const int n = result.failures();
    const bool version = result.versionDiffers();
    if (n == 0)
        return version ? pick(lang, QStringLiteral("Geen verschillen, alleen een andere versie"),
                              QStringLiteral("Aucune différence, seulement une autre version"))
                       : pick(lang, QStringLiteral("Geen verschillen"), QStringLiteral("Aucune différence"));
    QString text =
        n == 1 ? pick(lang, QStringLiteral("1 verschil"), QStringLiteral("1 différence"))
               : pick(lang, QStringLiteral("%1 verschillen"), QStringLiteral("%1 différences")).arg(n);
    if (version)
        text += pick(lang, QStringLiteral(" en een andere versie"), QStringLiteral(" et une autre version"));
    return text;
}

QStringList lines(const QList<Difference> &differences)
{
    QStringList out;
    for (const Difference &d : differences)
        out << d.what + QStringLiteral(": ") + d.before + QStringLiteral(" → ") + d.after;
    return out;
}

} // namespace ImageCompare
