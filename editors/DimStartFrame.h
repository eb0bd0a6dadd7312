#pragma once

#include <QGroupBox>

struct ModuleState;

// The dim start values editor (Frame12 of the main window).
class DimStartFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit DimStartFrame(ModuleState &state, QWidget *parent = nullptr);

    // Rebuilds the frame from the image of the current module type and shows it.
    void open();

private:
    ModuleState &m_state;
};
