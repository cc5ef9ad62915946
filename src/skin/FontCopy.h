// Own copies of a window's font, for controls that draw their text themselves.
#pragma once

#include <windows.h>

// The window's font (WM_GETFONT), else the stock DEFAULT_GUI_FONT, else ANSI_VAR_FONT.
HFONT FontOfWindow(HWND wnd);

// A new font made from source's LOGFONTW with heightDelta subtracted from lfHeight;
// the caller owns it.  Null when source is null or the font cannot be made.
HFONT CopyFont(HFONT source, LONG heightDelta = 0);

// Puts font in place of the font held (deleting that one); keeps the held font when font is null.
void ReplaceFont(HFONT& held, HFONT font);
