#include "installation/InstallationCheck.h"

#include "editors/EditorRules.h"
#include "editors/SlotWords.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneLayout.h"

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;
using namespace EditorRules;

namespace InstallationCheck {
namespace {

using Place = Overview::Place;

// Collects the findings of one installation in one language.
class Checker
{
public:
    Checker(const Installation &installation, Lang::Language language)
        : m_installation(installation), m_language(language)
    {
    }

    std::vector<Finding> run()
    {
        for (size_t i = 0; i < m_installation.modules.size(); ++i)
            checkModule(static_cast<int>(i));
        checkNames();
        std::stable_sort(m_findings.begin(), m_findings.end(),
                         [](const Finding &a, const Finding &b) { return a.severity < b.severity; });
        return std::move(m_findings);
    }

private:
    QString tr(const QString &dutch, const QString &french) const
    {
        return Lang::text(m_language, dutch, french);
    }

    void add(Severity severity, int module, Place place, const QString &text)
    {
        m_findings.push_back({severity, {module}, place, text});
    }

    void checkModule(int index)
    {
        const InstallationModule &m = m_installation.modules[static_cast<size_t>(index)];
        const Place module{Place::Kind::Module, index, 0};
        switch (moduleCondition(m)) {
        case ModuleCondition::PartlySent:
            add(Severity::Error, index, module,
                tr(u"Gedeeltelijk verstuurd: de module houdt misschien niet wat de installatie heeft"_s,
                   u"Partiellement envoyé : le module ne contient peut-être pas ce que contient l'installation"_s));
            break;
        case ModuleCondition::CheckFoundDifferences:
            add(Severity::Error, index, module,
                tr(u"De laatste controle vond verschillen"_s,
                   u"La dernière vérification a trouvé des différences"_s));
            break;
        case ModuleCondition::Changed:
            add(Severity::Warning, index, module,
                tr(u"Wijzigingen niet verstuurd"_s, u"Modifications non envoyées"_s));
            break;
        case ModuleCondition::NeverRead:
            add(Severity::Warning, index, module,
                tr(u"Nooit gelezen of verstuurd"_s, u"Jamais lu ni envoyé"_s));
            break;
        case ModuleCondition::SentAndChecked:
        case ModuleCondition::Sent:
        case ModuleCondition::Read:
            break;
        }
        if (!Overview::fits(m)) return;
        checkPushButtons(index, m);
        checkOutputs(index, m);
        checkScenes(index, m);
    }

    void checkPushButtons(int index, const InstallationModule &m)
    {
        const SlotWords words(m.type, m_language, &m.names);
        const int outputs = ModuleTypes::info(m.type)->outputs;
        for (int button = 1; button <= PushButtonCount; ++button) {
            const Place place{Place::Kind::PushButton, index, button};
            const int first = m.image.value(firstFunctionSlot(button));
            const int second = m.image.value(secondFunctionSlot(button));
            for (int slot : {firstFunctionSlot(button), secondFunctionSlot(button)}) {
                const int value = m.image.value(slot);
                if (value == NoFunction || Overview::sceneOf(value) != 0 || (value >= 0 && value < outputs))
                    continue;
                add(Severity::Error, index, place,
                    tr(u"%1: %2 bestaat niet op deze module (%3 uitgangen)"_s,
                       u"%1 : %2 n'existe pas sur ce module (%3 sorties)"_s)
                        .arg(words.slotName(slot), words.bare().pushButtonFunction(value),
                             QString::number(outputs)));
            }
            const QString name = ModuleNames::of(m.names.pushButtons, button);
            if (!name.isEmpty() && first == NoFunction && second == NoFunction)
                add(Severity::Warning, index, place,
                    tr(u"%1 heeft een naam maar geen functie"_s, u"%1 a un nom mais aucune fonction"_s)
                        .arg(words.slotName(firstFunctionSlot(button)).section(u", "_s, 0, -2)));
        }
    }

