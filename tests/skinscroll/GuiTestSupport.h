// Real input, message pumping, screen pixels and screenshots for the window tests.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <functional>
#include <string>

namespace guitest {

inline ULONGLONG Now()
{
    return ::GetTickCount64();
}

// Dispatches messages for the given time.
inline void PumpFor(DWORD ms)
{
    const ULONGLONG end = Now() + ms;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        const ULONGLONG now = Now();
        if (now >= end)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

// Dispatches messages until the condition holds or the time is up; returns the condition.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG end = Now() + timeoutMs;
    while (!done()) {
        if (Now() >= end)
            return done();
        PumpFor(10);
    }
    return true;
}

inline void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.mouseData = data;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

// Moves the pointer to a screen point; true when it got there.
inline bool MoveTo(int x, int y)
{
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    // The smallest normalised value that maps back to the pixel.
    const LONG dx = static_cast<LONG>((static_cast<long long>(x) * 65536 + width - 1) / width);
    const LONG dy = static_cast<LONG>((static_cast<long long>(y) * 65536 + height - 1) / height);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
    POINT at{};
    const bool arrived = PumpUntil(
        [&] {
            ::GetCursorPos(&at);
            return at.x == x && at.y == y;
        },
        500);
    if (!arrived)
        fprintf(stderr, "pointer at (%ld, %ld), not (%d, %d)\n", at.x, at.y, x, y);
    PumpFor(20);
    return arrived;
}

inline bool MoveTo(POINT p)
{
    return MoveTo(p.x, p.y);
}

inline void LeftDown()
{
    SendMouse(MOUSEEVENTF_LEFTDOWN);
}

inline void LeftUp()
{
    SendMouse(MOUSEEVENTF_LEFTUP);
}

inline void Wheel(int clicks)
{
    SendMouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(clicks * WHEEL_DELTA));
}

// A client point of a window in screen coordinates.
inline POINT ScreenPoint(HWND hWnd, int x, int y)
{
    POINT p{x, y};
    ::ClientToScreen(hWnd, &p);
    return p;
}

inline bool ClickAt(POINT p, DWORD holdMs = 30)
{
    if (!MoveTo(p))
        return false;
    LeftDown();
    PumpFor(holdMs);
    LeftUp();
    PumpFor(30);
    return true;
}

// What the screen shows; drawing reaches the display asynchronously, so let it settle first.
inline COLORREF ScreenPixel(POINT p)
{
    ::GdiFlush();
    PumpFor(40);
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, p.x, p.y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

inline COLORREF ClientPixel(HWND hWnd, int x, int y)
{
    return ScreenPixel(ScreenPoint(hWnd, x, y));
}

// GDI+ for the length of a test program.
class GdiplusSession {
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_token, &input, nullptr);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(m_token); }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR m_token = 0;
};

// Saves a screen rectangle as a PNG file (GDI+ must be running).  True on success.
inline bool SaveScreenPng(const RECT& r, const std::wstring& path)
{
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    ::BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::SelectObject(mem, old);
    bool saved = false;
    {
        Gdiplus::Bitmap image(bitmap, nullptr);
        UINT count = 0;
        UINT size = 0;
        Gdiplus::GetImageEncodersSize(&count, &size);
        std::string buffer(size, '\0');
        auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(&buffer[0]);
        if (size && Gdiplus::GetImageEncoders(count, size, encoders) == Gdiplus::Ok) {
            for (UINT i = 0; i < count; ++i) {
                if (std::wstring(encoders[i].MimeType) == L"image/png") {
                    saved = image.Save(path.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
                    break;
                }
            }
        }
    }
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return saved;
}

}  // namespace guitest
