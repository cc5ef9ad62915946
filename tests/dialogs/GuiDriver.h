// Real input and read-back for the skinned dialog tests: a dialog runs modally on the test's
// thread while a driver thread finds its windows, moves the real pointer, clicks, presses
// keys and reads rectangles and screen pixels.
#pragma once

#include "support/GuiInput.h"
#include "support/ScreenCapture.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using guitest::CenterOf;
using guitest::ClickAt;
using guitest::Drag;
using guitest::LeftDown;
using guitest::LeftUp;
using guitest::MoveTo;
using guitest::PressKey;
using guitest::ProgramFolder;
using guitest::WaitUntil;

// Starts GDI+ for the test program once; the dialogs' images need it.
void EnsureGdiplus();

struct PairWindows {
    HWND background = nullptr;
    HWND content = nullptr;
};

// The visible pair of the given thread: the content window is the one owned by the other.
PairWindows FindVisiblePair(DWORD threadId);

// Runs the dialog's modal loop (run) on this thread.  Once a pair of this thread is visible and
// has painted, driver runs on a second thread; if the modal loop has not ended 1.5 s after it
// returns, endNow(pair) is called to end it.
INT_PTR RunModalWithDriver(const std::function<INT_PTR()>& run,
                           const std::function<void(const PairWindows&)>& driver,
                           const std::function<void(const PairWindows&)>& endNow);

POINT Offset(POINT p, int dx, int dy);
RECT WindowRectOf(HWND hWnd);
// A window's rectangle in the client coordinates of another window.
RECT RectIn(HWND hWnd, HWND reference);
RECT Rect(int left, int top, int right, int bottom);
SIZE SizeOf(const RECT& r);

// A copy of part of the screen.
class CScreenShot {
public:
    explicit CScreenShot(const RECT& screenArea);
    COLORREF At(int x, int y) const;  // coordinates inside the area
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool SavePng(const std::wstring& path) const;
    // Fraction of the pixels of sub (area coordinates) that match the PNG resource drawn over
    // it, each channel within tolerance.
    double MatchPng(const RECT& sub, UINT pngId, int tolerance = 24) const;
    // Whether the two shots differ in at least one pixel.
    bool DiffersFrom(const CScreenShot& other) const;

private:
    int m_width;
    int m_height;
    std::vector<DWORD> m_pixels;  // 0x00RRGGBB, top-down
};

// Runs this test program again, with only the tests that filter selects, at the given screen
// resolution (the per-user LogPixels setting, restored afterwards) and with DIALOG_TEST_DPI
// set in its environment.  Returns its exit code, or -1 when it could not be run.
int RunSelfAtDpi(DWORD dpi, const std::wstring& filter);
// Whether this process is such a child (then the test's GTEST_SKIP is not taken).
bool IsDpiChild();

// A light grey window over the whole screen, so that screenshots show the soft shadows.
HWND CreateLightBackdrop();
// Saves the whole screen as a PNG beside the test program.
bool SaveScreenPng(const std::wstring& name);
