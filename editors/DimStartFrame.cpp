#include "editors/DimStartFrame.h"

#include "common/Controls.h"
#include "common/WidgetTexts.h"
#include "editors/EditorRules.h"
#include "editors/SlotWords.h"
#include "protocol/ModuleState.h"

#include <QGridLayout>

using namespace EditorRules;

DimStartFrame::DimStartFrame(ModuleState &state, QWidget *parent)
    : QGroupBox(QStringLiteral("Frame12"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame12"));
    Label26 = Controls::label("Label26", this);
    Combo24 = EditorWidgets::combo("Combo24", this);
    Label27 = Controls::label("Label27", this);
    Combo26 = EditorWidgets::combo("Combo26", this);
    Label28 = Controls::label("Label28", this);
    Combo27 = EditorWidgets::combo("Combo27", this);
    Label29 = Controls::label("Label29", this);
    Combo28 = EditorWidgets::combo("Combo28", this);
    m_labels = {Label26, Label27, Label28, Label29};
    m_lists = {Combo24, Combo26, Combo27, Combo28};

    auto *layout = new QGridLayout(this);
    for (int channel = 1; channel <= DimChannelCount; ++channel) {
        QLabel *label = m_labels[static_cast<size_t>(channel - 1)];
        QComboBox *list = m_lists[static_cast<size_t>(channel - 1)];
        label->setBuddy(list);
        layout->addWidget(label, channel - 1, 0);
        layout->addWidget(list, channel - 1, 1);
        connect(list, &QComboBox::activated, this,
                [this, channel](int index) { channelPicked(channel, index); });
        connect(list, &QComboBox::editTextChanged, this,
                [this, channel](const QString &text) { channelTyped(channel, text); });
    }
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(DimChannelCount, 1);
    hide();
}

void DimStartFrame::open()
{
    const int lang = m_state.Language;
    const Lang::Text caption = SlotWords::captionText(SlotWords::Part::DimStartValues);
    EditorWidgets::setCaption(this, lang, caption.dutch, caption.french);
    show();
    // A channel that has a name reads with it: "Kanaal 2 – Keuken:".
    const SlotWords words(m_state.ModuleType, lang, &m_state.Names);
    for (int channel = 1; channel <= DimChannelCount; ++channel) {
        if (const QString name = words.dimChannel(channel); !name.isEmpty())
            m_labels[static_cast<size_t>(channel - 1)]->setText(Lang::literalAmpersands(name) + u':');
        {
            const EditorWidgets::ProgramChange::Scope program(m_program);
            EditorWidgets::fill(m_lists[static_cast<size_t>(channel - 1)], dimStartEntries());
        }
        showStored(channel);
    }
}

void DimStartFrame::channelPicked(int channel, int index)
{
    if (!ModuleTypes::hasDimChannels(m_state.ModuleType)) {
        // A module without dim channels stores nothing: the field does not keep the pick.
        showStored(channel);
        return;
    }
    ModuleImage *image = m_state.currentImage();
    if (image && index >= 0 && index < MaxDimStart) {
        const EditScope step(m_state, [this](const EditStep &s) { Q_EMIT edited(s); });
        image->set(dimStartSlot(channel), index + 1);
    }
}

void DimStartFrame::follow(const EditStep &, bool)
{
    for (int channel = 1; channel <= DimChannelCount; ++channel) {
        const QSignalBlocker block(m_lists[static_cast<size_t>(channel - 1)]);
        showStored(channel);
    }
}

void DimStartFrame::channelTyped(int channel, const QString &text)
{
    if (m_program.active() ||
        EditorWidgets::showsCurrentEntry(m_lists[static_cast<size_t>(channel - 1)], text))
        return;
    showStored(channel);
}

// The stored value of a channel; empty on a module without dim channels.
void DimStartFrame::showStored(int channel)
{
    const ModuleImage *image =
        ModuleTypes::hasDimChannels(m_state.ModuleType) ? m_state.currentImage() : nullptr;
    const EditorWidgets::ProgramChange::Scope program(m_program);
    EditorWidgets::setText(m_lists[static_cast<size_t>(channel - 1)],
                           image ? dimStartText(image->value(dimStartSlot(channel))) : QString());
}

void DimStartFrame::chooseChannel(int channel)
{
    if (channel >= 1 && channel <= DimChannelCount) m_lists[static_cast<size_t>(channel - 1)]->setFocus();
}