    void checkOutputs(int index, const InstallationModule &m)
    {
        const SlotWords words(m.type, m_language, &m.names);
        const int outputs = ModuleTypes::info(m.type)->outputs;
        for (int output = 1; output <= outputs; ++output) {
            bool reached = false;
            for (int button = 1; button <= PushButtonCount && !reached; ++button)
                reached = m.image.value(firstFunctionSlot(button)) == output - 1 ||
                          m.image.value(secondFunctionSlot(button)) == output - 1;
            for (int scene = 1; scene <= SceneLayout::SceneCount && !reached; ++scene)
                reached = Overview::sceneSetsOutput(m, scene, output);
            if (!reached)
                add(Severity::Info, index, {Place::Kind::Output, index, output},
                    tr(u"%1 wordt door geen drukknop en geen sfeer bereikt"_s,
                       u"%1 n'est atteinte par aucun bouton poussoir ni contexte"_s)
                        .arg(words.channel(output)));
        }
    }

    void checkScenes(int index, const InstallationModule &m)
    {
        const SlotWords words(m.type, m_language, &m.names);
        const bool master = m.image.value(ModuleTypes::MasterSlot) == 1;
        QStringList groupOnSlave;
        for (int scene = 1; scene <= SceneLayout::SceneCount; ++scene) {
            const Place place{Place::Kind::Scene, index, scene};
            const int value = FirstSceneValue + scene - 1;
            const QString sceneText = words.pushButtonFunction(value); // "Sfeer 2 – TV-avond"
            QStringList callers;
            for (int button = 1; button <= PushButtonCount; ++button)
                for (int slot : {firstFunctionSlot(button), secondFunctionSlot(button)})
                    if (m.image.value(slot) == value) callers << words.slotName(slot);
            const bool sets = Overview::sceneSetsSomething(m, scene);
            const bool group = m.image.value(SceneLayout::groupFlagSlot(m.type, scene - 1)) == 1;
            if (!callers.isEmpty() && !sets)
                add(Severity::Warning, index, place,
                    tr(u"%1 wordt opgeroepen (%2) maar zet niets op deze module"_s,
                       u"%1 est appelé (%2) mais ne règle rien sur ce module"_s)
                        .arg(sceneText, callers.join(u"; "_s)));
            if (callers.isEmpty() && sets && !(group && master))
                add(Severity::Info, index, place,
                    tr(u"%1 zet uitgangen, maar geen drukknop van deze module roept ze op"_s,
                       u"%1 règle des sorties, mais aucun bouton poussoir de ce module ne l'appelle"_s)
                        .arg(sceneText));
            if (group && !master) groupOnSlave << sceneText;
        }
        if (!groupOnSlave.isEmpty())
            add(Severity::Info, index, {Place::Kind::Scene, index, 0},
                tr(u"Groepsfeer bij %1, maar de module is geen master"_s,
                   u"Contexte de groupe pour %1, mais le module n'est pas master"_s)
                    .arg(groupOnSlave.join(u"; "_s)));
    }

    // Modules that share one name: one finding per name, naming every module that bears it.
    void checkNames()
    {
        std::map<QString, std::vector<int>> byName;
        for (size_t i = 0; i < m_installation.modules.size(); ++i)
            byName[m_installation.modules[i].name.trimmed()].push_back(static_cast<int>(i));
        std::vector<Finding> found;
        for (const auto &[name, modules] : byName) {
            if (modules.size() < 2) continue;
            found.push_back(
                {Severity::Warning,
                 modules,
                 {Place::Kind::Module, modules.front(), 0},
                 tr(u"%1 modules heten \u201c%2\u201d"_s, u"%1 modules s'appellent \u00ab %2 \u00bb"_s)
                     .arg(QString::number(modules.size()), name)});
        }
        // In the order of their first module.
        std::sort(found.begin(), found.end(),
                  [](const Finding &a, const Finding &b) { return a.modules.front() < b.modules.front(); });
        m_findings.insert(m_findings.end(), found.begin(), found.end());
    }

    const Installation &m_installation;
    Lang::Language m_language;
    std::vector<Finding> m_findings;
};

} // namespace

std::vector<Finding> check(const Installation &installation, Lang::Language language)
{
    return Checker(installation, language).run();
}

QString severityText(Severity severity, Lang::Language language)
{
    switch (severity) {
    case Severity::Error:
        return Lang::text(language, u"fout"_s, u"erreur"_s);
    case Severity::Warning:
        return Lang::text(language, u"waarschuwing"_s, u"avertissement"_s);
    case Severity::Info:
        break;
    }
    return u"info"_s;
}

} // namespace InstallationCheck
