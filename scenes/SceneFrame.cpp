#include "scenes/SceneFrame.h"

#include "protocol/ModuleState.h"

SceneFrame::SceneFrame(ModuleState &state, QWidget *parent) : QGroupBox(QStringLiteral("Frame9"), parent), m_state(state)
{
    setObjectName(QStringLiteral("Frame9"));
    hide();
}

void SceneFrame::open()
{
    show();
}

void SceneFrame::masterSelected() {}

void SceneFrame::slaveSelected() {}
