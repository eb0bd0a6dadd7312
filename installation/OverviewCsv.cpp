#include "installation/OverviewCsv.h"
