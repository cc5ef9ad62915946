// Reading back what windows and the screen show: pixels, and screenshots saved as PNG files
// with GDI+ (which must be running: see GdiplusSession).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace guitest {

// GDI+ for as long as the object lives.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

private:
    ULONG_PTR m_token = 0;
};

// What the screen shows; drawing reaches the display asynchronously, so it settles first.
COLORREF ScreenPixel(POINT p);
// The same for a client point of the window.
COLORREF ClientPixel(HWND hWnd, int x, int y);
// A client pixel read from the window's own DC (copied out first: GetPixel on the window
// itself fails where the window is covered).
COLORREF WindowDcPixel(HWND hWnd, int x, int y);
// Whether two colours are within tolerance on every channel.
bool NearColor(COLORREF a, COLORREF b, int tolerance = 12);
std::wstring ColorText(COLORREF c);

bool PngEncoder(CLSID* clsid);
// Saves the bitmap (not selected into any DC) as a PNG file.
bool SaveBitmapPng(HBITMAP bitmap, const std::wstring& path);
// Saves a rectangle of a DC as a PNG file; rop is the BitBlt operation that copies it.
bool SaveDcPng(HDC source, const RECT& area, const std::wstring& path, DWORD rop = SRCCOPY);
// Saves a screen rectangle, or the whole screen, as a PNG file.  True on success.
bool SaveScreenPng(const RECT& area, const std::wstring& path);
bool SaveScreenPng(const std::wstring& path);
// Saves the window's client area, read from its DC.
bool SaveWindowPng(HWND hWnd, const std::wstring& path);
RECT ScreenRect();
// Pixels of a 32-bit top-down DIB section filled by draw, without their alpha byte.
std::vector<DWORD> RenderPixels(int width, int height, const std::function<void(HDC)>& draw);

// Waits until a person could see the window: visible, in place, and the screen there shows a
// settled picture of it. A window is drawn on the display some time after it turns visible
// (long after, on a slow or emulated machine), and nobody presses what is not shown yet.
bool WaitOnScreen(HWND hWnd, DWORD timeoutMs = 60000);
// Waits until a screen rectangle shows the same picture twice in a row.
bool WaitScreenSettled(const RECT& area, DWORD timeoutMs = 60000);

// The folder the running program lies in, with a trailing backslash.
std::wstring ProgramFolder();

}  // namespace guitest
