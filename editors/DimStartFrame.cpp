#include "editors/DimStartFrame.h"

#include "protocol/ModuleState.h"

DimStartFrame::DimStartFrame(ModuleState &state, QWidget *parent) : QGroupBox(QStringLiteral("Frame12"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame12"));
    hide();
}

void DimStartFrame::open()
{
    show();
}
