#include "editors/PushButtonFrame.h"
#include "common/Named.h"

#include "common/Controls.h"
#include "common/MessageBox.h"
#include "common/WidgetTexts.h"
#include "editors/EditorRules.h"
#include "editors/SlotWords.h"
#include "protocol/ModuleNames.h"
#include "protocol/ModuleState.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace EditorRules;

PushButtonFrame::PushButtonFrame(ModuleState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Frame3"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame3"));

    Grid1 = new EditorWidgets::EditorTable("Grid1", PushButtonCount + 1, {12, 9, 10}, this);
    Label3 = Controls::label("Label3", this);
    Combo2 = EditorWidgets::combo("Combo2", this);
    Label3->setBuddy(Combo2);

    Frame4 = named(new QGroupBox(QStringLiteral("Frame4"), this), "Frame4");
    Option3 = Controls::option("Option3", Frame4);
    Combo3 = EditorWidgets::combo("Combo3", Frame4);
    Option4 = Controls::option("Option4", Frame4);
    Combo4 = EditorWidgets::combo("Combo4", Frame4);
    Option5 = Controls::option("Option5", Frame4);

    Frame5 = named(new QGroupBox(QStringLiteral("Frame5"), this), "Frame5");
    Option6 = Controls::option("Option6", Frame5);
    Combo5 = EditorWidgets::combo("Combo5", Frame5);
    Option7 = Controls::option("Option7", Frame5);
    Combo6 = EditorWidgets::combo("Combo6", Frame5);
    Option8 = Controls::option("Option8", Frame5);

    Command3 = Controls::button("Command3", this);
    Command4 = Controls::button("Command4", this);
    Check1 = named(new QCheckBox(QStringLiteral("Check1"), this), "Check1");
    Check2 = named(new QCheckBox(QStringLiteral("Check2"), this), "Check2");

    const auto outputName = [this](int n) { return ModuleNames::of(m_state.Names.outputs, n); };
    const auto sceneName = [this](int n) { return ModuleNames::of(m_state.Names.scenes, n); };
    Combo2Naam = new EditorWidgets::EntryName(
        "Combo2Naam", Combo2, [this](int n) { return ModuleNames::of(m_state.Names.pushButtons, n); }, this);
    m_first = {Frame4, Option3, Combo3, Option4, Combo4, Option5};
    m_second = {Frame5, Option6, Combo5, Option7, Combo6, Option8};
    for (FunctionFields *f : {&m_first, &m_second}) {
        const QByteArray outputList = f->outputList->objectName().toLatin1() + "Naam";
        const QByteArray sceneList = f->sceneList->objectName().toLatin1() + "Naam";
        f->outputName =
            new EditorWidgets::EntryName(outputList.constData(), f->outputList, outputName, f->frame);
        f->sceneName = new EditorWidgets::EntryName(sceneList.constData(), f->sceneList, sceneName, f->frame);
        auto *grid = new QGridLayout(f->frame);
        grid->addWidget(f->output, 0, 0);
        grid->addWidget(f->outputList, 0, 1);
        grid->addWidget(f->outputName, 0, 2);
        grid->addWidget(f->scene, 1, 0);
        grid->addWidget(f->sceneList, 1, 1);
        grid->addWidget(f->sceneName, 1, 2);
        grid->addWidget(f->none, 2, 0);
        bindFunctionFields(*f);
        f->frame->setEnabled(false);
        f->outputList->setEnabled(false);
        f->sceneList->setEnabled(false);
    }

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(Label3);
    buttonRow->addWidget(Combo2, 1);
    buttonRow->addWidget(Combo2Naam);
    auto *side = new QVBoxLayout;
    side->addLayout(buttonRow);
    side->addWidget(Frame4);
    side->addWidget(Frame5);
    side->addWidget(Command3);
    side->addWidget(Command4);
    side->addWidget(Check1);
    side->addWidget(Check2);
    side->addStretch(1);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(Grid1, 1);
    layout->addLayout(side, 0);

    connect(Combo2, &QComboBox::activated, this, [this] { pushButtonChosen(); });
    connect(Combo2, &QComboBox::editTextChanged, this, &PushButtonFrame::Combo2_Change);
    connect(Command3, &QPushButton::clicked, this, &PushButtonFrame::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &PushButtonFrame::Command4_Click);
    connect(Check1, &QCheckBox::toggled, this,
            [this](bool on) { clearAll(Check1, on, firstFunctionSlot(1)); });
    connect(Check2, &QCheckBox::toggled, this,
            [this](bool on) { clearAll(Check2, on, secondFunctionSlot(1)); });
    connect(Grid1, &QTableWidget::cellDoubleClicked, this, &PushButtonFrame::Grid1_DblClick);
    hide();
}

