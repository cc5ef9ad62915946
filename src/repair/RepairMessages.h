#pragma once

// Sent by the repair worker to the panel, and by the panel on to the progress prompt.
#define WM_CLOSE_PROGRESS 0x5F5
// Sent by the repair worker to the panel; wParam is one of the results below.
#define WM_REPAIR_RESULT 0x5F6

#define REPAIR_SUCCEEDED 1
#define REPAIR_FAILED 2
#define REPAIR_NOT_APPLICABLE 3
