// The application object: one global instance, whose InitInstance runs the program.
#pragma once

#include "framework/Wnd.h"

// Restart-manager kinds an application can ask for.
constexpr DWORD RESTART_MANAGER_SUPPORT_RESTART = 0x01;

class CWinApp {
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The base registers for restart when asked to; returning FALSE ends the program.
    virtual BOOL InitInstance();
    // Message loop for applications whose InitInstance returns TRUE.
    virtual int Run();

    static CWinApp* Get() { return s_current; }

    HINSTANCE m_hInstance;
    CWnd* m_pMainWnd = nullptr;
    DWORD m_dwRestartManagerSupportFlags = 0;

private:
    static CWinApp* s_current;
};

// The window that owns dialogs run without a parent (the application's main window).
inline HWND GetMainWindowHandle()
{
    CWinApp* app = CWinApp::Get();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}