ModuleImage *PushButtonFrame::image()
{
    return m_state.currentImage();
}

EditScope PushButtonFrame::edit(const Lang::Text &name)
{
    return EditScope(
        m_state, [this](const EditStep &step) { Q_EMIT edited(step); }, name);
}

// The table from the image; a clear-all undone frees its box again, made again it holds it.
void PushButtonFrame::follow(const EditStep &step, bool undone)
{
    refresh();
    refreshNames();
    if (step.clearAllBox < 0) return;
    QCheckBox *box = step.clearAllBox == 0 ? Check1 : Check2;
    const EditorWidgets::ProgramChange::Scope program(m_program);
    const QSignalBlocker block(box);
    box->setChecked(!undone);
    box->setEnabled(undone);
}

void PushButtonFrame::open()
{
    if (const std::optional<int> outputs = outputCount(m_state.ModuleType)) m_outputCount = *outputs;
    setCaptions();
    show();
    refresh();
    // The lists are filled anew and start empty, so no push button is chosen. The clear-all
    // boxes and the function groups keep their state: a box checked by a clear-all stays
    // checked and disabled until the next insert or base functions.
    fillLists();
    refreshNames();
}

// The names beside the lists, after the names may have changed.
void PushButtonFrame::refreshNames()
{
    Combo2Naam->refresh();
    for (const FunctionFields *f : {&m_first, &m_second}) {
        f->outputName->refresh();
        f->sceneName->refresh();
    }
}

void PushButtonFrame::setCaptions()
{
    const int lang = m_state.Language;
    const Lang::Text caption = SlotWords::captionText(SlotWords::Part::PushButtons);
    EditorWidgets::setCaption(this, lang, caption.dutch, caption.french);
    // The table has no label of its own: it goes by the caption of the frame.
    Grid1->setAccessibleName(title());
    Grid1->setTitles(SlotWords(m_state.ModuleType, lang).pushButtonColumns());
    if (const auto hint = Lang::pick(lang, QStringLiteral("Dubbelklik om de functie te wissen!"),
                                     QStringLiteral("Double-clicker pour effacer la fonction!"))) {
        Grid1->setToolTip(*hint);
        Grid1->setAccessibleDescription(*hint);
    }
    Lang::setText(Label3, lang, QStringLiteral("Drukknop:"), QStringLiteral("Bouton:"));
    EditorWidgets::setCaption(Frame4, lang, QStringLiteral("1ste functie"), QStringLiteral("1ère fonction"));
    EditorWidgets::setCaption(Frame5, lang, QStringLiteral("2de functie"), QStringLiteral("2ème fonction"));
    for (const FunctionFields *f : {&m_first, &m_second}) {
        Lang::setText(f->output, lang, QStringLiteral("Uitgang"), QStringLiteral("Sortie"));
        Lang::setText(f->scene, lang, QStringLiteral("Sfeer"), QStringLiteral("Contexte"));
        Lang::setText(f->none, lang, QStringLiteral("Geen"), QStringLiteral("Geen"));
        // The lists have no label of their own: they go by the name of their option, and the
        // function group tells the first from the second.
        f->outputList->setAccessibleName(f->output->text());
        f->sceneList->setAccessibleName(f->scene->text());
        f->outputName->setListDescription(f->frame->title());
        f->sceneName->setListDescription(f->frame->title());
    }
    Lang::setText(Command3, lang, QStringLiteral("<-- Invoegen"), QStringLiteral("<-- Insérer"));
    Lang::setText(Command4, lang, QStringLiteral("Basisfuncties"), QStringLiteral("Fonctions de base"));
    Lang::setText(Check1, lang, QStringLiteral("Wissen van alle 1ste functies"),
                  QStringLiteral("Effacer tous les 1ère fonctions"));
    Lang::setText(Check2, lang, QStringLiteral("Wissen van alle 2de functies"),
                  QStringLiteral("Effacer tous les 2ème fonctions"));
}

