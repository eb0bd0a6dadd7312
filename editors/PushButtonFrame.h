#pragma once

#include "editors/EditStep.h"
#include "editors/EditorWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <optional>

struct ModuleState;
class ModuleImage;

// The push-button functions editor (Frame3 of the main window): the first and second function
// of each of the 20 push buttons of a module.
class PushButtonFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit PushButtonFrame(ModuleState &state, QWidget *parent = nullptr);

    // Rebuilds the table and the lists from the image of the current module type and shows the
    // frame; the clear-all boxes and the function groups stay as the installer left them.
    void open();
    // Shows the image again after undo or redo wrote `step`, without running a handler (nothing
    // is written).
    void follow(const EditStep &step, bool undone);
    // Push button `button` chosen as a double-click on its row chooses it, its row shown.
    void choosePushButton(int button);

Q_SIGNALS:
    // One action of the installer wrote into the image in hand (a step for the undo history).
    void edited(const EditStep &step);

private:
    EditorWidgets::EditorTable *Grid1;
    QLabel *Label3;
    QComboBox *Combo2;
    // The name of the push button, output or scene a list shows, beside it.
    EditorWidgets::EntryName *Combo2Naam;
    QGroupBox *Frame4;
    QRadioButton *Option3;
    QComboBox *Combo3;
    QRadioButton *Option4;
    QComboBox *Combo4;
    QRadioButton *Option5;
    QGroupBox *Frame5;
    QRadioButton *Option6;
    QComboBox *Combo5;
    QRadioButton *Option7;
    QComboBox *Combo6;
    QRadioButton *Option8;
    QPushButton *Command3;
    QPushButton *Command4;
    QCheckBox *Check1;
    QCheckBox *Check2;

    // One function group (first or second function): its options and lists.
    struct FunctionFields
    {
        QGroupBox *frame;
        QRadioButton *output;
        QComboBox *outputList;
        QRadioButton *scene;
        QComboBox *sceneList;
        QRadioButton *none;
        EditorWidgets::EntryName *outputName = nullptr;
        EditorWidgets::EntryName *sceneName = nullptr;
    };
    void refreshNames();

    ModuleImage *image();
    EditScope edit(const Lang::Text &name = {});
    void setCaptions();
    void refresh();
    void fillLists();
    void resetChecks();
    void clearFunctionFields(const FunctionFields &fields);
    void bindFunctionFields(const FunctionFields &fields);
    void refuseOutsideList(QComboBox *list, const QString &text);
    std::optional<int> chosenValue(const FunctionFields &fields, int outputs) const;

    void pushButtonChosen();
    void Combo2_Change(const QString &text);
    void Command3_Click();
    void Command4_Click();
    void clearAll(QCheckBox *box, bool checked, int firstSlot);
    void Grid1_DblClick(int row, int column);

    ModuleState &m_state;
    // The number of outputs of the module type the frame was last opened on: what the output
    // lists offer.
    int m_outputCount = 0;
    FunctionFields m_first;
    FunctionFields m_second;
    EditorWidgets::ProgramChange m_program;
};
