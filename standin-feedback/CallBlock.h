// Holding a call back, so that a test can act while the tool waits on the library as it would
// on a slow server.
#pragma once

#include "StandinConfig.h"

// How long a held call waits at most for its release.
const unsigned long STANDIN_BLOCK_LIMIT_MS = 60000;

// When [block] names the function, sets the event "<name>.waiting", then waits until the event
// <name> is set or the limit has passed. Returns at once for any other function.
void WaitWhileBlocked(const StandinConfig& config, const char* function);
