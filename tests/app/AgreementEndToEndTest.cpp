// The agreement bubble on the running tool: the link opens and closes it, a press anywhere
// outside it closes it, a press inside keeps it, and it keeps its place and its scroll position.
#include "ToolWindows.h"
#include "support/GuiInput.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

int FirstVisibleLine(const CBubble& b)
{
    return static_cast<int>(::SendMessageW(b.edit, EM_GETFIRSTVISIBLELINE, 0, 0));
}

void Wheel(int notches)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(-120 * notches);
    ::SendInput(1, &input, sizeof(input));
    ::Sleep(80);
}

// Where the panel puts the bubble: trunc(P.left + 2s), trunc(P.top + 108s), trunc(P.width - 2s),
// trunc(P.height - 128s).
RECT ExpectedBubble(const RECT& p, float scale)
{
    const double s = scale;
    RECT r;
    r.left = static_cast<int>(p.left + 2 * s);
    r.top = static_cast<int>(p.top + 108 * s);
    r.right = r.left + static_cast<int>(Width(p) - 2 * s);
    r.bottom = r.top + static_cast<int>(Height(p) - 128 * s);
    return r;
}

void ExpectRect(const RECT& expected, const RECT& actual)
{
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

// A window of another program: this test process's own.
class COtherProgramWindow {
public:
    explicit COtherProgramWindow(const RECT& r)
    {
        m_hWnd = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | SS_BLACKRECT,
                                   r.left, r.top, Width(r), Height(r), nullptr, nullptr, nullptr, nullptr);
        Pump();
    }
    ~COtherProgramWindow() { ::DestroyWindow(m_hWnd); }
    HWND Handle() const { return m_hWnd; }
    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }

private:
    HWND m_hWnd = nullptr;
};

// The tool's window thread, stopped while the object lives: the hook, on a thread of its own,
// still posts each press, and the panel reads the message only after the pointer has moved on.
class CHeldWindowThread {
public:
    explicit CHeldWindowThread(HWND window)
        : m_thread(::OpenThread(THREAD_SUSPEND_RESUME, FALSE, ::GetWindowThreadProcessId(window, nullptr)))
    {
        m_held = m_thread && ::SuspendThread(m_thread) != static_cast<DWORD>(-1);
    }
    ~CHeldWindowThread()
    {
        if (m_held)
            ::ResumeThread(m_thread);
        if (m_thread)
            ::CloseHandle(m_thread);
    }
    bool Held() const { return m_held; }

private:
    HANDLE m_thread;
    bool m_held = false;
};

bool PointerAt(POINT p)
{
    return WaitUntil([&] {
        POINT at{};
        return ::GetCursorPos(&at) && at.x == p.x && at.y == p.y;
    }, 30000);
}

// Whether the window holds the mouse capture of its thread.
bool HasCapture(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) && info.hwndCapture == window;
}

class AgreementOnTheTool : public testing::Test {
protected:
    void SetUp() override { StartTool(); }

    void StartTool()
    {
        m_tool = std::make_unique<CToolRun>(L"Downloads", ToolOptions{});
        ASSERT_TRUE(m_tool->Start());
        m_panel = PanelAfterNotice(*m_tool);
        ASSERT_TRUE(m_panel);
        m_frame = ::GetWindow(m_panel, GW_OWNER);
    }

    CBubble Bubble() const { return FindBubble(m_tool->ProcessId(), m_panel); }
    // Two presses on the link within the double-click time would make the second a double click.
    void ClickLink()
    {
        DWORD since = ::GetTickCount() - m_lastLinkClick;
        DWORD wait = ::GetDoubleClickTime() + 100;
        if (since < wait)
            ::Sleep(wait - since);
        ClickControl(m_panel, IDC_STATIC_AGREEMENT_LINK);
        m_lastLinkClick = ::GetTickCount();
    }
    bool WaitOpen() { return WaitUntil([&] { return IsOpen(Bubble()); }, 3000); }
    bool WaitClosed() { return WaitUntil([&] { return IsClosed(Bubble()); }, 3000); }
    // Opens the bubble with the link; false when it does not open.
    bool Open()
    {
        ClickLink();
        return WaitOpen();
    }
    // A press somewhere: whether the bubble is open 600 ms later (time for the hook's message).
    bool OpenAfterClickAt(int x, int y)
    {
        ClickWithPointerAt(x, y);
        ::Sleep(600);
        return IsOpen(Bubble());
    }

