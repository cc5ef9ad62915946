#include "skinscroll/SkinScrollWnd.h"

namespace {

constexpr UINT kLimiterId = 200;
constexpr UINT kHorizontalBarId = 100;
constexpr UINT kVerticalBarId = 101;
constexpr DWORD kFrameBaseStyle = WS_CHILD | 0x100;

RECT WindowRectInParent(HWND hWnd)
{
    RECT r;
    ::GetWindowRect(hWnd, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool SameScrollState(const SCROLLINFO& a, const SCROLLINFO& b)
{
    return a.nMax == b.nMax && a.nMin == b.nMin && a.nPos == b.nPos && a.nPage == b.nPage;
}

// Disabled as a whole, or both of its arrows (EnableScrollBar with ESB_DISABLE_BOTH).
bool OwnBarDisabled(HWND control, int bar)
{
    SCROLLBARINFO info{sizeof(info)};
    if (!::GetScrollBarInfo(control, bar == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL, &info))
        return false;
    const DWORD off = STATE_SYSTEM_UNAVAILABLE;
    return (info.rgstate[0] & off) || ((info.rgstate[1] & off) && (info.rgstate[5] & off));
}

bool HasStyle(HWND hWnd, DWORD bits)
{
    return (static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE)) & bits) != 0;
}

}  // namespace

int CSkinScrollWnd::s_nLive = 0;

CSkinScrollWnd* CSkinScrollWnd::FromControl(HWND control)
{
    if (!control || !::IsWindow(control))
        return nullptr;
    return reinterpret_cast<CSkinScrollWnd*>(::GetWindowLongPtrW(control, GWLP_USERDATA));
}

HWND CSkinScrollWnd::Control() const
{
    return m_limiterWnd.m_hWnd ? ::GetWindow(m_limiterWnd.m_hWnd, GW_CHILD) : nullptr;
}

BOOL CSkinScrollWnd::Attach(HWND control, HBITMAP skinBitmap)
{
    if (m_hWnd || !control || !::IsWindow(control) || ::GetWindowLongPtrW(control, GWLP_USERDATA))
        return FALSE;
    HWND parent = ::GetParent(control);

    m_hSkinBitmap = skinBitmap;
    BITMAP info{};
    const int cell = skinBitmap && ::GetObjectW(skinBitmap, sizeof(info), &info) ? info.bmWidth / 9 : 0;
    m_nBarThickness = ScaleBarLength(cell, m_fScale);

    const RECT outer = WindowRectInParent(control);
    RECT inner{0, 0, outer.right - outer.left, outer.bottom - outer.top};

    const UINT id = static_cast<UINT>(::GetDlgCtrlID(control));
    DWORD style = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(control, GWL_EXSTYLE));
    DWORD frameStyle = kFrameBaseStyle | (style & WS_VISIBLE);
    const DWORD frameExStyle = (exStyle & WS_EX_TOOLWINDOW) ? (WS_EX_TOOLWINDOW | WS_EX_TOPMOST) : 0;
    if (style & WS_BORDER) {
        frameStyle |= WS_BORDER;
        style &= ~WS_BORDER;
        const int border = 2 * ::GetSystemMetrics(SM_CXBORDER);
        inner.right -= border;
        inner.bottom -= border;
    }
    if (exStyle & WS_EX_CLIENTEDGE) {
        exStyle &= ~WS_EX_CLIENTEDGE;
        const int edge = ScaleBarLength(2 * ::GetSystemMetrics(SM_CXEDGE), m_fScale);
        inner.right -= edge;
        inner.bottom -= edge;
    }

    const wchar_t* frameClass = RegisterPlainClass(0, nullptr, nullptr, nullptr);
    if (!frameClass ||
        !CreateEx(frameExStyle, frameClass, L"SkinScrollBarFrame", frameStyle, outer, parent, id))
        return FALSE;
    const RECT empty{0, 0, 0, 0};
    m_barHorizontal.m_fScale = m_fScale;
    m_barHorizontal.m_nThumbMargin = m_nThumbMargin;
    m_barVertical.m_fScale = m_fScale;
    m_barVertical.m_nThumbMargin = m_nThumbMargin;
    if (!m_limiterWnd.CreateEx(0, DefaultChildClass(), L"LIMIT", WS_CHILD | WS_VISIBLE, empty, m_hWnd,
                               kLimiterId) ||
        !m_barHorizontal.Create(WS_CHILD, empty, m_hWnd, kHorizontalBarId) ||
        !m_barVertical.Create(WS_CHILD | SBS_VERT, empty, m_hWnd, kVerticalBarId)) {
        DestroyWindow();
        return FALSE;
    }
    m_barHorizontal.SetSkinBitmap(skinBitmap);
    m_barVertical.SetSkinBitmap(skinBitmap);

    ::SetWindowLongW(control, GWL_STYLE, static_cast<LONG>(style));
    ::SetWindowLongW(control, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    ::SetParent(control, m_limiterWnd.m_hWnd);
    ::SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_prevWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookProc)));
    m_bDeleteOnDestroy = TRUE;

    // The frame change makes the control lay out its non-client area (and so the bars) anew.
    inner.right += ScaleBarLength(4, m_fScale);
    ::SetWindowPos(control, nullptr, inner.left, inner.top, inner.right - inner.left,
                   inner.bottom - inner.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::InvalidateRect(control, nullptr, TRUE);
    SetTimer(TIMER_SCROLL_SYNC, 500);
    return TRUE;
}

