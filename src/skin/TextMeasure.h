// Widths of texts in a window's font, for sizing controls to their texts.
#pragma once

#include <windows.h>

class CWnd;

// Width (logical units of hdc) of text in the window's font, or in the stock GUI font when
// the window has none; -1 when the window or the context is null.
int MeasureTextWidth(HWND wnd, HDC hdc, const wchar_t* text);
int MeasureTextWidth(CWnd* wnd, HDC hdc, const wchar_t* text);
