#include "editors/SecondTimeFrame.h"

#include "common/Controls.h"
#include "common/WidgetTexts.h"
#include "editors/EditorRules.h"
#include "editors/SlotWords.h"
#include "protocol/ModuleState.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace EditorRules;

SecondTimeFrame::SecondTimeFrame(ModuleState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Frame6"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame6"));
    Label6 = Controls::label("Label6", this);
    Label6->setWordWrap(true);
    Combo7 = EditorWidgets::combo("Combo7", this);
    Label4 = Controls::label("Label4", this);
    Label4->setBuddy(Combo7);

    auto *row = new QHBoxLayout;
    row->addWidget(Combo7);
    row->addWidget(Label4);
    row->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label6);
    layout->addLayout(row);
    layout->addStretch(1);

    connect(Combo7, &QComboBox::activated, this, &SecondTimeFrame::Combo7_Click);
    connect(Combo7, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (!m_program.active()) Combo7_Change(text);
    });
    hide();
}

void SecondTimeFrame::open()
{
    const int lang = m_state.Language;
    const Lang::Text caption = SlotWords::captionText(SlotWords::Part::SecondFunctionTime);
    EditorWidgets::setCaption(this, lang, caption.dutch, caption.french);
    show();
    Lang::setText(
        Label6, lang,
        QStringLiteral("De 'tijd' dat een drukknop moet worden ingedrukt om de tweede functie te activeren "
                       "(is alleen van belang als de drukknop is voorzien van deze tweede functie). Deze "
                       "ingestelde tijd heeft betrekking op alle drukknoppen aangesloten op deze module."),
        QStringLiteral("Durée de pression sur le bouton poussoir afin d'activer la 2ème fonction (si "
                       "celle-ci est installée). Cette durée sera appliquée à tous les boutons poussoir "
                       "connectés à ce module."));
    Lang::setText(Label4, lang, QStringLiteral("Seconden"), QStringLiteral("Secondes"));
    Combo7->setAccessibleDescription(Label6->text());

    const ModuleImage *image = m_state.currentImage();
    const QString text =
        image ? halfSecondsText(image->value(ModuleTypes::SecondFunctionTimeSlot)) : QString();
    {
        const EditorWidgets::ProgramChange::Scope program(m_program);
        EditorWidgets::fill(Combo7, secondTimeEntries());
        EditorWidgets::setText(Combo7, text);
    }
    // The stored time passes the same check as a typed one: a time outside the list is replaced.
    Combo7_Change(text);
}

void SecondTimeFrame::follow(const EditStep &, bool)
{
    const ModuleImage *image = m_state.currentImage();
    const EditorWidgets::ProgramChange::Scope program(m_program);
    const QSignalBlocker block(Combo7);
    EditorWidgets::setText(Combo7, image ? halfSecondsText(image->value(ModuleTypes::SecondFunctionTimeSlot))
                                         : QString());
}

void SecondTimeFrame::Combo7_Click(int index)
{
    ModuleImage *image = m_state.currentImage();
    if (!image) {
        clearField();
        return;
    }
    if (const auto halfSeconds = secondTimeValue(Combo7->itemText(index))) {
        const EditScope step(m_state, [this](const EditStep &s) { Q_EMIT edited(s); });
        image->set(ModuleTypes::SecondFunctionTimeSlot, *halfSeconds);
    }
}

// A time of the list is stored as soon as it stands in the field, typed or picked, so the field
// never shows a time the module does not get. Any other text is removed and the module gets the
// time of 2,5 seconds.
void SecondTimeFrame::Combo7_Change(const QString &text)
{
    ModuleImage *image = m_state.currentImage();
    const std::optional<int> halfSeconds = secondTimeValue(text);
    if (!halfSeconds || !image) clearField();
    if (!image) return;
    const EditScope step(m_state, [this](const EditStep &s) { Q_EMIT edited(s); });
    image->set(ModuleTypes::SecondFunctionTimeSlot, halfSeconds.value_or(SecondFunctionTimeDefault));
}

void SecondTimeFrame::clearField()
{
    const EditorWidgets::ProgramChange::Scope program(m_program);
    EditorWidgets::setText(Combo7, QString());
}
