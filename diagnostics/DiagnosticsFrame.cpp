#include "diagnostics/DiagnosticsFrame.h"

#include "protocol/ModuleState.h"

DiagnosticsFrame::DiagnosticsFrame(ModuleState &state, Conversation &conversation, QWidget *parent)
    : QGroupBox(QStringLiteral("Frame10"), parent), m_state(state), m_conversation(conversation)
{
    setObjectName(QStringLiteral("Frame10"));
    hide();
}

void DiagnosticsFrame::open()
{
    show();
}

void DiagnosticsFrame::wrongModuleEnd() {}

void DiagnosticsFrame::lineStatusEnd() {}

void DiagnosticsFrame::conversationAbandoned() {}
