#pragma once

#include <QGroupBox>

struct ModuleState;

// The push-button functions editor (Frame3 of the main window).
class PushButtonFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit PushButtonFrame(ModuleState &state, QWidget *parent = nullptr);

    // Rebuilds the frame from the image of the current module type and shows it.
    void open();

private:
    ModuleState &m_state;
};
