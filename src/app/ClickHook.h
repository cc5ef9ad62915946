// Reports every left-button press on the screen, in any program, to one window.
#pragma once

#include "res/MessageIds.h"

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
