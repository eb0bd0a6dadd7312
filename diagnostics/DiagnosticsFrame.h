#pragma once

#include <QGroupBox>

struct ModuleState;
class Conversation;

// The diagnostics frame (Frame10 of the main window).
class DiagnosticsFrame : public QGroupBox
{
    Q_OBJECT
public:
    DiagnosticsFrame(ModuleState &state, Conversation &conversation, QWidget *parent = nullptr);

    // Rebuilds the frame from the image of the current module type and shows it.
    void open();

    // Ends of conversations that concern the tests' own controls.
    void wrongModuleEnd();        // the module had another type: tests back to their start state
    void lineStatusEnd();         // "T0006" went out after a line-status scan
    void conversationAbandoned(); // the installer gave up, or the line failed

Q_SIGNALS:
    // A test is starting a conversation: the main window locks what could start another.
    void testStarting();

private:
    ModuleState &m_state;
    Conversation &m_conversation;
};
