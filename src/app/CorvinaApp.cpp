#include "app/CorvinaApp.h"

#include "app/CorvinaDlg.h"
#include "feedback/FeedbackLibraryCheck.h"
#include "res/resource.h"
#include "skin/PngPreload.h"

#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

CCorvinaApp theApp;

namespace {

// What the first paint of the frame and its panel shows, in the order it is needed.
const UINT kFirstPaintImages[] = {
    IDB_MAIN_BACKGROUND, IDB_MAIN_PANEL, IDB_MAIN_CLOSE_NORMAL, IDB_MAIN_MIN_NORMAL,
    IDB_REPAIR_NORMAL, IDB_MORE_TOOLS_NORMAL, IDB_CHECKBOX,
};

ULONG_PTR g_gdiplusToken = 0;
Gdiplus::GdiplusStartupInput g_gdiplusInput;

// On the preload thread: loading GDI+ (delay-loaded) there keeps it off the windows' way.
void StartGdiplus()
{
    Gdiplus::GdiplusStartup(&g_gdiplusToken, &g_gdiplusInput, nullptr);
}

// The rich edit library from the system folder by its full path: a riched20.dll planted in
// the tool's folder (often the Downloads folder) must not load into the elevated process.
// Only the agreement uses it: it loads on the preload thread once the images are decoded.
void LoadSystemRichEdit()
{
    wchar_t folder[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    std::wstring path = std::wstring(folder, length) + L"\\riched20.dll";
    ::LoadLibraryW(path.c_str());
}

}  // namespace

CCorvinaApp::CCorvinaApp() : CWinApp(nullptr)
{
    m_dwRestartManagerSupportFlags = RESTART_MANAGER_SUPPORT_RESTART;
}

BOOL CCorvinaApp::InitInstance()
{
    // Before anything can load a library by name: only the system folder is searched.
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    // The feedback library's signature check is the longest step before the panel: it runs
    // beside the window creation, and the panel's start-up checks wait for its verdict.
    StartFeedbackLibraryCheck();

    // Decoding takes a good part of the start: done beside the window creation, not after it.
    StartPngPreload(kFirstPaintImages, static_cast<int>(sizeof kFirstPaintImages / sizeof kFirstPaintImages[0]),
                    StartGdiplus, LoadSystemRichEdit);

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = 8;
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);

    CWinApp::InitInstance();

    {
        CCorvinaDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }

    EndPngPreload();
    EndFeedbackLibraryCheck();
    Gdiplus::GdiplusShutdown(g_gdiplusToken);
    return FALSE;
}
