#include "scenes/SceneFrame.h"
#include "common/Named.h"

#include "common/Controls.h"
#include "common/WidgetTexts.h"
#include "editors/EditorWidgets.h"
#include "editors/SlotWords.h"
#include "protocol/ModuleNames.h"
#include "protocol/ModuleState.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QValidator>

using SceneLayout::ChannelKind;

namespace {
// Typed text never counts as a pick. An editable list takes the text in its field as a choice
// when the installer presses Enter or leaves the field, if it spells one of its entries; it
// does so only for text its validator calls acceptable. So the text of an entry other than the
// one shown is held back as unfinished, and only a pick from the list can change the value.
class TypedTextIsNoPick : public QValidator
{
public:
    explicit TypedTextIsNoPick(QComboBox *list) : QValidator(list), m_list(list) {}

    State validate(QString &input, int &) const override
    {
        // Compared the loosest way the list could compare it.
        const int entry = m_list->findText(input, Qt::MatchFixedString);
        return entry < 0 || entry == m_list->currentIndex() ? Acceptable : Intermediate;
    }

private:
    QComboBox *m_list;
};

// An editable list that only ever holds its own entries: typed text is never added to it,
// never completed into an entry and never taken as a pick.
QComboBox *valueList(const QString &name, QWidget *parent)
{
    auto *combo = named(new QComboBox(parent), name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->setValidator(new TypedTextIsNoPick(combo));
    return combo;
}

// Shows no entry and an empty text, without signalling a change.
void clearSelection(QComboBox *combo)
{
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
}
} // namespace

SceneFrame::SceneFrame(ModuleState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Frame9"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame9"));

    Combo25 = valueList(QStringLiteral("Combo25"), this);
    Combo25Naam = new EditorWidgets::EntryName(
        "Combo25Naam", Combo25, [this](int n) { return ModuleNames::of(m_state.Names.scenes, n); }, this);
    auto *fields = new QGridLayout;
    for (int i = 0; i < SceneLayout::FieldCount; ++i) {
        const auto index = static_cast<size_t>(i);
        Label12[index] =
            named(new QLabel(QStringLiteral("Label12"), this), QStringLiteral("Label12_%1").arg(i));
        Combo12[index] = valueList(QStringLiteral("Combo12_%1").arg(i), this);
        Label12[index]->setBuddy(Combo12[index]);
        Label12[index]->setTextFormat(Qt::PlainText); // a channel's caption may hold its name
        // Fields 0..5 top-down in the left column, 6..11 in the right one; each label left of its field.
        const int row = i % 6;
        const int column = i < 6 ? 0 : 2;
        fields->addWidget(Label12[index], row, column);
        fields->addWidget(Combo12[index], row, column + 1);
    }
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    Label11 = named(new QLabel(QStringLiteral("Label11"), this), QStringLiteral("Label11"));
    Label11->setTextFormat(Qt::PlainText);
    Option9 = Controls::option("Option9", this);
    Option10 = Controls::option("Option10", this);
    Label11->setBuddy(Option9);
    auto *group = new QHBoxLayout;
    group->addWidget(Label11);
    group->addWidget(Option9);
    group->addWidget(Option10);
    group->addStretch(1);

    auto *top = new QVBoxLayout(this);
    auto *choice = new QHBoxLayout;
    choice->addWidget(Combo25, 1);
    choice->addWidget(Combo25Naam, 1);
    top->addLayout(choice);
    top->addLayout(fields);
    top->addLayout(group);
    top->addStretch(1);

    connect(Combo25, &QComboBox::activated, this, [this] { Combo25_Click(); });
    connect(Combo25->lineEdit(), &QLineEdit::textEdited, this, &SceneFrame::Combo25_Change);
    for (int i = 0; i < SceneLayout::FieldCount; ++i) {
        QComboBox *combo = Combo12[static_cast<size_t>(i)];
        connect(combo, &QComboBox::activated, this, [this, i] { Combo12_Click(i); });
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, i] { Combo12_Change(i); });
    }
    // A click on the choice already selected stores it as well: after a scene whose flag is
    // neither 0 nor 1 the previous choice stays shown, and confirming it must reach the image.
    for (QRadioButton *option : {Option9, Option10}) {
        const auto run = [this, option] {
            if (option == Option9)
                Option9_Click();
            else
                Option10_Click();
        };
        connect(option, &QRadioButton::toggled, this, [run](bool on) {
            if (on) run();
        });
        connect(option, &QRadioButton::clicked, this, [option, run] {
            if (option->isChecked()) run();
        });
    }

    setSceneControlsEnabled(false);
    hide();
}

ModuleImage *SceneFrame::image() const
{
    // The fields are laid out for the type of the last open(); another type's image is never written.
    return m_state.ModuleType == m_type ? m_state.imageFor(m_type) : nullptr;
}

