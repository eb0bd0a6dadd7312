#include "editors/OutputFunctionsFrame.h"

#include "common/Controls.h"
#include "common/WidgetTexts.h"
#include "editors/EditorRules.h"
#include "editors/SlotWords.h"
#include "protocol/ModuleNames.h"
#include "protocol/ModuleState.h"

#include <QGridLayout>
#include <QVBoxLayout>

using namespace EditorRules;

OutputFunctionsFrame::OutputFunctionsFrame(ModuleState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Frame7"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame7"));
    // The last column holds the outputs' names; it is shown while any output has one.
    Grid2 = new EditorWidgets::EditorTable("Grid2", RelayOutputCount + 1, {8, 30, 14, 20}, this);
    Grid2->showColumn(NameColumn, false);
    Frame8 = new QGroupBox(QStringLiteral("Frame8"), this);
    Frame8->setObjectName(QStringLiteral("Frame8"));
    Label7 = Controls::label("Label7", Frame8);
    Combo8 = EditorWidgets::combo("Combo8", Frame8);
    Label8 = Controls::label("Label8", Frame8);
    Combo9 = EditorWidgets::combo("Combo9", Frame8);
    Label9 = Controls::label("Label9", Frame8);
    Combo10 = EditorWidgets::combo("Combo10", Frame8);
    Combo11 = EditorWidgets::combo("Combo11", Frame8);
    const auto outputName = [this](int n) { return ModuleNames::of(m_state.Names.outputs, n); };
    Combo8Naam = new EditorWidgets::EntryName("Combo8Naam", Combo8, outputName, Frame8);
    Combo10Naam = new EditorWidgets::EntryName("Combo10Naam", Combo10, outputName, Frame8);
    Label10 = Controls::label("Label10", Frame8);
    Command5 = new QPushButton(QStringLiteral("Command5"), Frame8);
    Command5->setObjectName(QStringLiteral("Command5"));
    Label7->setBuddy(Combo8);
    Label8->setBuddy(Combo9);
    Label9->setBuddy(Combo10);
    // The unit after the time names it for a screen reader.
    Label10->setBuddy(Combo11);

    auto *fields = new QGridLayout(Frame8);
    fields->addWidget(Label7, 0, 0);
    fields->addWidget(Combo8, 0, 1);
    fields->addWidget(Combo8Naam, 0, 2, 1, 2);
    fields->addWidget(Label8, 1, 0);
    fields->addWidget(Combo9, 1, 1, 1, 3);
    fields->addWidget(Label9, 2, 0);
    fields->addWidget(Combo10, 2, 1);
    fields->addWidget(Combo10Naam, 2, 2, 1, 2);
    fields->addWidget(Combo11, 3, 1);
    fields->addWidget(Label10, 3, 2);
    fields->addWidget(Command5, 4, 3);
    fields->setColumnStretch(3, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Grid2, 1);
    layout->addWidget(Frame8);

    connect(Combo8, &QComboBox::activated, this, [this] { Combo8_Click(); });
    connect(Combo9, &QComboBox::activated, this, &OutputFunctionsFrame::Combo9_Click);
    connect(Combo10, &QComboBox::activated, this, [this] { Combo10_Click(); });
    for (QComboBox *list : {Combo8, Combo9, Combo10, Combo11})
        connect(list, &QComboBox::editTextChanged, this,
                [this, list](const QString &text) { typed(list, text); });
    connect(Command5, &QPushButton::clicked, this, &OutputFunctionsFrame::Command5_Click);
    hide();
}

void OutputFunctionsFrame::open()
{
    const int lang = m_state.Language;
    const Lang::Text caption = SlotWords::captionText(SlotWords::Part::OutputFunctions);
    EditorWidgets::setCaption(this, lang, caption.dutch, caption.french);
    EditorWidgets::setCaption(Frame8, lang, QStringLiteral("Functie van uitgang wijzigen:"),
                              QStringLiteral("Editer la fonction de la sortie:"));
    Lang::setText(Label7, lang, QStringLiteral("Uitgang:"), QStringLiteral("Sortie:"));
    Lang::setText(Label8, lang, QStringLiteral("Functie:"), QStringLiteral("Fonction:"));
    Lang::setText(Label9, lang, QStringLiteral("Uitgang:"), QStringLiteral("Sortie:"));
    Lang::setText(Command5, lang, QStringLiteral("Bevestigen"), QStringLiteral("Confirmer"));
    // The table has no label of its own: it goes by the caption of the frame.
    Grid2->setAccessibleName(title());
    show();
    for (QWidget *w : std::initializer_list<QWidget *>{Combo10, Combo10Naam, Combo11, Label9, Label10})
        w->hide();
    {
        const EditorWidgets::ProgramChange::Scope program(m_program);
        EditorWidgets::fill(Combo8, numberEntries(1, RelayOutputCount));
        EditorWidgets::fill(Combo9, outputFunctionEntries(lang));
        EditorWidgets::fill(Combo10, numberEntries(1, RelayOutputCount));
        EditorWidgets::fill(Combo11, numberEntries(1, MaxOutputTime));
    }
    Grid2->setTitles(SlotWords(m_state.ModuleType, lang).outputColumns()
                     << Lang::text(lang, QStringLiteral("Naam"), QStringLiteral("Nom")));
    refresh();
}

