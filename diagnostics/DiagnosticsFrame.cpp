#include "diagnostics/DiagnosticsFrame.h"

#include "protocol/ModuleState.h"

DiagnosticsFrame::DiagnosticsFrame(ModuleState &state, QWidget *parent) : QGroupBox(QStringLiteral("Frame10"), parent), m_state(state)
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