int SceneFrame::selectedScene() const
{
    const int scene = Combo25->currentIndex();
    if (scene < 0 || scene >= SceneLayout::SceneCount || !image()) return -1;
    return scene;
}

QString SceneFrame::valueCaption(ChannelKind kind, int position) const
{
    const auto text = SceneLayout::valueText(kind, position);
    return text ? text->in(m_state.Language, QString()) : QString();
}

void SceneFrame::setSceneControlsEnabled(bool enabled)
{
    for (QComboBox *combo : Combo12)
        combo->setEnabled(enabled);
    Option9->setEnabled(enabled);
    Option10->setEnabled(enabled);
}

void SceneFrame::clearGroupChoice()
{
    const QSignalBlocker block9(Option9);
    const QSignalBlocker block10(Option10);
    Controls::clearOptions({Option9, Option10});
}

void SceneFrame::showGroupLine(bool dashedFrench)
{
    const int lang = m_state.Language;
    Lang::setText(Label11, lang, QStringLiteral("--- groepsfeer ---"),
                  dashedFrench ? QStringLiteral("--- contexte de groupe ---")
                               : QStringLiteral("contexte de groupe"));
    const SlotWords words(m_type, lang);
    Lang::setWords(Option9, words.groupChoice(1));
    Lang::setWords(Option10, words.groupChoice(0));
    Label11->show();
    Option9->show();
    Option10->show();
}

// No scene chosen: the selector shows its prompt, the value fields are empty, neither group
// choice is selected, and nothing can be picked until a scene is chosen.
void SceneFrame::showNoScene()
{
    {
        const QSignalBlocker block(Combo25);
        Combo25->setCurrentIndex(-1);
        Combo25->setEditText(SceneLayout::scenePrompt().in(m_state.Language, QString()));
    }
    for (QComboBox *combo : Combo12)
        clearSelection(combo);
    clearGroupChoice();
    setSceneControlsEnabled(false);
}

void SceneFrame::open()
{
    m_type = m_state.ModuleType;
    const int lang = m_state.Language;
    Lang::setText(this, lang, SlotWords::captionText(SlotWords::Part::Scenes));
    show();
    // A channel that has a name reads with it beside its field: "Uitgang 3 – Keuken:"; the
    // selector's entries stay "Sfeer 1" .. "Sfeer 20", the chosen one's name beside it.
    const SlotWords words(m_type, lang, &m_state.Names);

    {
        const QSignalBlocker block(Combo25);
        Combo25->clear();
        // Like every run-time text, the entries exist only in Dutch and French.
        if (Lang::Language(lang).isSet())
            for (int scene = 0; scene < SceneLayout::SceneCount; ++scene)
                Combo25->addItem(words.scene(scene));
        if (const auto text = SceneLayout::scenePrompt().in(lang)) Combo25->setAccessibleName(*text);
    }

    Label11->hide();
    Option9->hide();
    Option10->hide();
    for (int i = 0; i < SceneLayout::FieldCount; ++i) {
        QLabel *label = Label12[static_cast<size_t>(i)];
        if (const auto use = SceneLayout::fieldUse(m_type, i)) {
            if (const QString name = words.channel(use->channel); !name.isEmpty())
                label->setText(Lang::literalAmpersands(name) + u':');
            label->show();
        } else {
            label->hide();
        }
    }
    if (m_state.MasterFlag == 1) showGroupLine(false);

    for (int i = 0; i < SceneLayout::FieldCount; ++i) {
        QComboBox *combo = Combo12[static_cast<size_t>(i)];
        const QSignalBlocker block(combo);
        combo->clear();
        if (const auto use = SceneLayout::fieldUse(m_type, i)) {
            combo->show();
            // Like every run-time text, the entries exist only in Dutch and French.
            if (Lang::Language(lang).isSet())
                for (int position = 0; position < SceneLayout::listSize(use->kind); ++position)
                    combo->addItem(valueCaption(use->kind, position));
        } else {
            combo->hide();
        }
    }
    showNoScene();
}

// Shows scene s in every used field. Each selection runs the field's own click operation,
// which writes back the code just read, so choosing a scene leaves the image as it was. A
// stored code the field's list does not hold leaves the field empty and is not rewritten.
void SceneFrame::Combo25_Click()
{
    const int scene = selectedScene();
    ModuleImage *img = image();
    if (scene < 0 || !img) {
        showNoScene();
        return;
    }
    {
        // The selector shows the scene's own name, whatever was typed before.
        const QSignalBlocker block(Combo25);
        Combo25->setEditText(Combo25->itemText(scene));
    }
    setSceneControlsEnabled(true);
    for (const int field : SceneLayout::showOrder(m_type)) {
        const auto use = SceneLayout::fieldUse(m_type, field);
        const int code = img->value(SceneLayout::fieldSlot(m_type, scene, field));
        const int position = SceneLayout::positionOf(m_type, use->kind, code);
        QComboBox *combo = Combo12[static_cast<size_t>(field)];
        if (position >= 0 && position < combo->count())
            selectValue(field, position);
        else
            clearSelection(combo);
    }
    if (m_state.MasterFlag != 0) {
        const int flag = img->value(SceneLayout::groupFlagSlot(m_type, scene));
        if (flag == 0)
            selectGroupChoice(false);
        else if (flag == 1)
            selectGroupChoice(true);
    }
}