// Every cell is rewritten, so no text of another image stays behind.
void OutputFunctionsFrame::refresh()
{
    const ModuleImage &image = m_state.RelayImage;
    const SlotWords words(m_state.ModuleType, m_state.Language);
    bool named = false;
    for (int output = 1; output <= RelayOutputCount; ++output) {
        const int code = image.value(outputFunctionSlot(output));
        const QString name = ModuleNames::of(m_state.Names.outputs, output);
        named = named || !name.isEmpty();
        Grid2->setCell(output, NameColumn, name);
        Grid2->setCell(output, 0, QString::number(output));
        Grid2->setCell(output, 1, words.outputFunction(code, image.value(linkedOutputSlot(output))));
        Grid2->setCell(output, 2, words.outputTime(code, image.value(outputTimeSlot(output))));
    }
    Grid2->showColumn(NameColumn, named);
    Combo8Naam->refresh();
    Combo10Naam->refresh();
}

void OutputFunctionsFrame::clear(std::initializer_list<QComboBox *> lists)
{
    const EditorWidgets::ProgramChange::Scope program(m_program);
    for (QComboBox *list : lists)
        EditorWidgets::setText(list, QString());
}

void OutputFunctionsFrame::Combo8_Click()
{
    clear({Combo9, Combo10, Combo11});
}

// The fields that go with the picked function are shown; an output comes first.
void OutputFunctionsFrame::Combo9_Click(int code)
{
    clear({Combo10, Combo11});
    if (Combo8->currentText().isEmpty()) {
        clear({Combo9});
        return;
    }
    const TimeUnit unit = timeUnit(code);
    const bool linked = usesLinkedOutput(code);
    Label9->setVisible(linked);
    Combo10->setVisible(linked);
    Combo10Naam->refresh();
    Label10->setVisible(unit != TimeUnit::None);
    Combo11->setVisible(unit != TimeUnit::None);
    if (unit != TimeUnit::None) Label10->setText(timeUnitLabel(unit));
}

// An output cannot work together with itself.
void OutputFunctionsFrame::Combo10_Click()
{
    if (Combo10->currentText() == Combo8->currentText()) clear({Combo10});
}

// The fields take only picks from their lists: anything typed is removed.
void OutputFunctionsFrame::typed(QComboBox *list, const QString &text)
{
    if (m_program.active() || EditorWidgets::showsCurrentEntry(list, text)) return;
    clear({list});
}

void OutputFunctionsFrame::Command5_Click()
{
    const QString function = Combo9->currentText();
    const int code =
        function.isEmpty() ? -1 : Combo9->findText(function, Qt::MatchExactly | Qt::MatchCaseSensitive);
    const int output = entryNumber(Combo8->currentText(), 1, RelayOutputCount).value_or(0);
    const int time = entryNumber(Combo11->currentText(), 1, MaxOutputTime).value_or(0);
    const int linked = entryNumber(Combo10->currentText(), 1, RelayOutputCount).value_or(0);
    const std::vector<SlotValue> writes = outputFunctionWrites(output, code, time, linked);
    if (writes.empty()) return;
    {
        const EditScope step(m_state, [this](const EditStep &s) { Q_EMIT edited(s); });
        for (const SlotValue &w : writes)
            m_state.RelayImage.set(w.slot, w.value);
    }
    refresh();
}

void OutputFunctionsFrame::follow(const EditStep &, bool)
{
    refresh();
}

void OutputFunctionsFrame::chooseOutput(int output)
{
    if (output < 1 || output > RelayOutputCount) return;
    {
        const EditorWidgets::ProgramChange::Scope program(m_program);
        EditorWidgets::setText(Combo8, QString::number(output));
    }
    Combo8_Click();
    Combo8Naam->refresh();
    Grid2->setCurrentCell(output, 0);
    Combo8->setFocus();
}
