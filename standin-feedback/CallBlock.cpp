#include "CallBlock.h"

#include <windows.h>

#include <cstring>

void WaitWhileBlocked(const StandinConfig& config, const char* function)
{
    auto blocked = config.blockUntil.find(std::wstring(function, function + strlen(function)));
    if (blocked == config.blockUntil.end())
        return;
    // Both events are made here when the test has not made them yet, so neither side has to
    // come first. Manual reset: one release lets every held call through.
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, blocked->second.c_str());
    HANDLE waiting = CreateEventW(nullptr, TRUE, FALSE, (blocked->second + L".waiting").c_str());
    if (waiting)
    {
        SetEvent(waiting);
        CloseHandle(waiting);
    }
    if (release)
    {
        WaitForSingleObject(release, STANDIN_BLOCK_LIMIT_MS);
        CloseHandle(release);
    }
}
