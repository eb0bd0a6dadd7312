#include "editors/PushButtonFrame.h"

#include "protocol/ModuleState.h"

PushButtonFrame::PushButtonFrame(ModuleState &state, QWidget *parent) : QGroupBox(QStringLiteral("Frame3"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame3"));
    hide();
}

void PushButtonFrame::open()
{
    show();
}
