#include "skin/LayeredWindow.h"

#include "skin/SkinPaint.h"

namespace {

// At its own size the image needs no resampling: GDI+ hands its pixels, premultiplied,
// straight into the bitmap.  False when the sizes differ or the image is no bitmap.
bool CopyAtNaturalSize(Gdiplus::Image* image, int width, int height, void* pixels)
{
    auto* bitmap = dynamic_cast<Gdiplus::Bitmap*>(image);
    if (!bitmap || static_cast<int>(image->GetWidth()) != width ||
        static_cast<int>(image->GetHeight()) != height)
        return false;
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = pixels;
    Gdiplus::Rect all(0, 0, width, height);
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                         PixelFormat32bppPARGB, &data) != Gdiplus::Ok)
        return false;
    bitmap->UnlockBits(&data);
    return true;
}

}  // namespace

HBITMAP CreateLayeredBitmap(HDC reference, Gdiplus::Image* image, int width, int height,
                            void** bits)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    // 32 bits with premultiplied alpha, as UpdateLayeredWindow reads it; a device-dependent
    // bitmap would let GDI+ drop the alpha channel.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(reference, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap)
        return nullptr;
    if (image && !CopyAtNaturalSize(image, width, height, pixels)) {
        Gdiplus::Bitmap surface(width, height, width * 4, PixelFormat32bppPARGB,
                                static_cast<BYTE*>(pixels));
        Gdiplus::Graphics graphics(&surface);
        graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        graphics.DrawImage(image, 0, 0, width, height);
    }
    if (bits)
        *bits = pixels;
    return bitmap;
}

void PaintLayeredBackground(HWND hWnd, Gdiplus::Image* image, int width, int height)
{
    if (!hWnd || width <= 0 || height <= 0)
        return;
    HDC windowDC = ::GetDC(hWnd);
    {
        CMemoryPaint paint(windowDC, CreateLayeredBitmap(windowDC, image, width, height, nullptr));
        if (paint.IsReady()) {
            RECT window;
            ::GetWindowRect(hWnd, &window);
            POINT destination{window.left, window.top};
            SIZE size{width, height};
            POINT source{0, 0};
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            ::UpdateLayeredWindow(hWnd, windowDC, &destination, &size, paint.DC(), &source, 0, &blend,
                                  ULW_ALPHA);
        }
    }
    ::ReleaseDC(hWnd, windowDC);
}

void PaintContentBackground(HWND hWnd, HDC hdc, Gdiplus::Image* image)
{
    if (!image)
        return;
    PaintContentBackground(hWnd, hdc, image, 0, 0, static_cast<int>(image->GetWidth()),
                           static_cast<int>(image->GetHeight()), true);
}

void PaintContentBackground(HWND hWnd, HDC hdc, Gdiplus::Image* image, int srcX, int srcY,
                            int srcWidth, int srcHeight, bool highQuality)
{
    if (!hWnd || !hdc || !image)
        return;
    RECT client;
    ::GetClientRect(hWnd, &client);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    if (width <= 0 || height <= 0)
        return;
    CMemoryPaint paint(hdc, width, height);
    if (!paint.IsReady())
        return;
    {
        Gdiplus::Graphics graphics(paint.DC());
        if (highQuality)
            graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
        DrawImagePart(graphics, image, client, RECT{srcX, srcY, srcX + srcWidth, srcY + srcHeight});
    }
    paint.CopyTo(hdc, width, height);
}

void PaintImageDirect(HDC hdc, const RECT& dest, Gdiplus::Image* image)
{
    if (!hdc || !image)
        return;
    Gdiplus::Graphics graphics(hdc);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    DrawWholeImage(graphics, image, dest);
}
