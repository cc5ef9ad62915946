// Reports every left-button press on the screen, in any program, to one window.
#pragma once

#include <windows.h>

// Posted to the target window on every left-button press; its parameters point into the
// hook's record, which is gone by the time the message arrives, so they must not be read.
#define WM_GLOBAL_CLICK 0x7E8

// The hook and its target are process-wide: every instance shares them.
class CClickHook {
public:
    CClickHook();

    bool SetTargetWindow(HWND hWnd);
    bool Install();
    void Uninstall();

private:
    static LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM wParam, LPARAM lParam);

    static HHOOK s_hHook;
    static HWND s_hTarget;
};
