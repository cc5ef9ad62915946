// A scroll bar that draws itself from a bitmap of square cells and does its own mouse handling:
// arrows and page regions that repeat while held, a draggable thumb with live tracking, hover
// and pressed looks.  It keeps its own SCROLLINFO (SBM_SETSCROLLINFO / SBM_GETSCROLLINFO) and
// only reports to its parent (WM_VSCROLL / WM_HSCROLL); it never scrolls anything itself.
//
// Skin bitmap: 9 columns x 3 rows of cells (rows: normal, hot, pressed).  Columns 0-3 are the
// vertical bar's up arrow, down arrow, thumb and track, 4-7 the horizontal bar's, 8 the
// size-box corners.
#pragma once

#include "framework/Controls.h"
#include "skinscroll/ScrollBarGeometry.h"

class CSkinScrollBar : public CScrollBar {
public:
    CSkinScrollBar();

    // Creates the system scroll bar window (SBS_VERT in the style for a vertical bar).
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    // The caller keeps the bitmap.  The window takes the cell size as its thickness.
    void SetSkinBitmap(HBITMAP bitmap);

    BOOL IsThumbDragging() const { return m_bThumbDragging; }
    ScrollBarLayout Layout() const;
    RECT PartRect(int part) const;

    // Set by the owner before the bar is laid out.
    float m_fScale = 1.0f;
    int m_nThumbMargin = 0;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnPaint() override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnMouseMove(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;
    void OnTimer(UINT_PTR id) override;
    void OnMouseLeave() override;

private:
    enum { kRowNormal = 0, kRowHot = 1, kRowPressed = 2 };

    ScrollBarInput Input() const;
    bool IsVertical() const { return (GetStyle() & SBS_VERT) != 0; }
    int Along(POINT point) const { return IsVertical() ? point.y : point.x; }
    static bool IsArrow(int part) { return part == SB_LINEUP || part == SB_LINEDOWN; }
    LRESULT SetScrollInfoFrom(BOOL redraw, const SCROLLINFO* info);
    LRESULT GetScrollInfoInto(SCROLLINFO* info) const;
    void Notify(int code, int position = 0);
    void EndPress();
    void EndDrag(POINT point);
    void RequestLeaveNotification();
    void MouseMove(int flags, POINT point);

    // Drawing; each takes a device context on the window.
    void DrawPart(HDC hdc, int part, int row);
    void DrawArrow(HDC hdc, HDC skin, int part, int row);
    void DrawThumb(HDC hdc, HDC skin, int row);
    void DrawTrack(HDC hdc, HDC skin, const RECT& dest);
    void TileInto(HDC hdc, HDC skin, const RECT& dest, const RECT& src);

    HBITMAP m_hSkinBitmap = nullptr;
    int m_nCellSize = 0;
    int m_nBarLength = 0;
    SCROLLINFO m_scrollInfo;
    BOOL m_bThumbDragging = FALSE;
    POINT m_ptDragStart{0, 0};
    int m_nDragStartPos = 0;
    int m_nPressedPart = kNoScrollPart;
    BOOL m_bAutoRepeat = FALSE;
    int m_nHotPart = kNoScrollPart;
    BOOL m_bPointerOutside = FALSE;
    BOOL m_bTrackingLeave = FALSE;
    BOOL m_bReleasingCapture = FALSE;
};
