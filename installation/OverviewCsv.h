#pragma once

#include "installation/Installation.h"

// The overview's tables as CSV for a spreadsheet, and names read back from such a file.
namespace OverviewCsv {
} // namespace OverviewCsv
