#include "files/Report.h"

#include "common/Lang.h"
#include "editors/EditorRules.h"
#include "editors/SlotWords.h"
#include "protocol/ModuleNames.h"
#include "protocol/ModuleTypes.h"
#include "scenes/SceneLayout.h"

using namespace Qt::StringLiterals;

namespace {

// The report's own words (its title, the heading's labels, the note); every word about a slot
// comes from SlotWords.
struct Words
{
    Lang::Language language;

    QString operator()(const QString &dutch, const QString &french) const
    {
        return Lang::text(language, dutch, french);
    }
};

using Part = SlotWords::Part;

// The names of one list of a module, where the report shows a column of them: none when the
// list has no name at all, so a report without names is laid out as it always was.
struct NameColumn
{
    const std::vector<QString> *names = nullptr;

    NameColumn(const ModuleNames *all, const std::vector<QString> ModuleNames::*list)
    {
        if (!all) return;
        for (const QString &name : all->*list)
            if (!name.isEmpty()) names = &(all->*list);
    }
    explicit operator bool() const { return names != nullptr; }
    QString title(const Words &tr) const { return tr(u"Naam"_s, u"Nom"_s); }
    QString of(int number) const { return names ? ModuleNames::of(*names, number) : QString(); }
    // Inserts the column at `at` of a row or of the titles, when there is one.
    void insert(QStringList &row, qsizetype at, const QString &text) const
    {
        if (names) row.insert(at, text);
    }
};

ReportSection heading(const ModuleImage &image, const ModuleTypeInfo &type, const Words &tr,
                      const QString &filePath, const QDateTime &when)
{
    ReportSection s;
    s.rows << QStringList{tr(u"Module:"_s, u"Module:"_s), QString::fromLatin1(type.comboEntry) + u" ("_s +
                                                              type.typeLabel.in(tr.language, QString()) +
                                                              u')'};
    s.rows << QStringList{tr(u"Versie:"_s, u"Version:"_s), QString::number(image.value(type.versionSlot))};
    s.rows << QStringList{u"Master/Slave:"_s, SlotWords::masterSlave(image.value(ModuleTypes::MasterSlot))};
    if (!filePath.isEmpty()) s.rows << QStringList{tr(u"Bestand:"_s, u"Fichier:"_s), filePath};
    if (when.isValid())
        s.rows << QStringList{tr(u"Datum:"_s, u"Date:"_s), when.toString(u"dd/MM/yyyy HH:mm"_s)};
    return s;
}

ReportSection pushButtons(const ModuleImage &image, const SlotWords &words, const NameColumn &names,
                          const Words &tr)
{
    using namespace EditorRules;
    ReportSection s;
    s.title = words.title(Part::PushButtons);
    s.columns = words.pushButtonColumns();
    names.insert(s.columns, 1, names.title(tr));
    for (int button = 1; button <= PushButtonCount; ++button) {
        QStringList row{words.bare().pushButtonNumber(button),
                        words.pushButtonFunction(image.value(firstFunctionSlot(button))),
                        words.pushButtonFunction(image.value(secondFunctionSlot(button)))};
        names.insert(row, 1, names.of(button));
        s.rows << row;
    }
    return s;
}

ReportSection outputFunctions(const ModuleImage &image, const SlotWords &words, const NameColumn &names,
                              const Words &tr)
{
    using namespace EditorRules;
    ReportSection s;
    s.title = words.title(Part::OutputFunctions);
    s.columns = words.outputColumns();
    names.insert(s.columns, 1, names.title(tr));
    for (int output = 1; output <= RelayOutputCount; ++output) {
        const int code = image.value(outputFunctionSlot(output));
        QStringList row{QString::number(output),
                        words.outputFunction(code, image.value(linkedOutputSlot(output))),
                        words.outputTime(code, image.value(outputTimeSlot(output)))};
        names.insert(row, 1, names.of(output));
        s.rows << row;
    }
    return s;
}

ReportSection secondFunctionTime(const ModuleImage &image, const SlotWords &words)
{
    ReportSection s;
    s.title = words.title(Part::SecondFunctionTime);
    s.rows << QStringList{words.secondFunctionTime(image.value(ModuleTypes::SecondFunctionTimeSlot))};
    return s;
}

ReportSection dimStartValues(const ModuleImage &image, const ModuleTypeInfo &type, const SlotWords &words)
{
    using namespace EditorRules;
    ReportSection s;
    s.title = words.title(Part::DimStartValues);
    for (int channel = 1; channel <= type.dimChannels; ++channel)
        s.rows << QStringList{words.dimChannel(channel) + u':',
                              dimStartText(image.value(dimStartSlot(channel)))};
    return s;
}

ReportSection scenes(const ModuleImage &image, int moduleType, const SlotWords &words,
                     const NameColumn &names, const Words &tr)
{
    using namespace SceneLayout;
    ReportSection s;
    s.title = words.title(Part::Scenes);
    // The group-scene choice is offered on a master only; on a slave its flags do nothing.
    const bool master = image.value(ModuleTypes::MasterSlot) == 1;
    const QList<int> fields = showOrder(moduleType);

    s.columns << tr(u"Sfeer"_s, u"Contexte"_s);
    names.insert(s.columns, 1, names.title(tr));
    // The channels' names would make the columns too wide: they are in the output functions'
    // or the dim start values' rows.
    for (const int field : fields)
        s.columns << words.bare().channel(fieldUse(moduleType, field)->channel);
    if (master) s.columns << tr(u"Groepsfeer"_s, u"Contexte de groupe"_s);

    bool leftOut = false;
    for (int scene = 0; scene < SceneCount; ++scene) {
        QStringList row{words.scene(scene)};
        names.insert(row, 1, names.of(scene + 1));
        bool unchanged = true;
        for (const int field : fields) {
            const FieldUse use = *fieldUse(moduleType, field);
            const int code = image.value(fieldSlot(moduleType, scene, field));
            unchanged = unchanged && isUnchanged(moduleType, use.kind, code);
            row << words.sceneValue(use.channel, code);
        }
        if (unchanged) {
            leftOut = true;
            continue;
        }
        if (master) row << words.groupChoice(image.value(groupFlagSlot(moduleType, scene)));
        s.rows << row;
    }
    if (leftOut)
        s.note = tr(u"Sferen waarin alle uitgangen op *** staan, zijn niet opgenomen."_s,
                    u"Les contextes dont toutes les sorties sont sur *** ne sont pas repris."_s);
    return s;
}

} // namespace

Report makeReport(const ModuleImage &image, int moduleType, int language, const QString &filePath,
                  const QDateTime &when, const ModuleNames *names)
{
    Report report;
    const Lang::Language readable = Lang::Language(language).readable();
    report.language = readable.code();
    const ModuleTypeInfo *type = ModuleTypes::info(moduleType);
    if (!type) return report;
    const Words tr{readable};
    const SlotWords words(moduleType, readable, names);

    report.title = tr(u"Configuratie van de module"_s, u"Configuration du module"_s);
    report.sections << heading(image, *type, tr, filePath, when);
    report.sections << pushButtons(image, words, NameColumn(names, &ModuleNames::pushButtons), tr);
    if (ModuleTypes::isRelay(moduleType))
        report.sections << outputFunctions(image, words, NameColumn(names, &ModuleNames::outputs), tr);
    report.sections << secondFunctionTime(image, words);
    if (ModuleTypes::hasDimChannels(moduleType)) report.sections << dimStartValues(image, *type, words);
    report.sections << scenes(image, moduleType, words, NameColumn(names, &ModuleNames::scenes), tr);
    return report;
}
