#include "support/ScreenCapture.h"

#include "support/GuiInput.h"

#include <objidl.h>
#include <gdiplus.h>

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

}  // namespace guitest
