#include "skin/PngButton.h"

Gdiplus::Rect CPngButton::SourceRectFor(int imageWidth, int imageHeight) const
{
    // Enlarged images leave out their last column and row.
    if (m_fScale > 1.0f)
        return Gdiplus::Rect(0, 0, imageWidth - 1, imageHeight - 1);
    return Gdiplus::Rect(0, 0, imageWidth, imageHeight);
}

void CPngButton::DrawItem(DRAWITEMSTRUCT* item)
{
    if (!item || !HasAllStateImages())
        return;
    const RECT& r = item->rcItem;
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    HBITMAP bitmap = ::CreateCompatibleBitmap(item->hDC, width, height);
    if (!bitmap)
        return;
    HDC memDC = ::CreateCompatibleDC(item->hDC);
    if (!memDC) {
        ::DeleteObject(bitmap);
        return;
    }
    HGDIOBJ previous = ::SelectObject(memDC, bitmap);
    {
        Gdiplus::Graphics graphics(memDC);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        DrawBackdrop(graphics, memDC, r);
        Gdiplus::Image* image = CurrentImage();
        Gdiplus::Rect source = SourceRectFor(static_cast<int>(image->GetWidth()),
                                             static_cast<int>(image->GetHeight()));
        graphics.DrawImage(image, Gdiplus::Rect(r.left, r.top, width, height), source.X,
                           source.Y, source.Width, source.Height, Gdiplus::UnitPixel);
    }
    ::BitBlt(item->hDC, 0, 0, width, height, memDC, 0, 0, SRCCOPY);
    ::SelectObject(memDC, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memDC);
}
