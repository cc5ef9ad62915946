// Keeps a skinned pair's content window directly above its background window.
//
// An owned popup should always stay above its owner, but under Wine a raise of the owner
// (showing the modal dialog, activation) can leave the layered background over the content
// window, which then neither shows its controls nor gets their clicks.  The final order is
// only settled after the background's WM_WINDOWPOSCHANGED, so the background posts itself
// WM_RAISE_CONTENT from there and lifts the content window when that arrives.
#pragma once

#include <windows.h>

#define WM_RAISE_CONTENT (WM_APP + 0x21)

// From the background's WM_WINDOWPOSCHANGED: asks for a look at the order once it is settled.
inline void RequestContentAbove(HWND background, const WINDOWPOS* change)
{
    if (change && !(change->flags & SWP_NOZORDER))
        ::PostMessageW(background, WM_RAISE_CONTENT, 0, 0);
}

// From the background's WM_RAISE_CONTENT.
inline void KeepContentAbove(HWND background, HWND content)
{
    if (!content || !::IsWindow(content) || ::GetWindow(content, GW_HWNDNEXT) == background)
        return;
    HWND above = ::GetWindow(background, GW_HWNDPREV);
    if (above == content)
        return;
    ::SetWindowPos(content, above ? above : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}
