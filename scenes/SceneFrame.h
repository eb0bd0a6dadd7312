#pragma once

#include <QGroupBox>

struct ModuleState;

// The scene editor (Frame9 of the main window).
class SceneFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit SceneFrame(ModuleState &state, QWidget *parent = nullptr);

    // Rebuilds the frame from the image of the current module type and shows it.
    void open();

    // The module became master or slave while the editor is shown: show or hide the
    // group-scene line (and show the selected scene again on a master).
    void masterSelected();
    void slaveSelected();

private:
    ModuleState &m_state;
};