CSkinScrollWnd* AttachSkinScrollBars(HWND control, HBITMAP skinBitmap, float scale, int thumbMargin)
{
    auto* frame = new CSkinScrollWnd;
    frame->m_fScale = scale;
    frame->m_nThumbMargin = thumbMargin;
    if (!frame->Attach(control, skinBitmap)) {
        delete frame;
        return nullptr;
    }
    return frame;
}

void CSkinScrollWnd::Unhook(HWND control)
{
    ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_prevWndProc));
    ::SetWindowLongPtrW(control, GWLP_USERDATA, 0);
}

void CSkinScrollWnd::Detach(HWND control)
{
    CSkinScrollWnd* frame = FromControl(control);
    if (!frame)
        return;
    HWND frameWnd = frame->m_hWnd;
    HWND parent = ::GetParent(frameWnd);
    const RECT r = WindowRectInParent(frameWnd);
    frame->Unhook(control);
    ::SetParent(control, parent);
    ::MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    ::DestroyWindow(frameWnd);  // the frame deletes itself after its last message
}

LRESULT CALLBACK CSkinScrollWnd::HookProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CSkinScrollWnd* frame = FromControl(hWnd);
    if (!frame)
        return ::DefWindowProcW(hWnd, msg, wParam, lParam);
    WNDPROC previous = frame->m_prevWndProc;
    if (msg == WM_DESTROY) {
        Detach(hWnd);
        return ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
    }

    LRESULT result = ::CallWindowProcW(previous, hWnd, msg, wParam, lParam);
    frame = FromControl(hWnd);
    if (!frame || frame->m_bBusy)
        return result;
    switch (msg) {
    case WM_ERASEBKGND: {
        if (HasStyle(hWnd, WS_VSCROLL) && !frame->m_barVertical.IsThumbDragging())
            frame->SyncBar(hWnd, SB_VERT, frame->m_barVertical);
        if (HasStyle(hWnd, WS_HSCROLL) && !frame->m_barHorizontal.IsThumbDragging())
            frame->SyncBar(hWnd, SB_HORZ, frame->m_barHorizontal);
        break;
    }
    case WM_NCCALCSIZE:
        if (wParam)
            frame->OnControlNcCalcSize(hWnd, reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
        break;
    default:
        break;
    }
    return result;
}

void CSkinScrollWnd::SyncBar(HWND control, int bar, CSkinScrollBar& skinBar)
{
    SCROLLINFO state{sizeof(state), SIF_ALL};
    if (!::GetScrollInfo(control, bar, &state))
        return;
    SCROLLINFO shown{sizeof(shown), SIF_ALL};
    ::GetScrollInfo(skinBar.m_hWnd, SB_CTL, &shown);
    if (!SameScrollState(state, shown))
        ::SetScrollInfo(skinBar.m_hWnd, SB_CTL, &state, TRUE);
    // Enabled exactly while there is something to scroll.  A control that keeps a disabled bar
    // of its own (ES_DISABLENOSCROLL) may report a token range for it, so its bar's own state
    // counts too.
    const BOOL scrollable = state.nMax >= static_cast<int>(state.nPage) && !OwnBarDisabled(control, bar);
    if (skinBar.IsWindowEnabled() != scrollable)
        skinBar.EnableWindow(scrollable);
}

void CSkinScrollWnd::OnControlNcCalcSize(HWND control, NCCALCSIZE_PARAMS* params)
{
    RECT& client = params->rgrc[0];
    const int v = ::GetSystemMetrics(SM_CXVSCROLL);
    const int T = m_nBarThickness;
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(control, GWL_EXSTYLE));
    const bool vScroll = (style & WS_VSCROLL) != 0;
    const bool hScroll = (style & WS_HSCROLL) != 0;
    const bool leftBars = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;

    // The control's own bar strips shrink to the skinned bars' thickness.
    if (vScroll) {
        if (leftBars)
            client.left += T - v;
        else
            client.right += v - T;
    }
    if (hScroll)
        client.bottom += v - T;

    const RECT vertical = leftBars ? RECT{client.left - T, 0, client.left, client.bottom}
                                   : RECT{client.right, 0, client.right + T, client.bottom};
    const RECT horizontal{leftBars ? client.left : 0, client.bottom, client.right, client.bottom + T};
    m_nCorner = (vScroll && hScroll) ? (leftBars ? 1 : 2) : 0;

    if (hScroll) {
        m_barHorizontal.MoveWindow(horizontal, TRUE);
        m_barHorizontal.ShowWindow(SW_SHOW);
    } else {
        m_barHorizontal.ShowWindow(SW_HIDE);
    }
    if (vScroll) {
        m_barVertical.MoveWindow(vertical, TRUE);
        m_barVertical.ShowWindow(SW_SHOW);
    } else {
        m_barVertical.ShowWindow(SW_HIDE);
    }
    PostMessage(WM_SKIN_LAYOUT, style & WS_VSCROLL, exStyle & WS_EX_LEFTSCROLLBAR);
}

