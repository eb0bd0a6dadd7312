#include "editors/SecondTimeFrame.h"

#include "protocol/ModuleState.h"

SecondTimeFrame::SecondTimeFrame(ModuleState &state, QWidget *parent) : QGroupBox(QStringLiteral("Frame6"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame6"));
    hide();
}

void SecondTimeFrame::open()
{
    show();
}
