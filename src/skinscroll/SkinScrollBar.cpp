#include "skinscroll/SkinScrollBar.h"

#include "res/MessageIds.h"

#include <commctrl.h>

namespace {

// The skin bitmap selected into a memory context for the length of one drawing.
class SkinSource {
public:
    SkinSource(HDC target, HBITMAP bitmap)
        : m_dc(::CreateCompatibleDC(target)), m_old(::SelectObject(m_dc, bitmap))
    {
    }
    ~SkinSource()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteDC(m_dc);
    }
    SkinSource(const SkinSource&) = delete;
    SkinSource& operator=(const SkinSource&) = delete;
    operator HDC() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// The window's device context for one update outside WM_PAINT.
class WindowDC {
public:
    explicit WindowDC(HWND hWnd) : m_hWnd(hWnd), m_dc(::GetDC(hWnd)) {}
    ~WindowDC() { ::ReleaseDC(m_hWnd, m_dc); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    operator HDC() const { return m_dc; }

private:
    HWND m_hWnd;
    HDC m_dc;
};

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

void Stretch(HDC hdc, const RECT& dest, HDC skin, const RECT& src)
{
    if (IsEmpty(dest) || IsEmpty(src))
        return;
    ::StretchBlt(hdc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, skin,
                 src.left, src.top, src.right - src.left, src.bottom - src.top, SRCCOPY);
}

}  // namespace

CSkinScrollBar::CSkinScrollBar() : m_scrollInfo{}
{
    m_scrollInfo.cbSize = sizeof(m_scrollInfo);
    m_scrollInfo.nTrackPos = -1;
}

BOOL CSkinScrollBar::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    if (!CScrollBar::Create(style, rect, parent, id))
        return FALSE;
    // The first WM_SIZE came before the window was bound.
    RECT client;
    GetClientRect(&client);
    m_nBarLength = IsVertical() ? client.bottom : client.right;
    return TRUE;
}

void CSkinScrollBar::SetSkinBitmap(HBITMAP bitmap)
{
    m_hSkinBitmap = bitmap;
    BITMAP info{};
    m_nCellSize = bitmap && ::GetObjectW(bitmap, sizeof(info), &info) ? info.bmWidth / 9 : 0;
    if (!m_hWnd)
        return;
    RECT r;
    GetWindowRect(&r);
    const int width = IsVertical() ? m_nCellSize : r.right - r.left;
    const int height = IsVertical() ? r.bottom - r.top : m_nCellSize;
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

ScrollBarInput CSkinScrollBar::Input() const
{
    ScrollBarInput in;
    in.cellSize = m_nCellSize;
    in.barLength = m_nBarLength;
    in.scale = m_fScale;
    in.thumbMargin = m_nThumbMargin;
    in.nMin = m_scrollInfo.nMin;
    in.nMax = m_scrollInfo.nMax;
    in.nPage = m_scrollInfo.nPage;
    in.nPos = m_scrollInfo.nPos;
    in.nTrackPos = m_scrollInfo.nTrackPos;
    in.disabled = m_hWnd && !IsWindowEnabled();
    return in;
}

ScrollBarLayout CSkinScrollBar::Layout() const
{
    return ComputeScrollBarLayout(Input());
}

RECT CSkinScrollBar::PartRect(int part) const
{
    return ScrollBarPartRect(Layout(), part, IsVertical());
}

LRESULT CSkinScrollBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_LBUTTONDBLCLK:
        return 1;  // the second click of a double click does nothing
    case SBM_SETSCROLLINFO:
        return SetScrollInfoFrom(static_cast<BOOL>(wParam), reinterpret_cast<const SCROLLINFO*>(lParam));
    case SBM_GETSCROLLINFO:
        return GetScrollInfoInto(reinterpret_cast<SCROLLINFO*>(lParam));
    case WM_ENABLE:
        // The system bar would paint its own look here.
        Invalidate(FALSE);
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away in the middle of a press (another window, a disabled bar): end
        // the press so that no timer goes on scrolling.
        if (!m_bReleasingCapture && reinterpret_cast<HWND>(lParam) != m_hWnd) {
            if (m_bThumbDragging) {
                POINT point;
                ::GetCursorPos(&point);
                ScreenToClient(&point);
                EndDrag(point);
            } else {
                EndPress();
            }
        }
        return 0;
    default:
        return CScrollBar::WindowProc(msg, wParam, lParam);
    }
}

