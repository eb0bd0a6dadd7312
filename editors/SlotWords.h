#pragma once

#include "common/Lang.h"
#include "protocol/ModuleImage.h"

#include <QString>
#include <QStringList>
#include <vector>

struct ModuleNames;
struct ModuleTypeInfo;

// The one place that says in the installer's words what a slot of a module image is and how its
// value reads, for one module type and one language: what the editors' tables show ("Uitgang 7",
// "Sfeer 9", "30%", "5 sec."), what the comparison, the check after sending and the report call a
// slot ("Drukknop 5, 1ste functie", "Sfeer 3, Uitgang 2"), and the titles of the editors and the
// report's sections. Nobody else spells these words.
//
// Texts are in Dutch (language 1) or French (language 2). For any other language they are empty,
// so that a control keeps its design-time text; words meant to be read whatever the setting (a
// comparison, a report) are asked for in Lang::Language::readable().
class SlotWords
{
public:
    // The parts of a module's configuration, as the editors and the report's sections are titled.
    enum class Part
    {
        PushButtons,
        OutputFunctions,
        SecondFunctionTime,
        DimStartValues,
        Scenes,
    };

    // With `names` (those of an installation module in hand), an output, push button or scene
    // that has a name reads with it after its number: "Uitgang 5 – Keuken plafond".
    SlotWords(int moduleType, Lang::Language language, const ModuleNames *names = nullptr);

    // The same words without names.
    SlotWords bare() const { return SlotWords(m_type, m_language); }

    // The title of a part ("Drukknoppen"), and as an editor's caption ("Drukknoppen:").
    static Lang::Text titleText(Part part);
    static Lang::Text captionText(Part part);
    QString title(Part part) const;

    // ---- What a slot is ------------------------------------------------------------------
    // "Drukknop 5, 1ste functie", "Master/Slave", "Tijd 2de functie", "Uitgang 3, functie",
    // "Kanaal 2, beginwaarde", "Sfeer 4, Uitgang 3", "Sfeer 4, groepsfeer", "Versie", and
    // "Geheugenplaats 300" for a slot no editor shows. Empty for a type without an image.
    QString slotName(int slot) const;
    // Every slot of the type's image once, in the order the installer meets them: push buttons
    // (first and second function of each), master/slave, second-function time, outputs or dim
    // channels, scenes (channels, then the group flag), the slots no editor shows, the version.
    std::vector<int> order() const;
    // What a step that changed the slots `written` is called, in both languages: the slot's name for one
    // slot, else the thing all of them belong to ("Drukknop 5", "Uitgang 3", "Sfeer 4"), else the
    // name of the first; with `names`, a thing that has a name reads with it.
    static Lang::Text stepText(int moduleType, const std::vector<int> &written,
                               const ModuleNames *names = nullptr);
    bool isVersion(int slot) const;

    // ---- How a value reads ---------------------------------------------------------------
    // The value of `slot` in `image` as the editor that shows it reads it (an output's time in
    // the unit of its function in the same image); the bare number where no editor has a text.
    QString value(const ModuleImage &image, int slot) const;

    // A push button's function value: "***", "Sfeer 3" / "Contexte 3", "Uitgang 1" / "Sortie 1".
    QString pushButtonFunction(int value) const;
    // A push button row of the table: "Nummer: 7" / "Numéro: 7".
    QString pushButtonNumber(int button) const;
    // The push-button table's column titles: push button, first and second function.
    QStringList pushButtonColumns() const;
    // An output's function in the output table: fixed texts for codes 0..3, with the linked
    // output for 4 and 5, the bare number for an unknown code.
    QString outputFunction(int code, int linked) const;
    // An output's active time in the unit of its function: "5 sec.", "3 min.", or empty.
    QString outputTime(int code, int time) const;
    // The output table's column titles: output number, function, active time.
    QStringList outputColumns() const;
    // The second-function time with its unit: "2,5 Seconden" / "2,5 Secondes".
    QString secondFunctionTime(int halfSeconds) const;
    // A dim channel's start value caption: "Kanaal 2" / "Sortie 2".
    QString dimChannel(int channel) const;
    // A channel (1-based) as the scene editor captions its field: "Uitgang 3", "Dim 2", "Relais 5".
    QString channel(int channel) const;
    // Scene `scene` (0..19): "Sfeer 1" / "Contexte 1".
    QString scene(int scene) const;
    // Output or channel `output` (1-based) as a push button's function names it: "Uitgang 5" /
    // "Sortie 5".
    QString output(int output) const;
    // What a scene sets a channel to ("Aan", "30%", "Toggle", "***"); the bare number otherwise.
    QString sceneValue(int channel, int code) const;
    // The group-scene choice of a flag: "Ja" / "Qui", "Nee" / "Non"; the bare number otherwise.
    QString groupChoice(int flag) const;
    // The master flag: "Master", "Slave"; the bare number otherwise (the same in both languages).
    static QString masterSlave(int value);

private:
    // A slot's name in two parts: the output, push button, channel or scene it belongs to (with
    // its name) and which of its settings it holds (empty for a slot that stands alone).
    struct SlotName
    {
        QString subject;
        QString detail;
    };
    SlotName slotParts(int slot) const;
    QString pick(const QString &dutch, const QString &french) const;
    // `text` followed by the name of number `number` of `list`, when it has one.
    QString withName(const QString &text, const std::vector<QString> ModuleNames::*list, int number) const;
    QString pick(const Lang::Text &text) const;
    // The output (1..12) whose function, time or linked output `slot` holds; 0 for none.
    int relayOutput(int slot) const;
    // The dim channel (1..4) whose start value `slot` holds; 0 for none.
    int dimStartChannel(int slot) const;
    struct ScenePlace
    {
        int scene;   // 0..19
        int channel; // 1-based; 0 for the group-scene flag
    };
    bool scenePlace(int slot, ScenePlace &place) const;

    int m_type;
    Lang::Language m_language;
    const ModuleTypeInfo *m_info;
    const ModuleNames *m_names;
};
