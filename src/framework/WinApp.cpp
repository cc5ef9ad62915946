#include "framework/WinApp.h"

CWinApp* CWinApp::s_current = nullptr;

CWinApp::CWinApp(const wchar_t*) : m_hInstance(::GetModuleHandleW(nullptr))
{
    s_current = this;
}

CWinApp::~CWinApp()
{
    if (s_current == this)
        s_current = nullptr;
}

BOOL CWinApp::InitInstance()
{
    if (m_dwRestartManagerSupportFlags & RESTART_MANAGER_SUPPORT_RESTART)
        ::RegisterApplicationRestart(L"", 0);
    return TRUE;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!CWnd::WalkPreTranslateTree(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