LRESULT CSkinScrollBar::SetScrollInfoFrom(BOOL redraw, const SCROLLINFO* info)
{
    if (!info)
        return 0;
    if (info->fMask & SIF_PAGE)
        m_scrollInfo.nPage = info->nPage;
    if (info->fMask & SIF_POS)
        m_scrollInfo.nPos = info->nPos;
    if (info->fMask & SIF_RANGE) {
        m_scrollInfo.nMin = info->nMin;
        m_scrollInfo.nMax = info->nMax;
    }
    // The arrows keep whatever look the pointer gave them.
    if (redraw && m_hSkinBitmap) {
        WindowDC dc(m_hWnd);
        SkinSource skin(dc, m_hSkinBitmap);
        DrawTrack(dc, skin, PartRect(SB_PAGEUP));
        DrawThumb(dc, skin, kRowNormal);
        DrawTrack(dc, skin, PartRect(SB_PAGEDOWN));
    }
    return 1;
}

LRESULT CSkinScrollBar::GetScrollInfoInto(SCROLLINFO* info) const
{
    if (!info)
        return 0;
    if (info->fMask & SIF_PAGE)
        info->nPage = m_scrollInfo.nPage;
    if (info->fMask & SIF_POS)
        info->nPos = m_scrollInfo.nPos;
    if (info->fMask & SIF_TRACKPOS)
        info->nTrackPos = m_scrollInfo.nTrackPos;
    if (info->fMask & SIF_RANGE) {
        info->nMin = m_scrollInfo.nMin;
        info->nMax = m_scrollInfo.nMax;
    }
    return 1;
}

void CSkinScrollBar::Notify(int code, int position)
{
    WPARAM wParam = static_cast<WPARAM>(code);
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION)
        wParam = MAKEWPARAM(code, position);
    ::SendMessageW(GetParent(), IsVertical() ? WM_VSCROLL : WM_HSCROLL, wParam,
                   reinterpret_cast<LPARAM>(m_hWnd));
}

void CSkinScrollBar::OnSize(UINT type, int cx, int cy)
{
    Default();
    m_nBarLength = IsVertical() ? cy : cx;
}

void CSkinScrollBar::TileInto(HDC hdc, HDC skin, const RECT& dest, const RECT& src)
{
    if (IsEmpty(src))
        return;
    for (const RECT& tile : ScrollBarTiles(dest, src.right - src.left, src.bottom - src.top, m_fScale))
        Stretch(hdc, tile, skin, src);
}

void CSkinScrollBar::DrawArrow(HDC hdc, HDC skin, int part, int row)
{
    Stretch(hdc, PartRect(part), skin, ScrollBarSourceCell(part, row, IsVertical(), m_nCellSize));
}

void CSkinScrollBar::DrawThumb(HDC hdc, HDC skin, int row)
{
    const RECT thumb = PartRect(SB_THUMBTRACK);
    if (IsEmpty(thumb))
        return;
    const RECT cell = ScrollBarSourceCell(SB_THUMBTRACK, row, IsVertical(), m_nCellSize);
    const ThumbPieces pieces = ScrollBarThumbPieces(thumb, cell, m_nThumbMargin, IsVertical());
    Stretch(hdc, pieces.capStartDest, skin, pieces.capStartSrc);
    Stretch(hdc, pieces.capEndDest, skin, pieces.capEndSrc);
    TileInto(hdc, skin, pieces.middleDest, pieces.middleSrc);
}

void CSkinScrollBar::DrawTrack(HDC hdc, HDC skin, const RECT& dest)
{
    TileInto(hdc, skin, dest, ScrollBarSourceCell(SB_PAGEUP, kRowNormal, IsVertical(), m_nCellSize));
}

