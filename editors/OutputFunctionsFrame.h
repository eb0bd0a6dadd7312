#pragma once

#include "editors/EditorWidgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

struct ModuleState;

// The output functions editor of the relay modules (Frame7 of the main window): the function of
// each of the 12 outputs, with its time and, for some functions, the output it works with.
class OutputFunctionsFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit OutputFunctionsFrame(ModuleState &state, QWidget *parent = nullptr);

    // Rebuilds the frame from the relay image and shows it.
    void open();

private:
    EditorWidgets::EditorTable *Grid2;
    QGroupBox *Frame8;
    QLabel *Label7;
    QComboBox *Combo8;
    QLabel *Label8;
    QComboBox *Combo9;
    QLabel *Label9;
    QComboBox *Combo10;
    QComboBox *Combo11;
    QLabel *Label10;
    QPushButton *Command5;

    void refresh();
    void clear(std::initializer_list<QComboBox *> lists);
    void Combo8_Click();
    void Combo9_Click(int code);
    void Combo10_Click();
    void typed(QComboBox *list, const QString &text);
    void Command5_Click();

    ModuleState &m_state;
    EditorWidgets::ProgramChange m_program;
};