LRESULT CSkinScrollWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SKIN_LAYOUT)
        return OnSkinLayout(wParam != 0, lParam != 0);
    return CWnd::WindowProc(msg, wParam, lParam);
}

LRESULT CSkinScrollWnd::OnSkinLayout(BOOL vScroll, BOOL leftBars)
{
    HWND control = Control();
    if (!control)
        return 0;
    m_bBusy = TRUE;
    const int T = m_nBarThickness;
    RECT limit;
    GetClientRect(&limit);
    RECT place = limit;
    if (m_barHorizontal.GetStyle() & WS_VISIBLE)
        limit.bottom -= T;
    if (leftBars) {
        if (vScroll) {
            limit.left += T;
            ::OffsetRect(&place, -T, 0);
        }
    } else if (vScroll) {
        limit.right -= T;
    }
    m_limiterWnd.MoveWindow(limit, TRUE);
    ::SetWindowPos(control, nullptr, place.left, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bBusy = FALSE;
    return 0;
}

void CSkinScrollWnd::OnSize(UINT type, int cx, int cy)
{
    Default();
    HWND control = Control();
    if (cx && cy && control)
        ::MoveWindow(control, 0, 0, cx, cy, TRUE);
}

void CSkinScrollWnd::ForwardScroll(UINT msg, int bar, CSkinScrollBar& skinBar, UINT code, UINT position)
{
    HWND control = Control();
    if (!control)
        return;
    m_bBusy = TRUE;
    ::SendMessageW(control, msg, MAKEWPARAM(code, position), 0);
    m_bBusy = FALSE;
    // While the thumb moves the control scrolls live; the bar keeps its tracked place.
    if (code == SB_THUMBTRACK)
        return;
    SCROLLINFO state{sizeof(state), SIF_ALL};
    if (::GetScrollInfo(control, bar, &state))
        ::SetScrollInfo(skinBar.m_hWnd, SB_CTL, &state, TRUE);
}

void CSkinScrollWnd::OnVScroll(UINT code, UINT position, HWND bar)
{
    if (bar == m_barVertical.m_hWnd)
        ForwardScroll(WM_VSCROLL, SB_VERT, m_barVertical, code, position);
    else
        Default();
}

void CSkinScrollWnd::OnHScroll(UINT code, UINT position, HWND bar)
{
    if (bar == m_barHorizontal.m_hWnd)
        ForwardScroll(WM_HSCROLL, SB_HORZ, m_barHorizontal, code, position);
    else
        Default();
}

void CSkinScrollWnd::OnTimer(UINT_PTR)
{
    // Catches scrolling the control does by itself: wheel, keyboard, selection.
    HWND control = Control();
    if (!control)
        return;
    if ((m_barVertical.GetStyle() & WS_VISIBLE) && !m_barVertical.IsThumbDragging())
        SyncBar(control, SB_VERT, m_barVertical);
    if ((m_barHorizontal.GetStyle() & WS_VISIBLE) && !m_barHorizontal.IsThumbDragging())
        SyncBar(control, SB_HORZ, m_barHorizontal);
}

void CSkinScrollWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    BITMAP info{};
    if (hdc && m_nCorner && m_hSkinBitmap && ::GetObjectW(m_hSkinBitmap, sizeof(info), &info)) {
        const int cell = info.bmWidth / 9;
        const int T = m_nBarThickness;
        RECT client;
        GetClientRect(&client);
        const int x = m_nCorner == 2 ? client.right - T : client.left;
        const int row = m_nCorner == 2 ? 0 : 1;
        HDC skin = ::CreateCompatibleDC(hdc);
        HGDIOBJ old = ::SelectObject(skin, m_hSkinBitmap);
        ::StretchBlt(hdc, x, client.bottom - T, T, T, skin, 8 * cell, row * cell, cell, cell, SRCCOPY);
        ::SelectObject(skin, old);
        ::DeleteDC(skin);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CSkinScrollWnd::OnDestroy()
{
    // Destroyed with its parent, before the control's own WM_DESTROY: the control goes with
    // it, so it only needs its own procedure back.
    HWND control = Control();
    if (control && FromControl(control) == this)
        Unhook(control);
    Default();
}
