#pragma once

#include "editors/EditStep.h"
#include "editors/EditorWidgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

struct ModuleState;

// The second-function time editor (Frame6 of the main window): how long a push button must be
// held to give its second function, the same for all push buttons of the module.
class SecondTimeFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit SecondTimeFrame(ModuleState &state, QWidget *parent = nullptr);

    // Rebuilds the frame from the image of the current module type and shows it.
    void open();
    // Shows the image again after undo or redo wrote `step`, without running a handler (nothing
    // is written).
    void follow(const EditStep &step, bool undone);

Q_SIGNALS:
    // One action of the installer wrote into the image in hand (a step for the undo history).
    void edited(const EditStep &step);

private:
    QLabel *Label6;
    QComboBox *Combo7;
    QLabel *Label4;

    void Combo7_Click(int index);
    void Combo7_Change(const QString &text);
    void clearField();

    ModuleState &m_state;
    EditorWidgets::ProgramChange m_program;
};
