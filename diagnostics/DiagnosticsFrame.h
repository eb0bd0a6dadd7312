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

    // Ends of conversations that concern the tests' own controls.
    void wrongModuleEnd();        // the module had another type: tests back to their start state
    void lineStatusEnd();         // "T0006" went out after a line-status scan
    void conversationAbandoned(); // the installer gave up, or the line failed

private:
    ModuleState &m_state;
};
