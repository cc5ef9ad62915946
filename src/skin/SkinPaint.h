// What the skinned controls' painting shares: an off-screen bitmap that is drawn into and then
// copied to the window in one go (so a control never shows half drawn), and image drawing.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

class CMemoryPaint {
public:
    // A bitmap compatible with target, width x height.
    CMemoryPaint(HDC target, int width, int height);
    // Takes over a bitmap made for target (a null one leaves the paint not ready).
    CMemoryPaint(HDC target, HBITMAP bitmap);
    ~CMemoryPaint();
    CMemoryPaint(const CMemoryPaint&) = delete;
    CMemoryPaint& operator=(const CMemoryPaint&) = delete;

    bool IsReady() const { return m_hDC && m_hBitmap; }
    HDC DC() const { return m_hDC; }
    // Copies width x height from the bitmap's origin to the target's origin.
    void CopyTo(HDC target, int width, int height) const;

private:
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hPrevious = nullptr;
};

// Draws the source rectangle of the image stretched over dest.
void DrawImagePart(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const RECT& dest,
                   const RECT& source);
// Draws the whole image stretched over dest.
void DrawWholeImage(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const RECT& dest);
