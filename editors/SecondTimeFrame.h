#pragma once

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
