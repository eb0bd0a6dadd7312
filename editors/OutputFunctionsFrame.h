#pragma once

#include <QGroupBox>

struct ModuleState;

// The output functions editor of the relay modules (Frame7 of the main window).
class OutputFunctionsFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit OutputFunctionsFrame(ModuleState &state, QWidget *parent = nullptr);

    // Rebuilds the frame from the image of the current module type and shows it.
    void open();

private:
    ModuleState &m_state;
};
