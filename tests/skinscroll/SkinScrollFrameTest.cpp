// The skinning frame around a real rich edit control: structure, synchronisation with the
// control's own scrolling, forwarding of the bar's actions, the corner and the detach.
#include "skinscroll/SkinScrollWnd.h"

#include "support/GuiInput.h"
#include "support/ScreenCapture.h"
#include "skinscroll/SkinBarTestSupport.h"

#include <commctrl.h>
#include <richedit.h>
#include <gtest/gtest.h>

#include <string>

using bartest::CellColour;
using bartest::RecordingParent;
using namespace guitest;

namespace {

constexpr int kEditId = 1008;
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE |
                             ES_READONLY | ES_DISABLENOSCROLL;

std::wstring LongText(int lines)
{
    std::wstring text;
    for (int i = 1; i <= lines; ++i) {
        text += L"line " + std::to_wstring(i);
        if (i < lines)
            text += L"\r\n";
    }
    return text;
}

std::wstring WindowText(HWND hWnd)
{
    wchar_t text[64] = L"";
    ::GetWindowTextW(hWnd, text, 64);
    return text;
}

RECT RectInParent(HWND hWnd)
{
    RECT r;
    ::GetWindowRect(hWnd, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hWnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SCROLLINFO ScrollState(HWND hWnd, int bar)
{
    SCROLLINFO si{sizeof(si), SIF_ALL};
    ::GetScrollInfo(hWnd, bar, &si);
    return si;
}

class SkinScrollFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        wchar_t path[MAX_PATH];
        ::GetSystemDirectoryW(path, MAX_PATH);
        ::wcscat_s(path, L"\\riched20.dll");
        s_richEdit = ::LoadLibraryW(path);
        s_bitmap = bartest::MakeSkinBitmap();
    }
    static void TearDownTestSuite() { ::DeleteObject(s_bitmap); }

    void SetUp() override
    {
        ASSERT_NE(nullptr, s_richEdit);
        ASSERT_TRUE(MoveTo(5, 5));
        PumpFor(::GetDoubleClickTime() + 50);
        m_parent = new RecordingParent(100, 100, 400, 400, RGB(255, 0, 255));
    }
    void TearDown() override
    {
        delete m_parent;
        PumpFor(50);
        EXPECT_EQ(0, CSkinScrollWnd::LiveCount());
    }

    HWND MakeEdit(DWORD style, const std::wstring& text, RECT r = RECT{20, 20, 260, 220})
    {
        HWND edit = ::CreateWindowExW(0, L"RichEdit20W", L"", style, r.left, r.top, r.right - r.left,
                                      r.bottom - r.top, m_parent->m_hWnd,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)),
                                      ::GetModuleHandleW(nullptr), nullptr);
        ::SetWindowTextW(edit, text.c_str());
        return edit;
    }

    static HMODULE s_richEdit;
    static HBITMAP s_bitmap;
    RecordingParent* m_parent = nullptr;
};

HMODULE SkinScrollFrameTest::s_richEdit = nullptr;
HBITMAP SkinScrollFrameTest::s_bitmap = nullptr;

