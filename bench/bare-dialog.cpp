// The floors for bench/startup: the smallest Win32 dialog program, built by the bench itself;
// built with CHECK_LIBRARY_FIRST, the same program verifying the feedback library beside it
// as the tool does before it shows its window.
#include <windows.h>

#ifdef CHECK_LIBRARY_FIRST
#include "feedback/FeedbackLibraryCheck.h"
#endif

namespace {

// A dialog template in memory: the header, no menu, the default class, a title, no controls.
struct Template {
    DLGTEMPLATE dialog;
    WORD menu = 0, windowClass = 0;
    wchar_t title[6] = L"Floor";
};

INT_PTR CALLBACK Procedure(HWND hWnd, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
        EndDialog(hWnd, 0);
    return msg == WM_INITDIALOG;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
#ifdef CHECK_LIBRARY_FIRST
    // No window for a library the tool would refuse: the bench then reports the failed start.
    if (CheckLibraryAt(FeedbackLibraryPath()) != LibraryTrust::Trusted)
        return 1;
#endif
    Template t{};
    t.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER;
    t.dialog.cx = 200;
    t.dialog.cy = 120;
    return static_cast<int>(DialogBoxIndirectParamW(instance, &t.dialog, nullptr, Procedure, 0));
}
