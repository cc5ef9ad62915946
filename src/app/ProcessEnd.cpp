#include "app/ProcessEnd.h"

#include "feedback/FeedbackLibraryCheck.h"

#include <cstdlib>

void EndProcessWithoutCleanup()
{
    // A start-up check that failed before the library's came: its thread must not be cut off
    // inside the system's signature code, whose own end could then wait on it forever.
    EndFeedbackLibraryCheck();
    std::exit(0);
}
