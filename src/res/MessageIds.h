// The program's own window messages and timer ids, in one place so that none collide.
// Timer ids only need to differ between timers of the same window; they are kept apart anyway.
#pragma once

#include <windows.h>

// Sent by the repair worker to the panel, and by the panel on to the progress prompt.
constexpr UINT WM_CLOSE_PROGRESS = 0x5F5;
// Sent by the repair worker to the panel; wParam is the result code.
constexpr UINT WM_REPAIR_RESULT = 0x5F6;
// Sent by a prompt's content window to its background; wParam 1 is OK, any other value cancel.
constexpr UINT WM_PROMPT_RESULT = 0x615;
// Posted by the click hook on every left-button press; wParam is WM_LBUTTONDOWN, lParam the
// press's screen point (GlobalClickPoint in app/ClickHook.h).
constexpr UINT WM_GLOBAL_CLICK = 0x7E8;
// Posted by the scroll-bar skinning to its frame; wParam and lParam carry style bits.
constexpr UINT WM_SKIN_LAYOUT = WM_USER + 100;

// The panel: the agreement link's hover colour, and the one-shot start-up check.
constexpr UINT_PTR TIMER_LINK_HOVER = 33;
constexpr UINT_PTR TIMER_STARTUP_CHECK = 38;
// The progress prompt's waiting dots.
constexpr UINT_PTR TIMER_DOT_ANIMATION = 36;
// A skinned background puts its content window back above itself.
constexpr UINT_PTR TIMER_RAISE_CONTENT = 0x5A1;
// The skinned scroll bar's arrow repeat: the first delay, then the repeats.
constexpr UINT_PTR TIMER_SCROLL_DELAY = 200;
constexpr UINT_PTR TIMER_SCROLL_REPEAT = 100;
// The scroll-bar frame's check that its bars still match the control.
constexpr UINT_PTR TIMER_SCROLL_SYNC = 100;
