#pragma once

#include <QGroupBox>

struct ModuleState;

// The diagnostics frame (Frame10 of the main window).
class DiagnosticsFrame : public QGroupBox
{
    Q_OBJECT
public:
    explicit DiagnosticsFrame(ModuleState &state, QWidget *parent = nullptr);

    // Rebuilds the frame from the image of the current module type and shows it.
    void open();

private:
    ModuleState &m_state;
};
