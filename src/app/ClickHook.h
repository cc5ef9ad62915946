// Reports every left-button press on the screen, in any program, to one window.
#pragma once

#include "res/MessageIds.h"

#include <atomic>

// The hook and its target are process-wide: every instance shares them.  The hook runs on a
// thread of its own that only posts: every mouse event on the desktop waits for the hook's
// answer, so it must never wait on the window's thread, which calls the feedback library and
// with it a server.
class CClickHook {
public:
    CClickHook();

    bool SetTargetWindow(HWND hWnd);
    // Starts the hook's thread and installs the hook there; true when it was installed.
    bool Install();
    // Removes the hook and ends its thread; nothing when none is installed.
    void Uninstall();

private:
    static DWORD WINAPI HookThread(LPVOID ready);
    static LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM wParam, LPARAM lParam);

    static std::atomic<HHOOK> s_hHook;
    static std::atomic<HWND> s_hTarget;
    static HANDLE s_hThread;
    static DWORD s_threadId;
};
