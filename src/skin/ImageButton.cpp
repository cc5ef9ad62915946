#include "skin/ImageButton.h"

#include "skin/SkinPaint.h"

void CImageButton::SetHotMargins(int left, int top, int right, int bottom)
{
    m_rcHotMargins = RECT{left, top, right, bottom};
}

BOOL CImageButton::IsPointInHotArea(POINT client) const
{
    RECT r;
    GetClientRect(&r);
    RECT hot{r.left + m_rcHotMargins.left, r.top + m_rcHotMargins.top,
             r.right - m_rcHotMargins.right, r.bottom - m_rcHotMargins.bottom};
    return ::PtInRect(&hot, client);
}

BOOL CImageButton::IsCursorInHotArea() const
{
    POINT cursor;
    if (!m_hWnd || !::GetCursorPos(&cursor))
        return FALSE;
    ScreenToClient(&cursor);
    return IsPointInHotArea(cursor);
}

BOOL CImageButton::AcceptsPoint(POINT client) const
{
    RECT r;
    GetClientRect(&r);
    return ::PtInRect(&r, client);
}

void CImageButton::PaintButton(HDC hdc)
{
    GetClientRect(&m_rcClient);
    int width = m_rcClient.right - m_rcClient.left;
    int height = m_rcClient.bottom - m_rcClient.top;
    CMemoryPaint paint(hdc, width, height);
    if (!paint.IsReady())
        return;
    ::FillRect(paint.DC(), &m_rcClient, m_hBackBrush);
    ::SetBkMode(paint.DC(), TRANSPARENT);
    {
        Gdiplus::Graphics graphics(paint.DC());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        if (m_pBackdrop)
            DrawBackdrop(graphics, paint.DC(), m_rcClient);
        if (Gdiplus::Image* image = CurrentImage())
            DrawWholeImage(graphics, image, m_rcClient);
    }
    paint.CopyTo(hdc, width, height);
}

void CImageButton::DrawItem(DRAWITEMSTRUCT* item)
{
    if (!item || !HasAllStateImages())
        return;
    PaintButton(item->hDC);
}

BOOL CImageButton::OnEraseBkgnd(HDC hdc)
{
    PaintButton(hdc);
    return TRUE;
}
