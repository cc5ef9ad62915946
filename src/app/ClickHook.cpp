#include "app/ClickHook.h"

HHOOK CClickHook::s_hHook = nullptr;
HWND CClickHook::s_hTarget = nullptr;

CClickHook::CClickHook()
{
    s_hHook = nullptr;
    s_hTarget = nullptr;
}

bool CClickHook::SetTargetWindow(HWND hWnd)
{
    if (!hWnd)
        return false;
    s_hTarget = hWnd;
    return true;
}

bool CClickHook::Install()
{
    s_hHook = ::SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouseProc, nullptr, 0);
    return s_hHook != nullptr;
}

void CClickHook::Uninstall()
{
    // The handle stays stored: a second Uninstall only repeats a call that fails harmlessly.
    if (s_hHook)
        ::UnhookWindowsHookEx(s_hHook);
}

LRESULT CALLBACK CClickHook::LowLevelMouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (wParam == WM_LBUTTONDOWN)
        ::PostMessageW(s_hTarget, WM_GLOBAL_CLICK, wParam, lParam);
    return ::CallNextHookEx(s_hHook, code, wParam, lParam);
}
