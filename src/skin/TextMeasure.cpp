#include "skin/TextMeasure.h"

#include "framework/Wnd.h"
#include "skin/FontCopy.h"

#include <cwchar>

int MeasureTextWidth(HWND wnd, HDC hdc, const wchar_t* text)
{
    if (!wnd || !hdc)
        return -1;
    HFONT copy = CopyFont(FontOfWindow(wnd));
    HGDIOBJ previous = copy ? ::SelectObject(hdc, copy) : nullptr;
    SIZE extent{};
    if (text)
        ::GetTextExtentPoint32W(hdc, text, static_cast<int>(wcslen(text)), &extent);
    if (copy) {
        ::SelectObject(hdc, previous);
        ::DeleteObject(copy);
    }
    return extent.cx;
}

int MeasureTextWidth(CWnd* wnd, HDC hdc, const wchar_t* text)
{
    return MeasureTextWidth(wnd ? wnd->GetSafeHwnd() : nullptr, hdc, text);
}
