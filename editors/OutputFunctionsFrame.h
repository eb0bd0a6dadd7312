#pragma once

#include "editors/EditStep.h"
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
    // Shows the image again after undo or redo wrote `step`, without running a handler (nothing
    // is written).
    void follow(const EditStep &step, bool undone);
    // Output `output` chosen in the output list as a pick would, its row shown.
    void chooseOutput(int output);

Q_SIGNALS:
    // One action of the installer wrote into the image in hand (a step for the undo history).
    void edited(const EditStep &step);

private:
    EditorWidgets::EditorTable *Grid2;
    QGroupBox *Frame8;
    QLabel *Label7;
    QComboBox *Combo8;
    QLabel *Label8;
    QComboBox *Combo9;
    QLabel *Label9;
    QComboBox *Combo10;
    // The names of the outputs the two output lists show, beside them.
    EditorWidgets::EntryName *Combo8Naam;
    EditorWidgets::EntryName *Combo10Naam;
    QComboBox *Combo11;
    QLabel *Label10;
    QPushButton *Command5;

    void refresh();
    static constexpr int NameColumn = 3;
    void clear(std::initializer_list<QComboBox *> lists);
    void Combo8_Click();
    void Combo9_Click(int code);
    void Combo10_Click();
    void typed(QComboBox *list, const QString &text);
    void Command5_Click();

    ModuleState &m_state;
    EditorWidgets::ProgramChange m_program;
};
