// What the repair worker reports: WM_CLOSE_PROGRESS, then WM_REPAIR_RESULT with one of these.
#pragma once

#include "res/MessageIds.h"

#define REPAIR_SUCCEEDED 1
#define REPAIR_FAILED 2
#define REPAIR_NOT_APPLICABLE 3