// The push buttons with their names, and columns 1 and 2 from the image. Without an image (no
// module identified) the functions are emptied rather than left showing another module's.
void PushButtonFrame::refresh()
{
    const ModuleImage *img = image();
    const SlotWords words(m_state.ModuleType, m_state.Language, &m_state.Names);
    for (int n = 1; n <= PushButtonCount; ++n) {
        Grid1->setCell(n, 0, words.pushButtonNumber(n));
        Grid1->setCell(n, 1, img ? words.pushButtonFunction(img->value(firstFunctionSlot(n))) : QString());
        Grid1->setCell(n, 2, img ? words.pushButtonFunction(img->value(secondFunctionSlot(n))) : QString());
    }
}

void PushButtonFrame::fillLists()
{
    const EditorWidgets::ProgramChange::Scope program(m_program);
    EditorWidgets::fill(Combo2, numberEntries(1, PushButtonCount));
    for (const FunctionFields *f : {&m_first, &m_second}) {
        EditorWidgets::fill(f->outputList, numberEntries(1, m_outputCount));
        EditorWidgets::fill(f->sceneList, numberEntries(1, SceneCount));
    }
}

void PushButtonFrame::resetChecks()
{
    const EditorWidgets::ProgramChange::Scope program(m_program);
    for (QCheckBox *box : {Check1, Check2}) {
        box->setChecked(false);
        box->setEnabled(true);
    }
}

// A group ready for a newly chosen push button: enabled, no option selected, both lists empty
// and disabled until an option asks for one.
void PushButtonFrame::clearFunctionFields(const FunctionFields &fields)
{
    const EditorWidgets::ProgramChange::Scope program(m_program);
    fields.frame->setEnabled(true);
    Controls::clearOptions({fields.output, fields.scene, fields.none});
    for (QComboBox *list : {fields.outputList, fields.sceneList}) {
        EditorWidgets::setText(list, QString());
        list->setEnabled(false);
    }
}

void PushButtonFrame::bindFunctionFields(const FunctionFields &fields)
{
    QComboBox *outputList = fields.outputList;
    QComboBox *sceneList = fields.sceneList;
    connect(fields.output, &QRadioButton::toggled, this, [outputList, sceneList](bool on) {
        if (!on) return;
        outputList->setEnabled(true);
        sceneList->setEnabled(false);
    });
    connect(fields.scene, &QRadioButton::toggled, this, [outputList, sceneList](bool on) {
        if (!on) return;
        outputList->setEnabled(false);
        sceneList->setEnabled(true);
    });
    connect(fields.none, &QRadioButton::toggled, this, [outputList, sceneList](bool on) {
        if (!on) return;
        outputList->setEnabled(false);
        sceneList->setEnabled(false);
    });
    for (QComboBox *list : {outputList, sceneList})
        connect(list, &QComboBox::editTextChanged, this,
                [this, list](const QString &text) { refuseOutsideList(list, text); });
}

// What the installer types into an output or scene list stays only when it is one of its entries.
void PushButtonFrame::refuseOutsideList(QComboBox *list, const QString &text)
{
    if (m_program.active() || EditorWidgets::showsCurrentEntry(list, text)) return;
    const EditorWidgets::ProgramChange::Scope program(m_program);
    EditorWidgets::setText(
        list, list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0 ? text : QString());
}

// A push button was chosen (picked, typed or double-clicked): both function groups start afresh.
void PushButtonFrame::pushButtonChosen()
{
    clearFunctionFields(m_first);
    clearFunctionFields(m_second);
}

void PushButtonFrame::Combo2_Change(const QString &text)
{
    if (m_program.active() || EditorWidgets::showsCurrentEntry(Combo2, text)) return;
    {
        const EditorWidgets::ProgramChange::Scope program(m_program);
        EditorWidgets::setText(Combo2, entryNumber(text, 1, PushButtonCount) ? text : QString());
    }
    pushButtonChosen();
}

