// A real skinned bar on the screen, driven with real pointer input; its parent records what
// the bar sends.
#include "skinscroll/SkinScrollBar.h"

#include "support/GuiInput.h"
#include "support/ScreenCapture.h"
#include "skinscroll/SkinBarTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using bartest::CellColour;
using bartest::RecordingParent;
using namespace guitest;

namespace {

constexpr COLORREF kParentColour = RGB(255, 0, 255);

class SkinScrollBarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_bitmap = bartest::MakeSkinBitmap();
        s_parent = new RecordingParent(100, 100, 320, 320, kParentColour);
        s_vertical = new CSkinScrollBar;
        s_vertical->Create(WS_CHILD | WS_VISIBLE | SBS_VERT, RECT{20, 20, 40, 220}, s_parent->m_hWnd, 101);
        s_vertical->SetSkinBitmap(s_bitmap);
        s_horizontal = new CSkinScrollBar;
        s_horizontal->Create(WS_CHILD | WS_VISIBLE, RECT{60, 260, 260, 290}, s_parent->m_hWnd, 100);
        s_horizontal->SetSkinBitmap(s_bitmap);
        PumpFor(200);
    }
    static void TearDownTestSuite()
    {
        delete s_vertical;
        delete s_horizontal;
        delete s_parent;
        ::DeleteObject(s_bitmap);
    }
    void SetUp() override
    {
        ASSERT_TRUE(MoveTo(5, 5));  // away from the bars: no hover look
        // The first press of a test must not end a double click of the test before.
        PumpFor(::GetDoubleClickTime() + 50);
        s_parent->m_answer = true;
        s_parent->Reset(s_vertical->m_hWnd, 99, 10, 0, 90);
        PumpFor(50);
        s_parent->m_log.clear();
    }

    static POINT OnBar(int along, HWND bar = nullptr)
    {
        return ScreenPoint(bar ? bar : s_vertical->m_hWnd, 6, along);
    }
    static COLORREF BarPixel(int along)
    {
        return ScreenPixel(OnBar(along));
    }

    static HBITMAP s_bitmap;
    static RecordingParent* s_parent;
    static CSkinScrollBar* s_vertical;
    static CSkinScrollBar* s_horizontal;
};

HBITMAP SkinScrollBarTest::s_bitmap = nullptr;
RecordingParent* SkinScrollBarTest::s_parent = nullptr;
CSkinScrollBar* SkinScrollBarTest::s_vertical = nullptr;
CSkinScrollBar* SkinScrollBarTest::s_horizontal = nullptr;

TEST_F(SkinScrollBarTest, TakesTheCellSizeAsThicknessAndPaintsFromTheCells)
{
    RECT r;
    ::GetClientRect(s_vertical->m_hWnd, &r);
    EXPECT_EQ(13, r.right);
    EXPECT_EQ(200, r.bottom);
    ::GetClientRect(s_horizontal->m_hWnd, &r);
    EXPECT_EQ(200, r.right);
    EXPECT_EQ(13, r.bottom);

    // L = 200, range 0..99, page 10: thumb [13, 30), track to 187.
    EXPECT_EQ(CellColour(0, 0), BarPixel(6));
    EXPECT_EQ(CellColour(2, 0), BarPixel(13));
    EXPECT_EQ(CellColour(2, 0), BarPixel(29));
    EXPECT_EQ(CellColour(3, 0), BarPixel(30));
    EXPECT_EQ(CellColour(3, 0), BarPixel(186));
    EXPECT_EQ(CellColour(1, 0), BarPixel(187));
    EXPECT_EQ(CellColour(1, 0), BarPixel(199));

    s_parent->Reset(s_horizontal->m_hWnd, 99, 10, 45, 90);  // thumb [91, 108)
    HWND h = s_horizontal->m_hWnd;
    EXPECT_EQ(CellColour(4, 0), ScreenPixel(ScreenPoint(h, 6, 6)));
    EXPECT_EQ(CellColour(7, 0), ScreenPixel(ScreenPoint(h, 90, 6)));
    EXPECT_EQ(CellColour(6, 0), ScreenPixel(ScreenPoint(h, 91, 6)));
    EXPECT_EQ(CellColour(6, 0), ScreenPixel(ScreenPoint(h, 107, 6)));
    EXPECT_EQ(CellColour(7, 0), ScreenPixel(ScreenPoint(h, 108, 6)));
    EXPECT_EQ(CellColour(5, 0), ScreenPixel(ScreenPoint(h, 195, 6)));
}