    std::unique_ptr<CToolRun> m_tool;
    HWND m_panel = nullptr;
    HWND m_frame = nullptr;
    DWORD m_lastLinkClick = 0;
};

}  // namespace

TEST_F(AgreementOnTheTool, TheLinkTogglesTheBubbleAndEveryPressOutsideItClosesIt)
{
    EXPECT_FALSE(Bubble().background) << "made on the first click only";
    RECT p = RectOf(m_panel);

    ASSERT_TRUE(Open());
    CBubble bubble = Bubble();
    ASSERT_TRUE(bubble.edit && bubble.bar);
    ExpectRect(ExpectedBubble(p, 1.0f), RectOf(bubble.background));
    EXPECT_EQ(Width(RectOf(bubble.background)), 398);
    EXPECT_EQ(Height(RectOf(bubble.background)), 472);
    EXPECT_EQ(FirstVisibleLine(bubble), 0);
    Screenshot(L"agreement_on_panel_top");

    ClickLink();
    EXPECT_TRUE(WaitClosed()) << "a second click on the link";
    ASSERT_TRUE(Open());
    EXPECT_EQ(Bubble().background, bubble.background) << "the same window, shown again";

    // The second press of a quick pair arrives as a double click: a press all the same.
    auto pressTwice = [&](int id) {
        const POINT at = CentreOf(ClientRectOf(m_panel, id));
        const LPARAM where = MAKELPARAM(at.x, at.y);
        for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
            ::PostMessageW(m_panel, press, MK_LBUTTON, where);
            ::PostMessageW(m_panel, WM_LBUTTONUP, 0, where);
        }
    };
    pressTwice(IDC_STATIC_AGREEMENT_LINK);
    ::Sleep(600);
    EXPECT_TRUE(IsOpen(Bubble())) << "closed and opened again";
    pressTwice(IDC_STATIC_FEEDBACK_LINK);
    EXPECT_TRUE(WaitUntil([&] { return CountContaining(m_tool->FeedbackJournal(), "FeedbackQuestion") == 2; }, 3000));
    ASSERT_TRUE(Open());

    EXPECT_FALSE(OpenAfterClickAt(p.left + 200, p.top + 70)) << "elsewhere on the panel";
    ASSERT_TRUE(Open());
    EXPECT_FALSE(OpenAfterClickAt(p.left + 200, p.bottom - 3)) << "on the panel below the bubble";
    ASSERT_TRUE(Open());
    HWND agree = ChildById(m_panel, IDC_CHECK_AGREE);
    ClickControl(m_panel, IDC_CHECK_AGREE);
    EXPECT_TRUE(WaitClosed()) << "on a control of the panel";
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(agree, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 2000))
        << "and the control takes the press";
    ClickControl(m_panel, IDC_CHECK_AGREE);
    EXPECT_TRUE(WaitUntil([&] { return ::SendMessageW(agree, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));
    ASSERT_TRUE(Open());
    RECT f = RectOf(m_frame);
    EXPECT_FALSE(OpenAfterClickAt(f.right + 100, f.top + 40)) << "on the desktop";
    ASSERT_TRUE(Open());
    {
        COtherProgramWindow other(RECT{20, 20, 220, 120});
        POINT centre = CentreOf(RectOf(other.Handle()));
        ClickWithPointerAt(centre.x, centre.y);
        COtherProgramWindow::Pump();
        EXPECT_TRUE(WaitClosed()) << "in another program";
    }

    // A press is judged where it happened, however quickly the pointer moves on.
    ASSERT_TRUE(Open());
    const POINT onText = CentreOf(RectOf(Bubble().edit));
    const POINT onDesktop{f.right + 100, onText.y};
    {
        CHeldWindowThread held(m_panel);
        ASSERT_TRUE(held.Held());
        guitest::SendPointerBurst({{onText, 0}, {onText, MOUSEEVENTF_LEFTDOWN}, {onDesktop, 0}});
        ASSERT_TRUE(PointerAt(onDesktop));
    }
    // The hook's posted message comes before the press itself, which gives the text the capture.
    HWND textWindow = Bubble().edit;
    EXPECT_TRUE(WaitUntil([&] { return HasCapture(textWindow); }, 30000));
    EXPECT_TRUE(IsOpen(Bubble())) << "a press on the bubble, and the pointer straight away";
    guitest::SendPointerBurst({{onText, MOUSEEVENTF_LEFTUP}});
    EXPECT_TRUE(WaitUntil([&] { return !HasCapture(textWindow); }, 30000));
    {
        CHeldWindowThread held(m_panel);
        ASSERT_TRUE(held.Held());
        guitest::SendPointerBurst({{onDesktop, 0}, {onDesktop, MOUSEEVENTF_LEFTDOWN}, {onText, 0},
                                   {onText, MOUSEEVENTF_LEFTUP}});
        ASSERT_TRUE(PointerAt(onText));
    }
    EXPECT_TRUE(WaitClosed()) << "a press on the desktop, and the pointer straight back on the bubble";

    // Presses inside the bubble keep it: on the text, on the skinned bar.
    ASSERT_TRUE(Open());
    bubble = Bubble();
    POINT text = CentreOf(RectOf(bubble.edit));
    EXPECT_TRUE(OpenAfterClickAt(text.x, text.y));
    Wheel(2);
    EXPECT_TRUE(WaitUntil([&] { return FirstVisibleLine(bubble) > 0; }, 2000)) << "the wheel scrolls the text";
    int wheeled = FirstVisibleLine(bubble);
    RECT bar = RectOf(bubble.bar);
    ASSERT_GT(Height(bar), 100);
    EXPECT_TRUE(OpenAfterClickAt((bar.left + bar.right) / 2, bar.bottom - 5)) << "the bar's down arrow";
    EXPECT_GT(FirstVisibleLine(bubble), wheeled);
    EXPECT_TRUE(OpenAfterClickAt((bar.left + bar.right) / 2, bar.bottom - 40)) << "the bar's track";
    EXPECT_TRUE(IsOpen(Bubble()));
    Screenshot(L"agreement_on_panel_scrolled");

    // Hidden and shown again, it is where it was.
    const int scrolled = FirstVisibleLine(bubble);
    ASSERT_GT(scrolled, wheeled);
    ClickLink();
    ASSERT_TRUE(WaitClosed());
    ASSERT_TRUE(Open());
    EXPECT_EQ(FirstVisibleLine(Bubble()), scrolled);

    // The middle of the agreement.
    const int lines = static_cast<int>(::SendMessageW(bubble.edit, EM_GETLINECOUNT, 0, 0));
    ASSERT_GT(lines, 60);
    EXPECT_TRUE(OpenAfterClickAt(text.x, text.y));
    WaitUntil([&] {
        Wheel(1);
        return FirstVisibleLine(bubble) >= lines / 2 - 14;
    }, 10000);
    EXPECT_GE(FirstVisibleLine(bubble), lines / 2 - 14);
    ::Sleep(700);  // the skinned thumb follows within 500 ms
    EXPECT_TRUE(IsOpen(Bubble()));
    Screenshot(L"agreement_on_panel_middle");
    const int middle = FirstVisibleLine(bubble);

    // A press on the band closes it; after the drag it opens at the same place on the panel.
    ::SetCursorPos(p.left + 150, p.top + 15);
    ::Sleep(50);
    DragFromTo(POINT{p.left + 150, p.top + 15}, POINT{p.left + 90, p.top + 75});
    EXPECT_TRUE(WaitClosed());
    RECT moved = RectOf(m_panel);
    ASSERT_EQ(moved.left, p.left - 60);
    ASSERT_EQ(moved.top, p.top + 60);
    ASSERT_TRUE(Open());
    ExpectRect(ExpectedBubble(moved, 1.0f), RectOf(bubble.background));
    RECT content = RectOf(bubble.content);
    EXPECT_EQ(content.left, moved.left + 2 + 1) << "the text goes with it";
    EXPECT_EQ(content.top, moved.top + 108 + 1);
    EXPECT_EQ(FirstVisibleLine(bubble), middle);

    // The close button closes it, and the tool ends normally with the bubble made.
    ClickControl(m_panel, IDC_BTN_CLOSE);
    EXPECT_TRUE(WaitClosed());
    HWND feedback = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (const CWindowInfo& top : TopLevelWindows(m_tool->ProcessId()))
            if (top.visible && ChildById(top.hWnd, IDC_BTN_SOLVED))
                feedback = top.hWnd;
        return feedback != nullptr;
    }, 5000));
    ClickChild(feedback, IDC_BTN_SOLVED);
    EXPECT_EQ(m_tool->WaitExit(60000), 0u);
}

