// desktopshell <process id>: makes a window of its own the desktop's shell window, as the
// shell of a Windows desktop does, and keeps it until that process has ended.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 87;
    HANDLE owner = OpenProcess(SYNCHRONIZE, FALSE, wcstoul(argv[1], nullptr, 10));
    typedef BOOL(WINAPI * SetShellWindowFn)(HWND);
    auto setShellWindow = reinterpret_cast<SetShellWindowFn>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetShellWindow"));
    HWND window = CreateWindowExW(0, L"STATIC", L"desktopshell", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, nullptr, nullptr);
    if (!owner || !setShellWindow || !window || !setShellWindow(window))
        return 1;
    while (MsgWaitForMultipleObjects(1, &owner, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    return 0;
}