TEST_F(SkinScrollFrameTest, TheFrameTakesTheControlsPlaceAndClipsItsOwnBar)
{
    HWND edit = MakeEdit(kEditStyle, LongText(80));
    ASSERT_NE(nullptr, edit);
    CSkinScrollWnd* frame = AttachSkinScrollBars(edit, s_bitmap, 1.0f, 0);
    ASSERT_NE(nullptr, frame);
    PumpFor(100);

    // frame -> limiter -> control; the frame has the control's place, id and border.
    HWND limiter = ::GetParent(edit);
    ASSERT_EQ(frame->Limiter(), limiter);
    EXPECT_EQ(L"LIMIT", WindowText(limiter));
    EXPECT_EQ(200, ::GetDlgCtrlID(limiter));
    EXPECT_EQ(frame->m_hWnd, ::GetParent(limiter));
    EXPECT_EQ(m_parent->m_hWnd, ::GetParent(frame->m_hWnd));
    EXPECT_EQ(L"SkinScrollBarFrame", WindowText(frame->m_hWnd));
    EXPECT_EQ(kEditId, ::GetDlgCtrlID(frame->m_hWnd));
    EXPECT_EQ(frame, CSkinScrollWnd::FromControl(edit));
    RECT fr = RectInParent(frame->m_hWnd);
    EXPECT_EQ(20, fr.left);
    EXPECT_EQ(20, fr.top);
    EXPECT_EQ(260, fr.right);
    EXPECT_EQ(220, fr.bottom);
    const DWORD frameStyle = static_cast<DWORD>(::GetWindowLongW(frame->m_hWnd, GWL_STYLE));
    EXPECT_TRUE(frameStyle & WS_BORDER);
    EXPECT_TRUE(frameStyle & WS_VISIBLE);
    EXPECT_FALSE(::GetWindowLongW(edit, GWL_STYLE) & WS_BORDER);

    // Inside the 238 x 198 client: the control 4 pixels wider than the client, the limiter
    // leaving out the bar's thickness, the vertical bar where the control's own bar strip is.
    const int T = 13;
    EXPECT_EQ(T, frame->BarThickness());
    RECT client;
    ::GetClientRect(frame->m_hWnd, &client);
    ASSERT_EQ(238, client.right);
    ASSERT_EQ(198, client.bottom);
    RECT er = RectInParent(edit);
    EXPECT_EQ(0, er.left);
    EXPECT_EQ(0, er.top);
    EXPECT_EQ(242, er.right);
    EXPECT_EQ(198, er.bottom);
    RECT ec;
    ::GetClientRect(edit, &ec);
    EXPECT_EQ(242 - T, ec.right);  // the control's own bar strip shrank to T
    RECT lr = RectInParent(limiter);
    EXPECT_EQ(0, lr.left);
    EXPECT_EQ(238 - T, lr.right);
    EXPECT_EQ(198, lr.bottom);

    HWND vbar = ::GetDlgItem(frame->m_hWnd, 101);
    HWND hbar = ::GetDlgItem(frame->m_hWnd, 100);
    ASSERT_EQ(frame->VerticalBar().m_hWnd, vbar);
    ASSERT_EQ(frame->HorizontalBar().m_hWnd, hbar);
    EXPECT_TRUE(::GetWindowLongW(vbar, GWL_STYLE) & SBS_VERT);
    EXPECT_TRUE(::IsWindowVisible(vbar));
    EXPECT_FALSE(::IsWindowVisible(hbar));
    RECT vr = RectInParent(vbar);
    EXPECT_EQ(242 - T, vr.left);
    EXPECT_EQ(242, vr.right);
    EXPECT_EQ(0, vr.top);
    EXPECT_EQ(198, vr.bottom);
    EXPECT_EQ(0, frame->Corner());
    // The skinned bar shows its cells, not the control's own bar.
    EXPECT_EQ(CellColour(0, 0), ClientPixel(vbar, 6, 6));
    EXPECT_EQ(CellColour(1, 0), ClientPixel(vbar, 6, 190));
}

TEST_F(SkinScrollFrameTest, TextThatFitsGivesADisabledBarAndLongTextAnEnabledOne)
{
    HWND shortEdit = MakeEdit(kEditStyle, L"one line", RECT{20, 20, 180, 200});
    HWND longEdit = MakeEdit(kEditStyle, LongText(80), RECT{200, 20, 360, 200});
    CSkinScrollWnd* shortFrame = AttachSkinScrollBars(shortEdit, s_bitmap, 1.0f, 0);
    CSkinScrollWnd* longFrame = AttachSkinScrollBars(longEdit, s_bitmap, 1.0f, 0);
    ASSERT_NE(nullptr, shortFrame);
    ASSERT_NE(nullptr, longFrame);
    PumpFor(700);
    EXPECT_FALSE(shortFrame->VerticalBar().IsWindowEnabled());
    // A disabled bar shows its arrows and an empty track.
    HWND shortBar = shortFrame->VerticalBar().m_hWnd;
    for (int y = 13; y < 160; y += 7)
        EXPECT_EQ(CellColour(3, 0), ClientPixel(shortBar, 6, y)) << y;
    EXPECT_TRUE(longFrame->VerticalBar().IsWindowEnabled());

    const SCROLLINFO control = ScrollState(longEdit, SB_VERT);
    const SCROLLINFO bar = ScrollState(longFrame->VerticalBar().m_hWnd, SB_CTL);
    EXPECT_GT(control.nMax, static_cast<int>(control.nPage));
    EXPECT_EQ(control.nMax, bar.nMax);
    EXPECT_EQ(control.nPage, bar.nPage);
    EXPECT_EQ(control.nPos, bar.nPos);

    // Text set later is caught up as well.
    ::SetWindowTextW(shortEdit, LongText(80).c_str());
    PumpFor(700);
    EXPECT_TRUE(shortFrame->VerticalBar().IsWindowEnabled());
}

