#pragma once

#include <string>
#include <vector>

// What Wine's trace of one run (WINEDEBUG=+tid,+loaddll,+relay, relaying the two redirection
// switches and CreateProcessW) says about the time each thread had the redirection off: from a
// switch-off that succeeded to that thread's switch-back. On 64-bit Windows a library cannot be
// loaded in that time, and nothing but the start of a child belongs there.
struct CRedirectionTraceVerdict {
    size_t switchesOff = 0;      // switch-offs that succeeded
    size_t startsWhileOff = 0;   // CreateProcessW calls while off
    // The offending trace lines: a library loaded or any other relayed call while off, and the
    // switch-off of a thread that never switched back.
    std::vector<std::string> faults;
};

CRedirectionTraceVerdict JudgeRedirectionTrace(const std::string& trace);
