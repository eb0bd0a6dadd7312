#pragma once

#include "files/Report.h"
#include "installation/Installation.h"

// The installation report (the handover pack): the whole installation as one printed document.
namespace InstallationReport {
} // namespace InstallationReport
