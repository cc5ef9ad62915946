// The panel is whole behind the usage notice even when the start is slow: its frame, which
// shows the same art without any control, must never lie over it.
#include "ToolWindows.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// How many pixels of a screen rectangle are within tolerance of the colour.
int CountNear(const RECT& area, COLORREF color, int tolerance)
{
    HDC screen = ::GetDC(nullptr);
    HDC memDC = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, Width(area), Height(area));
    HGDIOBJ previous = ::SelectObject(memDC, bitmap);
    ::BitBlt(memDC, 0, 0, Width(area), Height(area), screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
    int count = 0;
    for (int y = 0; y < Height(area); ++y)
        for (int x = 0; x < Width(area); ++x)
            count += guitest::NearColor(::GetPixel(memDC, x, y), color, tolerance) ? 1 : 0;
    ::SelectObject(memDC, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memDC);
    ::ReleaseDC(nullptr, screen);
    return count;
}

}  // namespace

TEST(FirstPaint, ASlowStartShowsTheVersionAndTheAgreeBoxBehindTheNotice)
{
    CToolRun tool(L"Downloads", ToolOptions{});
    ASSERT_TRUE(tool.Start());
    // A fifth of the speed for the first seconds: the start-up check's timer comes due while
    // the windows are still being shown, as on a first start that builds its caches.
    std::thread slow([&] { tool.Throttle(4000, 4, 20); });
    HWND notice = WaitPrompt(tool, kNotice, 20000);
    slow.join();
    ASSERT_TRUE(notice);
    HWND panel = FindPanel(tool.ProcessId());
    ASSERT_TRUE(panel);
    ::Sleep(1500);  // time for every paint and restacking there is to come
    Screenshot(L"first_start_slow_notice");

    RECT version = RectOf(ChildById(panel, IDC_STATIC_VERSION));
    EXPECT_GT(CountNear(version, RGB(255, 255, 255), 40), 8) << "the version's white text";
    RECT agree = RectOf(ChildById(panel, IDC_CHECK_AGREE));
    agree.right = agree.left + 16;
    EXPECT_GT(CountNear(agree, RGB(255, 255, 255), 8), 0);
    EXPECT_LT(CountNear(agree, RGB(255, 255, 255), 8), 16 * 20 / 2) << "the ticked box, not blank";
    ASSERT_TRUE(ClosePrompt(tool, notice));
}
