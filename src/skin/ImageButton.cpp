#include "skin/ImageButton.h"

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
    HDC memDC = ::CreateCompatibleDC(hdc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(hdc, width, height);
    if (!memDC || !bitmap) {
        if (bitmap)
            ::DeleteObject(bitmap);
        if (memDC)
            ::DeleteDC(memDC);
        return;
    }
    HGDIOBJ previous = ::SelectObject(memDC, bitmap);
    ::FillRect(memDC, &m_rcClient, m_hBackBrush);
    ::SetBkMode(memDC, TRANSPARENT);
    {
        Gdiplus::Graphics graphics(memDC);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        if (m_pBackdrop)
            DrawBackdrop(graphics, memDC, m_rcClient);
        if (Gdiplus::Image* image = CurrentImage()) {
            graphics.DrawImage(image, Gdiplus::Rect(0, 0, width, height), 0, 0,
                               static_cast<int>(image->GetWidth()),
                               static_cast<int>(image->GetHeight()), Gdiplus::UnitPixel);
        }
    }
    ::BitBlt(hdc, 0, 0, width, height, memDC, 0, 0, SRCCOPY);
    ::SelectObject(memDC, previous);
    ::DeleteDC(memDC);
    ::DeleteObject(bitmap);
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
