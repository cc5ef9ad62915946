#include "skin/PngButton.h"

#include "skin/SkinPaint.h"

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
    CMemoryPaint paint(item->hDC, width, height);
    if (!paint.IsReady())
        return;
    {
        Gdiplus::Graphics graphics(paint.DC());
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        DrawBackdrop(graphics, paint.DC(), r);
        Gdiplus::Image* image = CurrentImage();
        Gdiplus::Rect source = SourceRectFor(static_cast<int>(image->GetWidth()),
                                             static_cast<int>(image->GetHeight()));
        graphics.DrawImage(image, Gdiplus::Rect(r.left, r.top, width, height), source.X,
                           source.Y, source.Width, source.Height, Gdiplus::UnitPixel);
    }
    paint.CopyTo(item->hDC, width, height);
}
