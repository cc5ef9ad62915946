#include "app/ClickHook.h"

namespace {

// The hook's thread does nothing that can block, so it ends as soon as it reads its quit
// message; the bound only keeps a close from hanging should the system not deliver it.
const DWORD kThreadEndWaitMs = 10000;

}  // namespace

std::atomic<HHOOK> CClickHook::s_hHook{nullptr};
std::atomic<HWND> CClickHook::s_hTarget{nullptr};
HANDLE CClickHook::s_hThread = nullptr;
DWORD CClickHook::s_threadId = 0;

CClickHook::CClickHook()
{
    // A hook already running belongs to the instance that installed it.
    if (s_hThread)
        return;
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
    if (s_hThread)
        return true;
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ready)
        return false;
    DWORD threadId = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, HookThread, ready, 0, &threadId);
    if (!thread) {
        ::CloseHandle(ready);
        return false;
    }
    // The thread sets the event once the hook is in place or has failed; a failed one ends.
    HANDLE waits[] = {ready, thread};
    ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    ::CloseHandle(ready);
    if (!s_hHook) {
        ::WaitForSingleObject(thread, kThreadEndWaitMs);
        ::CloseHandle(thread);
        return false;
    }
    s_hThread = thread;
    s_threadId = threadId;
    return true;
}

void CClickHook::Uninstall()
{
    s_hTarget = nullptr;
    if (!s_hThread)
        return;
    ::PostThreadMessageW(s_threadId, WM_QUIT, 0, 0);
    ::WaitForSingleObject(s_hThread, kThreadEndWaitMs);
    ::CloseHandle(s_hThread);
    s_hThread = nullptr;
    s_threadId = 0;
}

DWORD WINAPI CClickHook::HookThread(LPVOID ready)
{
    // The thread's queue exists before Install returns, so Uninstall's quit message is kept.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    HHOOK hook = ::SetWindowsHookExW(WH_MOUSE_LL, LowLevelMouseProc, nullptr, 0);
    s_hHook = hook;
    ::SetEvent(static_cast<HANDLE>(ready));
    if (!hook)
        return 1;
    // The system calls the hook while this loop waits for messages.
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    ::UnhookWindowsHookEx(hook);
    s_hHook = nullptr;
    return 0;
}

LRESULT CALLBACK CClickHook::LowLevelMouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (wParam == WM_LBUTTONDOWN && code == HC_ACTION) {
        const HWND target = s_hTarget;
        if (target) {
            const auto* press = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
            ::PostMessageW(target, WM_GLOBAL_CLICK, wParam, GlobalClickParam(press->pt));
        }
    }
    return ::CallNextHookEx(s_hHook, code, wParam, lParam);
}
