// The floor for bench/startup: the smallest Win32 dialog program, built by the bench itself.
#include <windows.h>

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
    Template t{};
    t.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_CENTER;
    t.dialog.cx = 200;
    t.dialog.cy = 120;
    return static_cast<int>(DialogBoxIndirectParamW(instance, &t.dialog, nullptr, Procedure, 0));
}
