// Reports every left-button press on the screen, in any program, to one window.
#pragma once

#include "res/MessageIds.h"

#include <windowsx.h>

#include <atomic>

// WM_GLOBAL_CLICK carries the press's own point, in screen coordinates, in its lParam: by the
// time the message arrives the pointer may be elsewhere.
inline LPARAM GlobalClickParam(POINT screen)
{
    return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
}
// Screens left of or above the main one have negative coordinates.
inline POINT GlobalClickPoint(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

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
    // Forgets the target, so that no press reaches a window that may be gone, then removes the
    // hook and ends its thread.
    void Uninstall();

private:
    static DWORD WINAPI HookThread(LPVOID ready);
    static LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM wParam, LPARAM lParam);

    static std::atomic<HHOOK> s_hHook;
    static std::atomic<HWND> s_hTarget;
    static HANDLE s_hThread;
    static DWORD s_threadId;
};