TEST_F(SkinScrollBarTest, ReportsTheScrollStateItWasGiven)
{
    s_parent->Reset(s_vertical->m_hWnd, 250, 30, 17, 221);
    SCROLLINFO si{sizeof(si), SIF_ALL};
    ASSERT_TRUE(::GetScrollInfo(s_vertical->m_hWnd, SB_CTL, &si));
    EXPECT_EQ(0, si.nMin);
    EXPECT_EQ(250, si.nMax);
    EXPECT_EQ(30u, si.nPage);
    EXPECT_EQ(17, si.nPos);
    EXPECT_EQ(-1, si.nTrackPos);
    // Only what the mask names is taken.
    SCROLLINFO pos{sizeof(pos), SIF_POS};
    pos.nPos = 40;
    pos.nMax = 5;
    ::SetScrollInfo(s_vertical->m_hWnd, SB_CTL, &pos, FALSE);
    ASSERT_TRUE(::GetScrollInfo(s_vertical->m_hWnd, SB_CTL, &si));
    EXPECT_EQ(250, si.nMax);
    EXPECT_EQ(40, si.nPos);
    EXPECT_EQ(1, ::SendMessageW(s_vertical->m_hWnd, SBM_SETSCROLLINFO, FALSE, reinterpret_cast<LPARAM>(&pos)));
}

TEST_F(SkinScrollBarTest, AClickOnEachPartSendsItsCodeOnce)
{
    s_parent->Reset(s_vertical->m_hWnd, 99, 10, 45, 90);  // thumb [91, 108)
    ASSERT_TRUE(ClickAt(OnBar(6)));
    ASSERT_TRUE(ClickAt(OnBar(50)));
    ASSERT_TRUE(ClickAt(OnBar(150)));
    ASSERT_TRUE(ClickAt(OnBar(195)));
    PumpFor(100);
    const auto& log = s_parent->m_log;
    ASSERT_EQ(4u, log.size());
    EXPECT_EQ(SB_LINEUP, log[0].code);
    EXPECT_EQ(SB_PAGEUP, log[1].code);
    EXPECT_EQ(SB_PAGEDOWN, log[2].code);
    EXPECT_EQ(SB_LINEDOWN, log[3].code);
    for (const auto& e : log) {
        EXPECT_EQ(static_cast<UINT>(WM_VSCROLL), e.msg);
        EXPECT_EQ(s_vertical->m_hWnd, e.bar);
        EXPECT_EQ(0, e.position);
    }
    EXPECT_EQ(45, s_parent->m_pos);  // -1, -10, +10, +1

    s_parent->Reset(s_horizontal->m_hWnd, 99, 10, 0, 90);
    ASSERT_TRUE(ClickAt(ScreenPoint(s_horizontal->m_hWnd, 195, 6)));
    PumpFor(100);
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ(static_cast<UINT>(WM_HSCROLL), log[0].msg);
    EXPECT_EQ(SB_LINEDOWN, log[0].code);
    EXPECT_EQ(s_horizontal->m_hWnd, log[0].bar);
}