void CSkinScrollBar::DrawPart(HDC hdc, int part, int row)
{
    if (!m_hSkinBitmap)
        return;
    SkinSource skin(hdc, m_hSkinBitmap);
    if (IsArrow(part))
        DrawArrow(hdc, skin, part, row);
    else if (part == SB_THUMBTRACK)
        DrawThumb(hdc, skin, row);
    else if (part == SB_PAGEUP || part == SB_PAGEDOWN)
        DrawTrack(hdc, skin, PartRect(part));
}

void CSkinScrollBar::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    if (hdc && m_hSkinBitmap) {
        SkinSource skin(hdc, m_hSkinBitmap);
        DrawArrow(hdc, skin, SB_LINEUP, kRowNormal);
        DrawArrow(hdc, skin, SB_LINEDOWN, kRowNormal);
        DrawThumb(hdc, skin, kRowNormal);
        DrawTrack(hdc, skin, PartRect(SB_PAGEUP));
        DrawTrack(hdc, skin, PartRect(SB_PAGEDOWN));
    }
    ::EndPaint(m_hWnd, &ps);
}

void CSkinScrollBar::OnLButtonDown(UINT, POINT point)
{
    ::SetCapture(m_hWnd);
    const int part = ScrollBarHitTest(Layout(), Along(point));
    if (part == SB_THUMBTRACK) {
        m_bThumbDragging = TRUE;
        m_ptDragStart = point;
        m_scrollInfo.nTrackPos = m_scrollInfo.nPos;
        m_nDragStartPos = m_scrollInfo.nPos;
        return;
    }
    if (part == kNoScrollPart)
        return;
    m_nPressedPart = part;
    Notify(part);
    SetTimer(TIMER_SCROLL_DELAY, 500);
    m_bPointerOutside = FALSE;
    if (IsArrow(part)) {
        WindowDC dc(m_hWnd);
        DrawPart(dc, part, kRowPressed);
    }
}

void CSkinScrollBar::OnTimer(UINT_PTR id)
{
    if (id == TIMER_SCROLL_DELAY) {
        m_bAutoRepeat = TRUE;
        KillTimer(TIMER_SCROLL_DELAY);
        SetTimer(TIMER_SCROLL_REPEAT, 100);
        id = TIMER_SCROLL_REPEAT;
    }
    if (id != TIMER_SCROLL_REPEAT) {
        Default();
        return;
    }
    if (m_bPointerOutside)
        return;
    switch (m_nPressedPart) {
    case SB_LINEUP:
        if (m_scrollInfo.nPos == m_scrollInfo.nMin)
            KillTimer(TIMER_SCROLL_REPEAT);
        else
            Notify(SB_LINEUP);
        break;
    case SB_LINEDOWN:
        if (m_scrollInfo.nPos == m_scrollInfo.nMax)
            KillTimer(TIMER_SCROLL_REPEAT);
        else
            Notify(SB_LINEDOWN);
        break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: {
        POINT cursor;
        ::GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        int thumbStart = 0;
        int thumbEnd = 0;
        ScrollBarPartSpan(Layout(), SB_THUMBTRACK, &thumbStart, &thumbEnd);
        // The thumb has reached the pointer (or, moving a page at a time, gone past it).
        const int along = Along(cursor);
        const bool reached = m_nPressedPart == SB_PAGEUP ? along >= thumbStart : along < thumbEnd;
        if (reached)
            KillTimer(TIMER_SCROLL_REPEAT);
        else
            Notify(m_nPressedPart);
        break;
    }
    default:
        break;
    }
}

void CSkinScrollBar::RequestLeaveNotification()
{
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = m_hWnd;
    tme.dwHoverTime = 1;
    m_bTrackingLeave = ::_TrackMouseEvent(&tme);
}

void CSkinScrollBar::OnMouseMove(UINT flags, POINT point)
{
    MouseMove(static_cast<int>(flags), point);
}

