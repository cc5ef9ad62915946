// Drawing a skinned window's images: the layered background and the content background.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

// Draws the image stretched to width x height into the layered window, which takes that size
// at its current top-left corner.  A null image draws nothing but still sizes the window.
void PaintLayeredBackground(HWND hWnd, Gdiplus::Image* image, int width, int height);

// The bitmap the layered drawing hands to UpdateLayeredWindow: a 32-bit top-down DIB section
// holding the image stretched to width x height with premultiplied alpha.  *bits (optional)
// receives its pixels.  The caller deletes it; null on failure.
HBITMAP CreateLayeredBitmap(HDC reference, Gdiplus::Image* image, int width, int height,
                            void** bits);

// The content window's background: the whole image stretched over the client rectangle,
// drawn through a memory bitmap and copied to hdc at (0, 0).  Null image: nothing is drawn.
void PaintContentBackground(HWND hWnd, HDC hdc, Gdiplus::Image* image);

// The same with a source rectangle in image pixels; highQuality selects
// SmoothingModeHighQuality, otherwise the surface keeps its default smoothing.
void PaintContentBackground(HWND hWnd, HDC hdc, Gdiplus::Image* image, int srcX, int srcY,
                            int srcWidth, int srcHeight, bool highQuality);

// Draws the whole image stretched to dest straight onto hdc (no intermediate bitmap),
// high-quality smoothing, unit pixel.
void PaintImageDirect(HDC hdc, const RECT& dest, Gdiplus::Image* image);
