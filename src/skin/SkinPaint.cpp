#include "skin/SkinPaint.h"

CMemoryPaint::CMemoryPaint(HDC target, int width, int height)
    : CMemoryPaint(target, ::CreateCompatibleBitmap(target, width, height))
{
}

CMemoryPaint::CMemoryPaint(HDC target, HBITMAP bitmap) : m_hBitmap(bitmap)
{
    if (!m_hBitmap)
        return;
    m_hDC = ::CreateCompatibleDC(target);
    if (m_hDC)
        m_hPrevious = ::SelectObject(m_hDC, m_hBitmap);
}

CMemoryPaint::~CMemoryPaint()
{
    if (m_hDC) {
        ::SelectObject(m_hDC, m_hPrevious);
        ::DeleteDC(m_hDC);
    }
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
}

void CMemoryPaint::CopyTo(HDC target, int width, int height) const
{
    ::BitBlt(target, 0, 0, width, height, m_hDC, 0, 0, SRCCOPY);
}

void DrawImagePart(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const RECT& dest,
                   const RECT& source)
{
    graphics.DrawImage(image,
                       Gdiplus::Rect(dest.left, dest.top, dest.right - dest.left,
                                     dest.bottom - dest.top),
                       source.left, source.top, source.right - source.left,
                       source.bottom - source.top, Gdiplus::UnitPixel);
}

void DrawWholeImage(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const RECT& dest)
{
    DrawImagePart(graphics, image, dest,
                  RECT{0, 0, static_cast<LONG>(image->GetWidth()), static_cast<LONG>(image->GetHeight())});
}