TEST_F(SkinScrollFrameTest, TheThumbFollowsWheelScrollingWithinHalfASecond)
{
    HWND edit = MakeEdit(kEditStyle, LongText(120));
    CSkinScrollWnd* frame = AttachSkinScrollBars(edit, s_bitmap, 1.0f, 0);
    ASSERT_NE(nullptr, frame);
    PumpFor(200);
    HWND vbar = frame->VerticalBar().m_hWnd;
    const RECT thumbBefore = frame->VerticalBar().PartRect(SB_THUMBTRACK);
    EXPECT_EQ(13, thumbBefore.top);

    ::SetFocus(edit);
    ASSERT_TRUE(MoveTo(ScreenPoint(edit, 60, 60)));
    Wheel(-3);
    const ULONGLONG wheeled = Now();
    ASSERT_TRUE(PumpUntil([&] { return ScrollState(edit, SB_VERT).nPos > 0; }, 1000));
    const int controlPos = ScrollState(edit, SB_VERT).nPos;
    EXPECT_TRUE(PumpUntil([&] { return ScrollState(vbar, SB_CTL).nPos == ScrollState(edit, SB_VERT).nPos; },
                          600));
    EXPECT_LE(Now() - wheeled, 700u);
    EXPECT_GT(controlPos, 0);
    const RECT thumbAfter = frame->VerticalBar().PartRect(SB_THUMBTRACK);
    EXPECT_GT(thumbAfter.top, thumbBefore.top);
    EXPECT_EQ(CellColour(2, 0), ClientPixel(vbar, 6, (thumbAfter.top + thumbAfter.bottom) / 2));
}

TEST_F(SkinScrollFrameTest, DraggingTheThumbScrollsTheTextLive)
{
    HWND edit = MakeEdit(kEditStyle, LongText(120));
    CSkinScrollWnd* frame = AttachSkinScrollBars(edit, s_bitmap, 1.0f, 0);
    ASSERT_NE(nullptr, frame);
    PumpFor(200);
    CSkinScrollBar& bar = frame->VerticalBar();
    const RECT thumb = bar.PartRect(SB_THUMBTRACK);
    const POINT grab = ScreenPoint(bar.m_hWnd, 6, (thumb.top + thumb.bottom) / 2);
    ASSERT_EQ(0, ::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));

    ASSERT_TRUE(MoveTo(grab));
    LeftDown();
    PumpFor(50);
    ASSERT_TRUE(MoveTo(grab.x, grab.y + 60));
    PumpFor(100);
    // Still held: the text has scrolled, and the bar keeps its tracked position.
    const int lineWhileHeld = static_cast<int>(::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    EXPECT_GT(lineWhileHeld, 0);
    SCROLLINFO held{sizeof(held), SIF_POS | SIF_TRACKPOS};
    ::GetScrollInfo(bar.m_hWnd, SB_CTL, &held);
    EXPECT_GT(held.nTrackPos, 0);
    EXPECT_EQ(0, held.nPos);
    EXPECT_EQ(held.nTrackPos, ScrollState(edit, SB_VERT).nPos);
    PumpFor(600);  // the frame's timer does not touch a bar being dragged
    ::GetScrollInfo(bar.m_hWnd, SB_CTL, &held);
    EXPECT_EQ(0, held.nPos);

    ASSERT_TRUE(MoveTo(grab.x, grab.y + 120));
    PumpFor(100);
    EXPECT_GT(::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0), lineWhileHeld);
    LeftUp();
    PumpFor(100);
    const SCROLLINFO control = ScrollState(edit, SB_VERT);
    const SCROLLINFO shown = ScrollState(bar.m_hWnd, SB_CTL);
    EXPECT_GT(control.nPos, 0);
    EXPECT_EQ(control.nPos, shown.nPos);
    EXPECT_EQ(-1, shown.nTrackPos);
}

TEST_F(SkinScrollFrameTest, ArrowAndPageClicksScrollTheControl)
{
    HWND edit = MakeEdit(kEditStyle, LongText(120));
    CSkinScrollWnd* frame = AttachSkinScrollBars(edit, s_bitmap, 1.0f, 0);
    ASSERT_NE(nullptr, frame);
    PumpFor(200);
    HWND vbar = frame->VerticalBar().m_hWnd;
    RECT bar;
    ::GetClientRect(vbar, &bar);
    ASSERT_TRUE(ClickAt(ScreenPoint(vbar, 6, bar.bottom - 6)));
    PumpFor(100);
    const int afterLine = ScrollState(edit, SB_VERT).nPos;
    EXPECT_GT(afterLine, 0);
    EXPECT_EQ(afterLine, ScrollState(vbar, SB_CTL).nPos);
    EXPECT_EQ(1, ::SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));

    PumpFor(::GetDoubleClickTime() + 50);
    ASSERT_TRUE(ClickAt(ScreenPoint(vbar, 6, bar.bottom - 40)));  // the track below the thumb
    PumpFor(100);
    const int afterPage = ScrollState(edit, SB_VERT).nPos;
    EXPECT_GE(afterPage - afterLine, static_cast<int>(ScrollState(edit, SB_VERT).nPage) / 2);
    EXPECT_EQ(afterPage, ScrollState(vbar, SB_CTL).nPos);
}