// Typing never chooses a scene: the selector goes back to its prompt and no scene stays
// chosen, so the fields cannot go on writing into a scene the selector no longer names.
void SceneFrame::Combo25_Change(const QString &)
{
    showNoScene();
}

void SceneFrame::Combo12_Click(int field)
{
    const int scene = selectedScene();
    const auto use = SceneLayout::fieldUse(m_type, field);
    ModuleImage *img = image();
    if (scene < 0 || !use || !img) return;
    const int code =
        SceneLayout::codeAt(m_type, use->kind, Combo12[static_cast<size_t>(field)]->currentIndex());
    const int slot = SceneLayout::fieldSlot(m_type, scene, field);
    if (code >= 0 && img->contains(slot)) {
        const EditScope step(m_state, [this](const EditStep &s) { Q_EMIT edited(s); });
        img->set(slot, code);
    }
}

// Typed text in a value field gives way at once to the text of the stored code; a stored
// code that has no entry in the list leaves the typed text.
void SceneFrame::Combo12_Change(int field)
{
    const int scene = selectedScene();
    const auto use = SceneLayout::fieldUse(m_type, field);
    ModuleImage *img = image();
    if (scene < 0 || !use || !img) return;
    const int code = img->value(SceneLayout::fieldSlot(m_type, scene, field));
    const int position = SceneLayout::positionOf(m_type, use->kind, code);
    QComboBox *combo = Combo12[static_cast<size_t>(field)];
    if (position < 0 || position >= combo->count()) return;
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(position);
    combo->setEditText(combo->itemText(position));
}

void SceneFrame::Option9_Click()
{
    setGroupFlag(1);
}

void SceneFrame::Option10_Click()
{
    setGroupFlag(0);
}

void SceneFrame::setGroupFlag(int flag)
{
    const int scene = selectedScene();
    ModuleImage *img = image();
    if (scene < 0 || !img) return;
    const EditScope step(m_state, [this](const EditStep &s) { Q_EMIT edited(s); });
    img->set(SceneLayout::groupFlagSlot(m_type, scene), flag);
}

void SceneFrame::follow(const EditStep &, bool)
{
    const int scene = selectedScene();
    const ModuleImage *img = image();
    if (scene < 0 || !img) return;
    for (const int field : SceneLayout::showOrder(m_type)) {
        const auto use = SceneLayout::fieldUse(m_type, field);
        const int code = img->value(SceneLayout::fieldSlot(m_type, scene, field));
        const int position = SceneLayout::positionOf(m_type, use->kind, code);
        QComboBox *combo = Combo12[static_cast<size_t>(field)];
        if (position >= 0 && position < combo->count()) {
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(position);
            combo->setEditText(combo->itemText(position));
        } else {
            clearSelection(combo);
        }
    }
    const int flag = img->value(SceneLayout::groupFlagSlot(m_type, scene));
    if (m_state.MasterFlag != 0 && (flag == 0 || flag == 1)) {
        QRadioButton *option = flag == 1 ? Option9 : Option10;
        const QSignalBlocker block(option);
        option->setChecked(true);
    }
}

void SceneFrame::selectScene(int scene)
{
    Combo25->setCurrentIndex(scene);
    Combo25_Click();
}

void SceneFrame::selectValue(int field, int position)
{
    if (field < 0 || field >= SceneLayout::FieldCount) return;
    QComboBox *combo = Combo12[static_cast<size_t>(field)];
    {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(position);
    }
    Combo12_Click(field);
}

void SceneFrame::selectGroupChoice(bool groupScene)
{
    QRadioButton *option = groupScene ? Option9 : Option10;
    if (option->isChecked()) {
        // Already selected: run its operation all the same, as the installer's pick would.
        if (option == Option9)
            Option9_Click();
        else
            Option10_Click();
        return;
    }
    option->setChecked(true);
}

void SceneFrame::masterSelected()
{
    showGroupLine(true);
    if (selectedScene() >= 0) Combo25_Click();
}

void SceneFrame::slaveSelected()
{
    Label11->hide();
    Option9->hide();
    Option10->hide();
}
