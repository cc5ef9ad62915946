#include "skin/FontCopy.h"

HFONT FontOfWindow(HWND wnd)
{
    HFONT font = wnd ? reinterpret_cast<HFONT>(::SendMessageW(wnd, WM_GETFONT, 0, 0)) : nullptr;
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (!font)
        font = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
    return font;
}

HFONT CopyFont(HFONT source, LONG heightDelta)
{
    LOGFONTW logFont{};
    if (!source || !::GetObjectW(source, sizeof(logFont), &logFont))
        return nullptr;
    logFont.lfHeight -= heightDelta;
    return ::CreateFontIndirectW(&logFont);
}

void ReplaceFont(HFONT& held, HFONT font)
{
    if (!font)
        return;
    if (held)
        ::DeleteObject(held);
    held = font;
}