TEST_F(SkinScrollBarTest, TheSecondClickOfADoubleClickDoesNothing)
{
    const POINT down = OnBar(195);
    ASSERT_TRUE(MoveTo(down));
    LeftDown();
    PumpFor(20);
    LeftUp();
    PumpFor(40);
    LeftDown();
    PumpFor(20);
    LeftUp();
    PumpFor(100);
    EXPECT_EQ(1u, s_parent->m_log.size());
    PumpFor(::GetDoubleClickTime() + 100);
    ASSERT_TRUE(ClickAt(down));
    EXPECT_EQ(2u, s_parent->m_log.size());
}

TEST_F(SkinScrollBarTest, AHeldArrowRepeatsAfterTheDelayAndStopsAtTheMaximum)
{
    // Page 0: positions up to nMax = 8 are reachable.
    s_parent->Reset(s_vertical->m_hWnd, 8, 0, 0, 8);
    ASSERT_TRUE(MoveTo(OnBar(195)));
    const ULONGLONG pressed = Now();
    LeftDown();
    PumpFor(2000);
    LeftUp();
    PumpFor(300);
    const auto& log = s_parent->m_log;
    ASSERT_EQ(8u, log.size());  // 0 -> 8, then the repeat stops
    for (const auto& e : log)
        EXPECT_EQ(SB_LINEDOWN, e.code);
    EXPECT_LT(log[0].time - pressed, 150u);
    const ULONGLONG delay = log[1].time - log[0].time;
    EXPECT_GE(delay, 480u);
    EXPECT_LE(delay, 650u);
    for (size_t i = 2; i < log.size(); ++i) {
        const ULONGLONG gap = log[i].time - log[i - 1].time;
        EXPECT_GE(gap, 60u) << i;
        EXPECT_LE(gap, 200u) << i;
    }
    const ULONGLONG average = (log.back().time - log[1].time) / (log.size() - 2);
    EXPECT_GE(average, 85u);
    EXPECT_LE(average, 140u);
    EXPECT_EQ(8, s_parent->m_pos);
}

TEST_F(SkinScrollBarTest, APageSizedRangeEndsBelowTheMaximumSoTheArrowKeepsRepeating)
{
    s_parent->Reset(s_vertical->m_hWnd, 99, 10, 88, 90);
    ASSERT_TRUE(MoveTo(OnBar(195)));
    LeftDown();
    PumpFor(1300);
    LeftUp();
    PumpFor(200);
    // Press, 500 ms, then every 100 ms: about 10, although the position stopped at 90 after two.
    EXPECT_GE(s_parent->Count(SB_LINEDOWN), 7);
    EXPECT_EQ(90, s_parent->m_pos);
}

TEST_F(SkinScrollBarTest, MovingOffAHeldArrowPausesTheRepeatAndMovingBackResumesIt)
{
    const POINT arrow = OnBar(195);
    ASSERT_TRUE(MoveTo(arrow));
    LeftDown();
    PumpFor(150);
    EXPECT_EQ(CellColour(1, 2), ScreenPixel(arrow));  // pressed
    PumpFor(600);
    const size_t beforeLeaving = s_parent->m_log.size();
    EXPECT_GE(beforeLeaving, 2u);

    ASSERT_TRUE(MoveTo(arrow.x + 80, arrow.y));
    PumpFor(50);
    const size_t whenLeft = s_parent->m_log.size();
    EXPECT_EQ(CellColour(1, 0), ScreenPixel(arrow));  // normal while the pointer is off it
    PumpFor(600);
    EXPECT_EQ(whenLeft, s_parent->m_log.size());

    ASSERT_TRUE(MoveTo(arrow));
    PumpFor(50);
    EXPECT_EQ(CellColour(1, 2), ScreenPixel(arrow));
    PumpFor(500);
    const size_t resumed = s_parent->m_log.size() - whenLeft;
    EXPECT_GE(resumed, 3u);
    EXPECT_LE(resumed, 7u);
    LeftUp();
    PumpFor(50);
    const size_t released = s_parent->m_log.size();
    PumpFor(400);
    EXPECT_EQ(released, s_parent->m_log.size());
    EXPECT_EQ(CellColour(1, 0), ScreenPixel(arrow));
}

