#include "installation/InstallationReport.h"