// The value the options and lists of a group stand for; nothing when no option is selected, its
// list is empty or holds no entry of the module.
std::optional<int> PushButtonFrame::chosenValue(const FunctionFields &fields, int outputs) const
{
    if (fields.output->isChecked()) {
        const auto o = entryNumber(fields.outputList->currentText(), 1, outputs);
        return o ? pushButtonFunctionValue(FunctionKind::Output, *o, outputs) : std::nullopt;
    }
    if (fields.scene->isChecked()) {
        const auto s = entryNumber(fields.sceneList->currentText(), 1, SceneCount);
        return s ? pushButtonFunctionValue(FunctionKind::Scene, *s, outputs) : std::nullopt;
    }
    if (fields.none->isChecked()) return pushButtonFunctionValue(FunctionKind::None, 0, outputs);
    return std::nullopt;
}

void PushButtonFrame::Command3_Click()
{
    const std::optional<int> button = entryNumber(Combo2->currentText(), 1, PushButtonCount);
    if (!button) return;
    resetChecks();
    ModuleImage *img = image();
    const std::optional<int> outputs = outputCount(m_state.ModuleType);
    const EditScope step = edit();
    if (img && outputs) {
        if (const auto first = chosenValue(m_first, *outputs)) img->set(firstFunctionSlot(*button), *first);
        if (const auto second = chosenValue(m_second, *outputs))
            img->set(secondFunctionSlot(*button), *second);
    }
    refresh();
}

void PushButtonFrame::Command4_Click()
{
    ModuleImage *img = image();
    const std::vector<int> base = baseFunctions(m_state.ModuleType);
    if (!img || base.empty()) return;
    const int lang = m_state.Language;
    const QString title =
        Lang::text(lang, QStringLiteral("Basisfuncties"), QStringLiteral("Fonctions de base"),
                   QStringLiteral("Basisfuncties / Fonctions de base"));
    const QString question =
        Lang::message(lang, QStringLiteral("Bent U zeker?"), QStringLiteral("Etes-vous certain?"));
    if (MessageBox::okCancel(this, title, question) != MessageBox::Ok) return;
    resetChecks();
    const EditScope step = edit({QStringLiteral("Basisfuncties"), QStringLiteral("Fonctions de base")});
    for (int slot = 0; slot < static_cast<int>(base.size()); ++slot)
        img->set(slot, base[static_cast<size_t>(slot)]);
    refresh();
}

// Checking a box removes one function of every push button; the box then stays checked and
// disabled until the next insert or base functions.
void PushButtonFrame::clearAll(QCheckBox *box, bool checked, int firstSlot)
{
    if (!checked || m_program.active()) return;
    {
        EditScope step = edit(box == Check1 ? Lang::Text{QStringLiteral("Wissen van alle 1ste functies"),
                                                         QStringLiteral("Effacer tous les 1ère fonctions")}
                                            : Lang::Text{QStringLiteral("Wissen van alle 2de functies"),
                                                         QStringLiteral("Effacer tous les 2ème fonctions")});
        step.setClearAllBox(box == Check1 ? 0 : 1);
        if (ModuleImage *img = image())
            for (int n = 0; n < PushButtonCount; ++n)
                img->set(firstSlot + n, NoFunction);
    }
    box->setEnabled(false);
    refresh();
}

void PushButtonFrame::Grid1_DblClick(int row, int column)
{
    if (row < 1 || row > PushButtonCount) return;
    if (column == 0) {
        {
            const EditorWidgets::ProgramChange::Scope program(m_program);
            EditorWidgets::setText(Combo2, QString::number(row));
        }
        pushButtonChosen();
        return;
    }
    ModuleImage *img = image();
    if (!img) return;
    const EditScope step = edit();
    if (column == 1)
        img->set(firstFunctionSlot(row), NoFunction);
    else if (column == 2)
        img->set(secondFunctionSlot(row), NoFunction);
    refresh();
}

void PushButtonFrame::choosePushButton(int button)
{
    if (button < 1 || button > PushButtonCount) return;
    Grid1_DblClick(button, 0);
    Grid1->setCurrentCell(button, 0);
    Grid1->scrollToItem(Grid1->item(button, 0));
    Combo2->setFocus();
}
