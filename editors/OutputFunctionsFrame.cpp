#include "editors/OutputFunctionsFrame.h"

#include "protocol/ModuleState.h"

OutputFunctionsFrame::OutputFunctionsFrame(ModuleState &state, QWidget *parent) : QGroupBox(QStringLiteral("Frame7"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame7"));
    hide();
}

void OutputFunctionsFrame::open()
{
    show();
}