TEST_F(SkinScrollFrameTest, BothBarsMeetAtAPaintedCorner)
{
    HWND edit = MakeEdit(kEditStyle | WS_HSCROLL, LongText(120) + L" " + std::wstring(200, L'x'));
    CSkinScrollWnd* frame = AttachSkinScrollBars(edit, s_bitmap, 1.0f, 0);
    ASSERT_NE(nullptr, frame);
    ::InvalidateRect(frame->m_hWnd, nullptr, TRUE);
    PumpFor(200);
    EXPECT_EQ(2, frame->Corner());
    EXPECT_TRUE(::IsWindowVisible(frame->HorizontalBar().m_hWnd));
    RECT client;
    ::GetClientRect(frame->m_hWnd, &client);
    EXPECT_EQ(CellColour(8, 0), ClientPixel(frame->m_hWnd, client.right - 3, client.bottom - 3));
    RECT lr = RectInParent(frame->Limiter());
    EXPECT_EQ(client.bottom - 13, lr.bottom);
}

TEST_F(SkinScrollFrameTest, TheBarsTakeTheScaledThickness)
{
    HWND edit = MakeEdit(kEditStyle, LongText(80));
    CSkinScrollWnd* frame = AttachSkinScrollBars(edit, s_bitmap, 1.5f, 0);
    ASSERT_NE(nullptr, frame);
    PumpFor(100);
    EXPECT_EQ(19, frame->BarThickness());
    RECT vr;
    ::GetClientRect(frame->VerticalBar().m_hWnd, &vr);
    EXPECT_EQ(19, vr.right);
    EXPECT_EQ(238 - 19, RectInParent(frame->Limiter()).right);
}

// Records where the control is when its own WM_DESTROY arrives (below the frame's hook).
LRESULT CALLBACK RecordDestroy(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    if (msg == WM_DESTROY) {
        auto* where = reinterpret_cast<std::pair<HWND, RECT>*>(data);
        where->first = ::GetParent(hWnd);
        where->second = RectInParent(hWnd);
    }
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}

TEST_F(SkinScrollFrameTest, DestroyingTheControlDetachesAndFreesTheFrame)
{
    HWND edit = MakeEdit(kEditStyle, LongText(80));
    std::pair<HWND, RECT> where{nullptr, RECT{}};
    ::SetWindowSubclass(edit, RecordDestroy, 1, reinterpret_cast<DWORD_PTR>(&where));
    CSkinScrollWnd* frame = AttachSkinScrollBars(edit, s_bitmap, 1.0f, 0);
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(1, CSkinScrollWnd::LiveCount());
    HWND frameWnd = frame->m_hWnd;
    HWND limiter = frame->Limiter();
    HWND vbar = frame->VerticalBar().m_hWnd;
    PumpFor(100);

    ::DestroyWindow(edit);
    PumpFor(100);
    EXPECT_EQ(0, CSkinScrollWnd::LiveCount());
    EXPECT_FALSE(::IsWindow(frameWnd));
    EXPECT_FALSE(::IsWindow(limiter));
    EXPECT_FALSE(::IsWindow(vbar));
    // Back in its old parent, at the frame's place, when its own handling of WM_DESTROY ran.
    EXPECT_EQ(m_parent->m_hWnd, where.first);
    EXPECT_EQ(20, where.second.left);
    EXPECT_EQ(20, where.second.top);
    EXPECT_EQ(260, where.second.right);
    EXPECT_EQ(220, where.second.bottom);
}

TEST_F(SkinScrollFrameTest, DestroyingTheWholeWindowFreesTheFrame)
{
    HWND edit = MakeEdit(kEditStyle, LongText(80));
    ASSERT_NE(nullptr, AttachSkinScrollBars(edit, s_bitmap, 1.0f, 0));
    HWND edit2 = MakeEdit(kEditStyle, L"short", RECT{280, 20, 380, 120});
    ASSERT_NE(nullptr, AttachSkinScrollBars(edit2, s_bitmap, 1.0f, 0));
    EXPECT_EQ(2, CSkinScrollWnd::LiveCount());
    PumpFor(100);
    ::DestroyWindow(m_parent->m_hWnd);
    PumpFor(100);
    EXPECT_EQ(0, CSkinScrollWnd::LiveCount());
    EXPECT_FALSE(::IsWindow(edit));
}

TEST_F(SkinScrollFrameTest, AControlThatIsAlreadyWrappedOrMissingIsRefused)
{
    HWND edit = MakeEdit(kEditStyle, LongText(10));
    ASSERT_NE(nullptr, AttachSkinScrollBars(edit, s_bitmap, 1.0f, 0));
    EXPECT_EQ(nullptr, AttachSkinScrollBars(edit, s_bitmap, 1.0f, 0));
    EXPECT_EQ(nullptr, AttachSkinScrollBars(nullptr, s_bitmap, 1.0f, 0));
    EXPECT_EQ(1, CSkinScrollWnd::LiveCount());
}

}  // namespace
