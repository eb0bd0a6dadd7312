#include "files/Report.h"

#include "common/Lang.h"
#include "editors/EditorRules.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneLayout.h"

using namespace Qt::StringLiterals;

namespace {

struct Words
{
    int language;

    QString operator()(const QString &dutch, const QString &french) const
    {
        return Lang::text(language, dutch, french);
    }
    QString operator()(const SceneLayout::Text &text) const { return (*this)(text.dutch, text.french); }
};

ReportSection heading(const ModuleImage &image, const ModuleTypeInfo &type, const Words &tr,
                      const QString &filePath, const QDateTime &when)
{
    ReportSection s;
    s.rows << QStringList{tr(u"Module:"_s, u"Module:"_s),
                          QString::fromLatin1(type.comboEntry) + u" ("_s +
                              type.typeLabel.in(tr.language).value_or(QString()) + u')'};
    s.rows << QStringList{tr(u"Versie:"_s, u"Version:"_s), QString::number(image.value(type.versionSlot))};
    const int master = image.value(ModuleTypes::MasterSlot);
    s.rows << QStringList{u"Master/Slave:"_s, master == 1   ? u"Master"_s
                                              : master == 0 ? u"Slave"_s
                                                            : QString::number(master)};
    if (!filePath.isEmpty()) s.rows << QStringList{tr(u"Bestand:"_s, u"Fichier:"_s), filePath};
    if (when.isValid())
        s.rows << QStringList{tr(u"Datum:"_s, u"Date:"_s), when.toString(u"dd/MM/yyyy HH:mm"_s)};
    return s;
}

ReportSection pushButtons(const ModuleImage &image, const Words &tr)
{
    using namespace EditorRules;
    ReportSection s;
    s.title = tr(u"Drukknoppen"_s, u"Boutons poussoirs"_s);
    s.columns = pushButtonColumnTitles(tr.language);
    for (int button = 1; button <= PushButtonCount; ++button)
        s.rows << QStringList{pushButtonNumberText(button, tr.language),
                              pushButtonFunctionText(image.value(firstFunctionSlot(button)), tr.language),
                              pushButtonFunctionText(image.value(secondFunctionSlot(button)), tr.language)};
    return s;
}

ReportSection outputFunctions(const ModuleImage &image, const Words &tr)
{
    using namespace EditorRules;
    ReportSection s;
    s.title = tr(u"Functie van de uitgangen"_s, u"Fonctions des sorties"_s);
    s.columns = outputColumnTitles(tr.language);
    for (int output = 1; output <= RelayOutputCount; ++output) {
        const int code = image.value(outputFunctionSlot(output));
        s.rows << QStringList{QString::number(output),
                              outputFunctionText(code, image.value(linkedOutputSlot(output)), tr.language),
                              outputTimeText(code, image.value(outputTimeSlot(output)))};
    }
    return s;
}

ReportSection secondFunctionTime(const ModuleImage &image, const Words &tr)
{
    using namespace EditorRules;
    ReportSection s;
    s.title = tr(u"Tijd 2de functie"_s, u"Temps 2ème fonction"_s);
    s.rows << QStringList{halfSecondsText(image.value(ModuleTypes::SecondFunctionTimeSlot)) + u' ' +
                          secondTimeUnit(tr.language)};
    return s;
}

ReportSection dimStartValues(const ModuleImage &image, const ModuleTypeInfo &type, const Words &tr)
{
    using namespace EditorRules;
    ReportSection s;
    s.title = tr(u"Beginwaarde dim-kanalen"_s, u"Valeur début des sorties"_s);
    for (int channel = 1; channel <= type.dimChannels; ++channel)
        s.rows << QStringList{dimChannelLabel(channel, tr.language),
                              dimStartText(image.value(dimStartSlot(channel)))};
    return s;
}

ReportSection scenes(const ModuleImage &image, int moduleType, const Words &tr)
{
    using namespace SceneLayout;
    ReportSection s;
    s.title = tr(u"Sferen"_s, u"Contextes"_s);
    // The group-scene choice is offered on a master only; on a slave its flags do nothing.
    const bool master = image.value(ModuleTypes::MasterSlot) == 1;
    const QList<int> fields = showOrder(moduleType);

    s.columns << tr(u"Sfeer"_s, u"Contexte"_s);
    for (const int field : fields) {
        QString label = tr(*fieldLabel(moduleType, field));
        if (label.endsWith(u':')) label.chop(1);
        s.columns << label;
    }
    if (master) s.columns << tr(u"Groepsfeer"_s, u"Contexte de groupe"_s);

    bool leftOut = false;
    for (int scene = 0; scene < SceneCount; ++scene) {
        QStringList row{tr(*sceneName(scene))};
        bool unchanged = true;
        for (const int field : fields) {
            const ChannelKind kind = fieldUse(moduleType, field)->kind;
            const int code = image.value(fieldSlot(moduleType, scene, field));
            unchanged = unchanged && isUnchanged(moduleType, kind, code);
            const auto text = codeText(moduleType, kind, code);
            row << (text ? tr(*text) : QString::number(code));
        }
        if (unchanged) {
            leftOut = true;
            continue;
        }
        if (master) {
            const int flag = image.value(groupFlagSlot(moduleType, scene));
            const auto choice = groupChoice(flag);
            row << (choice ? tr(*choice) : QString::number(flag));
        }
        s.rows << row;
    }
    if (leftOut)
        s.note = tr(u"Sferen waarin alle uitgangen op *** staan, zijn niet opgenomen."_s,
                    u"Les contextes dont toutes les sorties sont sur *** ne sont pas repris."_s);
    return s;
}

} // namespace

Report makeReport(const ModuleImage &image, int moduleType, int language, const QString &filePath,
                  const QDateTime &when)
{
    Report report;
    report.language = language == 2 ? 2 : 1;
    const ModuleTypeInfo *type = ModuleTypes::info(moduleType);
    if (!type) return report;
    const Words tr{report.language};

    report.title = tr(u"Configuratie van de module"_s, u"Configuration du module"_s);
    report.sections << heading(image, *type, tr, filePath, when);
    report.sections << pushButtons(image, tr);
    if (ModuleTypes::isRelay(moduleType)) report.sections << outputFunctions(image, tr);
    report.sections << secondFunctionTime(image, tr);
    if (ModuleTypes::hasDimChannels(moduleType)) report.sections << dimStartValues(image, *type, tr);
    report.sections << scenes(image, moduleType, tr);
    return report;
}