TEST_F(SkinScrollBarTest, AHeldPageClickStopsWhenTheThumbReachesThePointer)
{
    // Thumb [13 + o, 30 + o) with o = 157 * pos / 90: it covers y = 150 from pos 70 on.
    ASSERT_TRUE(MoveTo(OnBar(150)));
    LeftDown();
    PumpFor(2000);
    LeftUp();
    PumpFor(200);
    EXPECT_EQ(7, s_parent->Count(SB_PAGEDOWN));
    EXPECT_EQ(7u, s_parent->m_log.size());
    EXPECT_EQ(70, s_parent->m_pos);
    EXPECT_EQ(CellColour(2, 1), BarPixel(150));  // the thumb under the pointer is hot
    EXPECT_EQ(CellColour(3, 0), BarPixel(133));

    // And back up from below the pointer.
    s_parent->m_log.clear();
    ASSERT_TRUE(MoveTo(OnBar(40)));
    LeftDown();
    PumpFor(1500);
    LeftUp();
    PumpFor(200);
    // Thumb covers y = 40 (or has passed it) at pos 10: o = 17, [30, 47).
    EXPECT_EQ(6, s_parent->Count(SB_PAGEUP));
    EXPECT_EQ(10, s_parent->m_pos);
}

TEST_F(SkinScrollBarTest, ADragTracksLiveClampsAtBothEndsAndResumesFromItsStart)
{
    // pos 0: thumb [13, 30); r = 90, f = 157.
    const POINT grab = OnBar(20);
    ASSERT_TRUE(MoveTo(grab));
    LeftDown();
    PumpFor(50);
    EXPECT_TRUE(s_parent->m_log.empty());  // a press on the thumb sends nothing yet

    ASSERT_TRUE(MoveTo(grab.x, grab.y + 78));  // 90 * 78 / 157 = 44
    PumpFor(50);
    EXPECT_EQ(CellColour(2, 2), BarPixel(97));  // thumb at [89, 106), pressed look
    EXPECT_EQ(CellColour(3, 0), BarPixel(20));  // the uncovered strip is track again
    ASSERT_TRUE(MoveTo(grab.x, grab.y - 100));
    PumpFor(50);
    ASSERT_TRUE(MoveTo(grab.x + 40, grab.y + 400));  // past the end, and off the bar sideways
    PumpFor(50);
    ASSERT_TRUE(MoveTo(grab.x, grab.y + 78));
    PumpFor(50);
    LeftUp();
    PumpFor(100);

    const auto& log = s_parent->m_log;
    ASSERT_EQ(5u, log.size());
    const int codes[] = {SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION};
    const int positions[] = {44, 0, 90, 44, 44};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(codes[i], log[i].code) << i;
        EXPECT_EQ(positions[i], log[i].position) << i;
        EXPECT_EQ(positions[i], log[i].trackPos) << i;  // SIF_TRACKPOS during the drag
    }
    EXPECT_EQ(44, s_parent->m_pos);
    SCROLLINFO si{sizeof(si), SIF_POS | SIF_TRACKPOS};
    ::GetScrollInfo(s_vertical->m_hWnd, SB_CTL, &si);
    EXPECT_EQ(44, si.nPos);
    EXPECT_EQ(-1, si.nTrackPos);
    EXPECT_EQ(CellColour(2, 1), BarPixel(97));  // under the pointer: hot
}

TEST_F(SkinScrollBarTest, ADragThatTheParentIgnoresPutsTheThumbBack)
{
    s_parent->m_answer = false;
    const POINT grab = OnBar(20);
    ASSERT_TRUE(MoveTo(grab));
    LeftDown();
    PumpFor(30);
    ASSERT_TRUE(MoveTo(grab.x, grab.y + 78));
    PumpFor(50);
    LeftUp();
    PumpFor(100);
    ASSERT_EQ(2u, s_parent->m_log.size());
    EXPECT_EQ(SB_THUMBPOSITION, s_parent->m_log[1].code);
    EXPECT_EQ(CellColour(3, 0), BarPixel(97));  // the tracked place is track again
    EXPECT_EQ(CellColour(2, 0), BarPixel(20));  // the thumb is back at nPos
}