void CSkinScrollBar::MouseMove(int flags, POINT point)
{
    if (!m_bTrackingLeave && flags != -1)
        RequestLeaveNotification();

    if (m_bThumbDragging) {
        const ScrollBarInput in = Input();
        const int delta = Along(point) - Along(m_ptDragStart);
        const int q = ScrollBarDragPosition(in, ComputeScrollBarLayout(in), m_nDragStartPos, delta);
        if (q == m_scrollInfo.nTrackPos)
            return;
        const RECT before = PartRect(SB_THUMBTRACK);
        m_scrollInfo.nTrackPos = q;
        const RECT after = PartRect(SB_THUMBTRACK);
        if (m_hSkinBitmap) {
            const int T = ScaleBarLength(m_nCellSize, m_fScale);
            const bool vertical = IsVertical();
            const int beforeStart = vertical ? before.top : before.left;
            const int beforeEnd = vertical ? before.bottom : before.right;
            const int afterStart = vertical ? after.top : after.left;
            const int afterEnd = vertical ? after.bottom : after.right;
            int from = afterEnd;
            int to = beforeEnd;
            if (afterStart > beforeStart) {
                from = beforeStart;
                to = afterStart;
            }
            const RECT strip = vertical ? RECT{0, from, T, to} : RECT{from, 0, to, T};
            WindowDC dc(m_hWnd);
            SkinSource skin(dc, m_hSkinBitmap);
            DrawTrack(dc, skin, strip);
            DrawThumb(dc, skin, kRowPressed);
        }
        Notify(SB_THUMBTRACK, q);
        return;
    }

    if (m_nPressedPart == kNoScrollPart) {
        const int part = ScrollBarHitTest(Layout(), Along(point));
        if (part == m_nHotPart)
            return;
        WindowDC dc(m_hWnd);
        if (IsArrow(m_nHotPart) || m_nHotPart == SB_THUMBTRACK)
            DrawPart(dc, m_nHotPart, kRowNormal);
        if (IsArrow(part) || part == SB_THUMBTRACK)
            DrawPart(dc, part, kRowHot);
        m_nHotPart = part;
        return;
    }

    const RECT pressed = PartRect(m_nPressedPart);
    m_bPointerOutside = !::PtInRect(&pressed, point);
    if (IsArrow(m_nPressedPart)) {
        WindowDC dc(m_hWnd);
        DrawPart(dc, m_nPressedPart, m_bPointerOutside ? kRowNormal : kRowPressed);
    }
}

void CSkinScrollBar::OnMouseLeave()
{
    m_bTrackingLeave = FALSE;
    // While dragging, leaving the bar must not be taken as a move to (-1, -1), which would
    // throw the thumb to the start; the drag follows the captured pointer.
    if (m_bThumbDragging)
        return;
    MouseMove(-1, POINT{-1, -1});
}

void CSkinScrollBar::OnLButtonUp(UINT, POINT point)
{
    m_bReleasingCapture = TRUE;
    ::ReleaseCapture();
    m_bReleasingCapture = FALSE;
    if (m_bThumbDragging)
        EndDrag(point);
    else
        EndPress();
}

void CSkinScrollBar::EndPress()
{
    if (m_nPressedPart == kNoScrollPart)
        return;
    if (m_bAutoRepeat) {
        KillTimer(TIMER_SCROLL_REPEAT);
        m_bAutoRepeat = FALSE;
    } else {
        KillTimer(TIMER_SCROLL_DELAY);
    }
    if (IsArrow(m_nPressedPart)) {
        WindowDC dc(m_hWnd);
        DrawPart(dc, m_nPressedPart, kRowNormal);
    }
    m_nPressedPart = kNoScrollPart;
}

void CSkinScrollBar::EndDrag(POINT point)
{
    m_bThumbDragging = FALSE;
    Notify(SB_THUMBPOSITION, m_scrollInfo.nTrackPos);
    if (!m_hWnd)
        return;
    WindowDC dc(m_hWnd);
    if (m_hSkinBitmap && m_scrollInfo.nTrackPos != m_scrollInfo.nPos) {  // position not taken
        SkinSource skin(dc, m_hSkinBitmap);
        DrawTrack(dc, skin, PartRect(SB_THUMBTRACK));
    }
    m_scrollInfo.nTrackPos = -1;
    const RECT thumb = PartRect(SB_THUMBTRACK);
    DrawPart(dc, SB_THUMBTRACK, ::PtInRect(&thumb, point) ? kRowHot : kRowNormal);
}