TEST_F(AgreementOnTheTool, At120DpiTheBubbleSitsAtTheScaledPlace)
{
    m_tool.reset();
    SetLogPixels(120);
    StartTool();
    SetLogPixels(96);
    ASSERT_TRUE(m_panel);
    RECT p = RectOf(m_panel);
    ASSERT_EQ(Width(p), 479);
    ASSERT_TRUE(Open());
    CBubble bubble = Bubble();
    // 2 * 1.2f, 108 * 1.2f = 129.6, 479 - 2.4 and 719 - 153.6, each truncated.
    ExpectRect(ExpectedBubble(p, 1.2f), RectOf(bubble.background));
    EXPECT_EQ(RectOf(bubble.background).left, p.left + 2);
    EXPECT_EQ(RectOf(bubble.background).top, p.top + 129);
    EXPECT_EQ(Width(RectOf(bubble.background)), 476);
    EXPECT_EQ(Height(RectOf(bubble.background)), 565);
    Screenshot(L"agreement_on_panel_120dpi");
    EXPECT_FALSE(OpenAfterClickAt(p.left + 200, p.top + 80));

    // A press on the frame's shadow activates the frame: the panel still lies over it, shows
    // its controls and gets the next press.
    HWND repair = ChildById(m_panel, IDC_BTN_REPAIR);
    const POINT onButton = CentreOf(RectOf(repair));
    const COLORREF button = ScreenPixel(onButton.x, onButton.y);  // the bubble is closed
    ASSERT_TRUE(Open());
    RECT f = RectOf(m_frame);
    ASSERT_LT(f.left, p.left);
    EXPECT_FALSE(OpenAfterClickAt(f.left + 2, p.top + 300)) << "on the frame's shadow, outside the panel";
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(onButton.x, onButton.y) == button; }, 2000))
        << "the repair button shows, not the frame's empty panel image";
    Screenshot(L"agreement_after_shadow_click_120dpi");
    bool frameBelow = false;
    for (HWND below = ::GetWindow(m_panel, GW_HWNDNEXT); below; below = ::GetWindow(below, GW_HWNDNEXT))
        frameBelow = frameBelow || below == m_frame;
    EXPECT_TRUE(frameBelow);
    ClickControl(m_panel, IDC_CHECK_AGREE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowEnabled(repair); }, 2000)) << "the press reached the panel";
    ClickControl(m_panel, IDC_CHECK_AGREE);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(repair) != FALSE; }, 2000));
}
