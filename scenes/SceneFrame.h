#pragma once

#include "editors/EditStep.h"

#include "scenes/SceneLayout.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <array>

struct ModuleState;
class ModuleImage;

// The scene editor (Frame9 of the main window): the installer picks one of the 20 scenes of
// the module in the selector and sets every output/channel of that scene in a value field; on a
// master module also whether the scene is a group scene.
//
// Control names: `Combo12[i]` / `Label12[i]` carry the objectName "Combo12_<i>" / "Label12_<i>"
// (i = 0..11). Every pick writes its code into the image at once; while no scene is chosen the
// value fields and the group choice are disabled and write nothing.
class SceneFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit SceneFrame(ModuleState &state, QWidget *parent = nullptr);

    // Rebuilds the frame from the image of the current module type and shows it, with no scene chosen.
    void open();
    // Shows the chosen scene's values and group choice again after undo or redo wrote them,
    // without running a handler (nothing is written).
    void follow(const EditStep &step, bool undone);

    // The module became master or slave while the editor is shown: show or hide the
    // group-scene line (and show the selected scene again on a master).
    void masterSelected();
    void slaveSelected();

    // Picks from the program: select the entry and run its click operation. A group choice is
    // run even when it is already selected, as the installer's click on it is.
    void selectScene(int scene);
    void selectValue(int field, int position);
    void selectGroupChoice(bool groupScene);

    // The chosen scene (0..19), or -1 while none is chosen or the module type has changed
    // since the editor was opened.
    int selectedScene() const;

Q_SIGNALS:
    // One action of the installer wrote into the image in hand (a step for the undo history).
    void edited(const EditStep &step);

private:
    QComboBox *Combo25;  // scene selector
    QLabel *Combo25Naam; // the chosen scene's name
    std::array<QLabel *, SceneLayout::FieldCount> Label12{};
    std::array<QComboBox *, SceneLayout::FieldCount> Combo12{}; // value fields
    QLabel *Label11;                                            // group-scene caption
    QRadioButton *Option9;                                      // group scene: yes (flag 1)
    QRadioButton *Option10;                                     // group scene: no (flag 0)

    // Handlers; each runs for the installer's pick and for a pick made by the program.
    void Combo25_Click();
    void Combo25_Change(const QString &text);
    void Combo12_Click(int field);
    void Combo12_Change(int field);
    void Option9_Click();
    void Option10_Click();
    void setGroupFlag(int flag);

    ModuleImage *image() const;
    void showNoScene();
    void setSceneControlsEnabled(bool enabled);
    void clearGroupChoice();
    void showGroupLine(bool dashedFrench);
    QString valueCaption(SceneLayout::ChannelKind kind, int position) const;

    ModuleState &m_state;
    // The module type the fields were laid out for at the last open().
    int m_type = -1;
};
