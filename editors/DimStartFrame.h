#pragma once

#include "editors/EditStep.h"
#include "editors/EditorWidgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <array>

struct ModuleState;

// The dim start values editor (Frame12 of the main window): the level each of the four dim
// channels of a dim or Velano module starts at.
class DimStartFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit DimStartFrame(ModuleState &state, QWidget *parent = nullptr);

    // Rebuilds the frame from the image of the current module type and shows it.
    void open();
    // Shows the image again after undo or redo wrote `step`, without running a handler (nothing
    // is written).
    void follow(const EditStep &step, bool undone);
    // The start value field of channel `channel` gets the focus.
    void chooseChannel(int channel);

Q_SIGNALS:
    // One action of the installer wrote into the image in hand (a step for the undo history).
    void edited(const EditStep &step);

private:
    QLabel *Label26;
    QComboBox *Combo24;
    QLabel *Label27;
    QComboBox *Combo26;
    QLabel *Label28;
    QComboBox *Combo27;
    QLabel *Label29;
    QComboBox *Combo28;

    void channelPicked(int channel, int index);
    void channelTyped(int channel, const QString &text);
    void showStored(int channel);

    ModuleState &m_state;
    std::array<QLabel *, 4> m_labels;
    std::array<QComboBox *, 4> m_lists;
    EditorWidgets::ProgramChange m_program;
};
