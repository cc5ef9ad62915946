#include "support/ScreenCapture.h"

#include "support/GuiInput.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace guitest {

GdiplusSession::GdiplusSession()
{
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
}

GdiplusSession::~GdiplusSession()
{
    Gdiplus::GdiplusShutdown(m_token);
}

COLORREF ScreenPixel(POINT p)
{
    ::GdiFlush();
    PumpFor(40);
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, p.x, p.y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

COLORREF ClientPixel(HWND hWnd, int x, int y)
{
    return ScreenPixel(ScreenPoint(hWnd, x, y));
}

COLORREF WindowDcPixel(HWND hWnd, int x, int y)
{
    HDC hdc = ::GetDC(hWnd);
    HDC memDC = ::CreateCompatibleDC(hdc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(hdc, 1, 1);
    HGDIOBJ previous = ::SelectObject(memDC, bitmap);
    ::BitBlt(memDC, 0, 0, 1, 1, hdc, x, y, SRCCOPY);
    COLORREF color = ::GetPixel(memDC, 0, 0);
    ::SelectObject(memDC, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memDC);
    ::ReleaseDC(hWnd, hdc);
    return color;
}

bool NearColor(COLORREF a, COLORREF b, int tolerance)
{
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::wstring ColorText(COLORREF c)
{
    wchar_t text[40];
    wsprintfW(text, L"rgb(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

bool PngEncoder(CLSID* clsid)
{
    UINT count = 0;
    UINT size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
        return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            *clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool SaveBitmapPng(HBITMAP bitmap, const std::wstring& path)
{
    Gdiplus::Bitmap image(bitmap, nullptr);
    CLSID png;
    return PngEncoder(&png) && image.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}

bool SaveDcPng(HDC source, const RECT& area, const std::wstring& path, DWORD rop)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC memDC = ::CreateCompatibleDC(source);
    HBITMAP bitmap = ::CreateCompatibleBitmap(source, width, height);
    HGDIOBJ previous = ::SelectObject(memDC, bitmap);
    ::BitBlt(memDC, 0, 0, width, height, source, area.left, area.top, rop);
    ::SelectObject(memDC, previous);
    const bool saved = SaveBitmapPng(bitmap, path);
    ::DeleteObject(bitmap);
    ::DeleteDC(memDC);
    return saved;
}

bool SaveScreenPng(const RECT& area, const std::wstring& path)
{
    HDC screen = ::GetDC(nullptr);
    const bool saved = SaveDcPng(screen, area, path);
    ::ReleaseDC(nullptr, screen);
    return saved;
}

bool SaveScreenPng(const std::wstring& path)
{
    HDC screen = ::GetDC(nullptr);
    const bool saved = SaveDcPng(screen, ScreenRect(), path, SRCCOPY | CAPTUREBLT);
    ::ReleaseDC(nullptr, screen);
    return saved;
}

bool SaveWindowPng(HWND hWnd, const std::wstring& path)
{
    RECT client;
    ::GetClientRect(hWnd, &client);
    HDC hdc = ::GetDC(hWnd);
    const bool saved = SaveDcPng(hdc, client, path);
    ::ReleaseDC(hWnd, hdc);
    return saved;
}

RECT ScreenRect()
{
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

// Pixels of a 32-bit top-down DIB section filled by draw.
std::vector<DWORD> RenderPixels(int width, int height, const std::function<void(HDC)>& draw)
{
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && dib && bits) {
        HGDIOBJ previous = ::SelectObject(memory, dib);
        draw(memory);
        ::GdiFlush();
        memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
        ::SelectObject(memory, previous);
    }
    if (dib)
        ::DeleteObject(dib);
    if (memory)
        ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    for (DWORD& p : pixels)
        p &= 0x00FFFFFF;
    return pixels;
}


namespace {

// What the screen shows in a rectangle; empty when the rectangle is.
std::vector<DWORD> ScreenPixels(const RECT& r)
{
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return std::vector<DWORD>();
    HDC screen = ::GetDC(nullptr);
    std::vector<DWORD> pixels = RenderPixels(width, height, [&](HDC memory) {
        ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    });
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace

bool WaitScreenSettled(const RECT& area, DWORD timeoutMs)
{
    std::vector<DWORD> seen;
    return WaitUntil([&] {
        std::vector<DWORD> pixels = ScreenPixels(area);
        bool settled = !pixels.empty() && pixels == seen;
        seen.swap(pixels);
        return settled;
    }, timeoutMs, 50);
}

bool WaitOnScreen(HWND hWnd, DWORD timeoutMs)
{
    // Drawn means: the same picture twice in a row at the same place, and not one flat colour
    // (what an unpainted window or an empty stretch of desktop shows).
    RECT before{};
    std::vector<DWORD> seen;
    return WaitUntil([&] {
        if (!::IsWindow(hWnd) || !::IsWindowVisible(hWnd)) {
            seen.clear();
            return false;
        }
        RECT now{};
        ::GetWindowRect(hWnd, &now);
        std::vector<DWORD> pixels = ScreenPixels(now);
        bool flat = pixels.empty() ||
                    std::all_of(pixels.begin(), pixels.end(), [&](DWORD p) { return p == pixels.front(); });
        bool settled = !flat && ::EqualRect(&now, &before) && pixels == seen;
        before = now;
        seen.swap(pixels);
        return settled;
    }, timeoutMs, 50);
}

}  // namespace guitest
