#pragma once

#include <QGroupBox>

struct ModuleState;

// The second-function time editor (Frame6 of the main window).
class SecondTimeFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit SecondTimeFrame(ModuleState &state, QWidget *parent = nullptr);

    // Rebuilds the frame from the image of the current module type and shows it.
    void open();

private:
    ModuleState &m_state;
};