TEST_F(SkinScrollBarTest, AClickOnTheThumbSendsOnlyThePositionUnchanged)
{
    s_parent->Reset(s_vertical->m_hWnd, 99, 10, 45, 90);  // thumb [91, 108)
    ASSERT_TRUE(ClickAt(OnBar(100)));
    PumpFor(100);
    const auto& log = s_parent->m_log;
    ASSERT_EQ(1u, log.size());
    EXPECT_EQ(SB_THUMBPOSITION, log[0].code);
    EXPECT_EQ(45, log[0].position);
    EXPECT_EQ(45, s_parent->m_pos);
}

TEST_F(SkinScrollBarTest, HoverLooksFollowThePointerAndSurviveScrollUpdates)
{
    ASSERT_TRUE(MoveTo(OnBar(195)));
    PumpFor(50);
    EXPECT_EQ(CellColour(1, 1), BarPixel(195));
    ASSERT_TRUE(MoveTo(OnBar(20)));
    PumpFor(50);
    EXPECT_EQ(CellColour(1, 0), BarPixel(195));
    EXPECT_EQ(CellColour(2, 1), BarPixel(20));
    ASSERT_TRUE(MoveTo(OnBar(100)));  // page regions have no hover look
    PumpFor(50);
    EXPECT_EQ(CellColour(2, 0), BarPixel(20));
    EXPECT_EQ(CellColour(3, 0), BarPixel(100));

    ASSERT_TRUE(MoveTo(OnBar(6)));
    PumpFor(50);
    EXPECT_EQ(CellColour(0, 1), BarPixel(6));
    // A new position repaints the track and thumb but not the arrows.
    SCROLLINFO si{sizeof(si), SIF_POS};
    si.nPos = 45;
    ::SetScrollInfo(s_vertical->m_hWnd, SB_CTL, &si, TRUE);
    PumpFor(50);
    EXPECT_EQ(CellColour(0, 1), BarPixel(6));
    EXPECT_EQ(CellColour(2, 0), BarPixel(100));
    EXPECT_EQ(CellColour(3, 0), BarPixel(20));

    // Leaving the window removes the hover look.
    ASSERT_TRUE(MoveTo(5, 5));
    PumpFor(100);
    EXPECT_EQ(CellColour(0, 0), BarPixel(6));
}

TEST_F(SkinScrollBarTest, LosingTheCaptureEndsAHeldPress)
{
    ASSERT_TRUE(MoveTo(OnBar(195)));
    LeftDown();
    PumpFor(100);
    ::SetCapture(s_parent->m_hWnd);  // another window takes the mouse
    PumpFor(900);
    EXPECT_EQ(1u, s_parent->m_log.size());
    EXPECT_EQ(CellColour(1, 0), BarPixel(195));
    LeftUp();
    ::ReleaseCapture();
    PumpFor(50);
}

TEST(SkinScrollBarWithoutBitmap, PaintsNothing)
{
    RecordingParent parent(500, 100, 100, 260, kParentColour);
    CSkinScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, RECT{20, 20, 33, 220}, parent.m_hWnd, 101));
    ::InvalidateRect(parent.m_hWnd, nullptr, TRUE);
    PumpFor(200);
    RECT update;
    EXPECT_FALSE(::GetUpdateRect(bar.m_hWnd, &update, FALSE));
    EXPECT_EQ(kParentColour, ClientPixel(bar.m_hWnd, 6, 6));
    EXPECT_EQ(kParentColour, ClientPixel(bar.m_hWnd, 6, 100));
}

}  // namespace
