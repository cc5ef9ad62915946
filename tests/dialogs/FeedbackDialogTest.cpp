// The problem-solving feedback dialog run modally against the stand-in feedback library that
// lies beside this test program; what it reported is read back from the library's journal.
#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "feedback/FeedbackDll.h"
#include "feedback/ProblemSolvingFeedbackDlg.h"
#include "res/resource.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

constexpr INT_PTR kForcedEnd = -2;
constexpr UINT WM_TEST_HOLD = WM_APP + 0x50;  // blocks the dialog's thread until released

// Records the content window as it was created, and can hold the dialog's thread.
class CObservedFeedbackDlg : public CProblemSolvingFeedbackDlg {
public:
    RECT createdContent{};  // relative to the background's top-left corner
    float scaleSeen = 0;
    HANDLE release = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE holding = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);

    ~CObservedFeedbackDlg() override
    {
        ::CloseHandle(release);
        ::CloseHandle(holding);
    }

protected:
    void OnContentCreated() override
    {
        RECT background = WindowRectOf(m_hWnd);
        RECT content = WindowRectOf(m_pContent->m_hWnd);
        createdContent = RECT{content.left - background.left, content.top - background.top,
                              content.right - background.left, content.bottom - background.top};
        scaleSeen = m_fScale;
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_TEST_HOLD) {
            ::SetEvent(holding);
            // Until the test releases it; the bound only keeps a broken test from hanging.
            ::WaitForSingleObject(release, 60000);
            return 0;
        }
        return CProblemSolvingFeedbackDlg::WindowProc(msg, wParam, lParam);
    }
};

// Click notifications of the answer buttons that the content window has handled; the count
// can be watched from the driver's thread.
std::vector<int> g_clicks;
std::atomic<int> g_clicksHandled{0};
HHOOK g_hook = nullptr;

LRESULT CALLBACK RecordClicks(int code, WPARAM wParam, LPARAM lParam)
{
    auto* call = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_COMMAND && HIWORD(call->wParam) == BN_CLICKED) {
        g_clicks.push_back(LOWORD(call->wParam));
        ++g_clicksHandled;
    }
    return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

// Beside the test program, where the library lies; the build folder's path is plain ASCII.
std::string LibraryFile(const char* name)
{
    std::wstring folder = ProgramFolder();
    return std::string(folder.begin(), folder.end()) + name;
}

std::string JournalPath()
{
    return LibraryFile("feedback-journal.txt");
}

class FeedbackDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureGdiplus();
        std::ofstream config(LibraryFile("HalvexFeedbackInformation.ini"));
        config << "[service]\nrecord_only = 1\njournal = feedback-journal.txt\n";
        config.close();
        std::remove(JournalPath().c_str());
        ASSERT_EQ(m_feedback.Load(), 1) << "the stand-in library beside the test program";
        g_clicks.clear();
        g_clicksHandled = 0;
        g_hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, RecordClicks, nullptr, ::GetCurrentThreadId());
    }
    void TearDown() override { ::UnhookWindowsHookEx(g_hook); }

    INT_PTR Run(CObservedFeedbackDlg& dialog, bool lendBinding,
                const std::function<void(const PairWindows&)>& driver)
    {
        dialog.SetFeedback(lendBinding ? &m_feedback : nullptr, ToolIdentity{L"10056", L"1.0.4"});
        bool forced = false;
        INT_PTR result = RunModalWithDriver([&] { return dialog.DoModal(); }, driver,
                                            [&](const PairWindows& pair) {
                                                forced = true;
                                                ::PostMessageW(pair.background, WM_COMMAND, IDCANCEL, 0);
                                            });
        return forced ? kForcedEnd : result;
    }

    static std::vector<std::string> Journal()
    {
        std::ifstream file(JournalPath());
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(file, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    // Checks an answer's report: its code, the identity and a time text close to now.
    static void ExpectAnswer(const std::vector<std::string>& lines, size_t at, int code)
    {
        ASSERT_GT(lines.size(), at + 1);
        std::smatch match;
        std::regex answer(R"re(CustomerFeedbackEx\("10056", "1\.0\.4", (-?\d+), "(-?\d+)"\) = 1)re");
        ASSERT_TRUE(std::regex_match(lines[at], match, answer)) << lines[at];
        EXPECT_EQ(std::stoi(match[1].str()), code);
        long long reported = std::stoll(match[2].str());
        EXPECT_LE(std::llabs(reported - static_cast<long long>(std::time(nullptr))), 10);
        EXPECT_EQ(lines[at + 1], R"(FeedbackQuestion("10056", "1.0.4") = 1)");
    }

    CFeedbackDll m_feedback;
};

HWND Item(const PairWindows& pair, int id)
{
    return ::GetDlgItem(pair.content, id);
}

RECT ScreenRectOf(const PairWindows& pair, int id)
{
    return WindowRectOf(Item(pair, id));
}

void ExpectRect(const RECT& r, int left, int top, int right, int bottom, const char* what)
{
    EXPECT_EQ(r.left, left) << what;
    EXPECT_EQ(r.top, top) << what;
    EXPECT_EQ(r.right, right) << what;
    EXPECT_EQ(r.bottom, bottom) << what;
}

bool IsOpen(const PairWindows& pair)
{
    return ::IsWindowVisible(pair.background) && ::IsWindowVisible(pair.content);
}

}  // namespace

TEST_F(FeedbackDialog, LayoutAtNinetySixDpi)
{
    RECT background{}, content{}, close{}, buttons[3]{};
    wchar_t title[32] = {};
    CObservedFeedbackDlg dialog;
    INT_PTR result = Run(dialog, true, [&](const PairWindows& pair) {
        background = WindowRectOf(pair.background);
        content = WindowRectOf(pair.content);
        ::GetWindowTextW(pair.background, title, 32);
        close = RectIn(Item(pair, IDC_BTN_FEEDBACK_CLOSE), pair.content);
        const int ids[3] = {IDC_BTN_SOLVED, IDC_BTN_UNSOLVED, IDC_BTN_MORE_PLANS};
        for (int i = 0; i < 3; ++i)
            buttons[i] = RectIn(Item(pair, ids[i]), pair.content);
        MoveTo(POINT{4, 4});
        ::Sleep(150);
        SaveScreenPng(L"feedback-96dpi.png");
        ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_FEEDBACK_CLOSE)));
    });
    EXPECT_NE(result, kForcedEnd);
    EXPECT_STREQ(title, L"Tovrane");
    EXPECT_FLOAT_EQ(dialog.scaleSeen, 1.0f);
    EXPECT_EQ(SizeOf(background).cx, 410);
    EXPECT_EQ(SizeOf(background).cy, 479);
    ExpectRect(dialog.createdContent, 5, 4, 405, 472, "content as created: 400 x 468");
    // Once the framework has centred the dialog the content follows with a top inset of 3.
    EXPECT_EQ(content.left - background.left, 5);
    EXPECT_EQ(content.top - background.top, 3);
    EXPECT_EQ(background.right - content.right, 5);
    EXPECT_EQ(background.bottom - content.bottom, 7);
    ExpectRect(close, 382, 6, 394, 18, "close cross");
    ExpectRect(buttons[0], 67, 154, 333, 214, "solved");
    ExpectRect(buttons[1], 67, 234, 333, 294, "not solved");
    ExpectRect(buttons[2], 67, 314, 333, 374, "more");
}

TEST_F(FeedbackDialog, EachAnswerReportsItsCodeAndThenTheQuestion)
{
    const std::pair<int, int> answers[] = {
        {IDC_BTN_SOLVED, FEEDBACK_SOLVED},
        {IDC_BTN_UNSOLVED, FEEDBACK_UNSOLVED},
        {IDC_BTN_FEEDBACK_CLOSE, FEEDBACK_CLOSED},
    };
    for (const auto& [id, code] : answers) {
        SCOPED_TRACE(testing::Message() << "button " << id);
        std::remove(JournalPath().c_str());
        bool answeredWhileOpen = false;
        CObservedFeedbackDlg dialog;
        INT_PTR result = Run(dialog, true, [&](const PairWindows& pair) {
            answeredWhileOpen = Journal().empty();
            ClickAt(CenterOf(ScreenRectOf(pair, id)));
        });
        EXPECT_NE(result, kForcedEnd) << "the answer closes the dialog";
        EXPECT_TRUE(answeredWhileOpen);
        std::vector<std::string> lines = Journal();
        ASSERT_EQ(lines.size(), 2u);
        ExpectAnswer(lines, 0, code);
    }
}

TEST_F(FeedbackDialog, AClickOnTheGlowOrACommandAfterTheCursorLeftReportsNothing)
{
    bool openAfterGlowClick = false;
    bool openAfterLateCommand = false;
    std::vector<std::string> beforeClose;
    CObservedFeedbackDlg dialog;
    INT_PTR result = Run(dialog, true, [&](const PairWindows& pair) {
        RECT solved = ScreenRectOf(pair, IDC_BTN_SOLVED);
        // Inside the button window, in its 9-pixel transparent edge.
        ClickAt(POINT{solved.left + 4, (solved.top + solved.bottom) / 2});
        // Handled while the pointer is still there, before anything else is done.
        WaitUntil([&] { return g_clicksHandled == 1; }, 30000);
        openAfterGlowClick = IsOpen(pair);

        // The dialog's thread is held while the button is pressed and released in its middle
        // and the pointer goes away; the command then arrives with the cursor outside.
        ::PostMessageW(pair.background, WM_TEST_HOLD, 0, 0);
        ASSERT_EQ(::WaitForSingleObject(dialog.holding, 60000), WAIT_OBJECT_0);
        MoveTo(CenterOf(solved));
        LeftDown();
        LeftUp();
        MoveTo(POINT{4, 4});
        ::SetEvent(dialog.release);
        // Until the late command has been handled: answered, or ignored.
        WaitUntil([&] { return g_clicksHandled == 2; }, 30000);
        openAfterLateCommand = IsOpen(pair);
        beforeClose = Journal();
        ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_FEEDBACK_CLOSE)));
    });
    EXPECT_NE(result, kForcedEnd);
    EXPECT_TRUE(openAfterGlowClick);
    EXPECT_TRUE(openAfterLateCommand);
    EXPECT_TRUE(beforeClose.empty()) << beforeClose.front();
    // Both commands did arrive; they were ignored.
    EXPECT_EQ(std::count(g_clicks.begin(), g_clicks.end(), IDC_BTN_SOLVED), 2);
    std::vector<std::string> lines = Journal();
    ASSERT_EQ(lines.size(), 2u);
    ExpectAnswer(lines, 0, FEEDBACK_CLOSED);
}

TEST_F(FeedbackDialog, TheMoreButtonOpensTheHomePageEachTimeAndStaysOpen)
{
    bool openAfterThree = false;
    CObservedFeedbackDlg dialog;
    INT_PTR result = Run(dialog, true, [&](const PairWindows& pair) {
        // Three quick presses: the second arrives as a double click.
        POINT more = CenterOf(ScreenRectOf(pair, IDC_BTN_MORE_PLANS));
        for (int i = 0; i < 3; ++i)
            ClickAt(more);
        MoveTo(POINT{4, 4});
        ::Sleep(200);
        openAfterThree = IsOpen(pair);
        ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_FEEDBACK_CLOSE)));
    });
    EXPECT_NE(result, kForcedEnd);
    EXPECT_TRUE(openAfterThree);
    std::vector<std::string> lines = Journal();
    ASSERT_EQ(lines.size(), 5u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lines[i], R"(OpenUrl("https://)" CORVINA_KB_HOST R"(/") = 1)");
    ExpectAnswer(lines, 3, FEEDBACK_CLOSED);
}

TEST_F(FeedbackDialog, WithoutABindingTheAnswersCloseSilently)
{
    const int ids[] = {IDC_BTN_SOLVED, IDC_BTN_UNSOLVED, IDC_BTN_FEEDBACK_CLOSE};
    for (int id : ids) {
        bool moreKeptItOpen = false;
        CObservedFeedbackDlg dialog;
        INT_PTR result = Run(dialog, false, [&](const PairWindows& pair) {
            ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_MORE_PLANS)));
            ::Sleep(200);
            moreKeptItOpen = IsOpen(pair);
            ClickAt(CenterOf(ScreenRectOf(pair, id)));
        });
        EXPECT_NE(result, kForcedEnd) << "button " << id;
        EXPECT_TRUE(moreKeptItOpen);
    }
    EXPECT_TRUE(Journal().empty());
    // The library itself was there and writing all along.
    m_feedback.FeedbackQuestion(L"10056", L"1.0.4");
    EXPECT_EQ(Journal().size(), 1u);
}

TEST_F(FeedbackDialog, DraggingUsesTheDragOutsetsAndEndsTheFollowing)
{
    RECT movedBackground{}, followedContent{}, content{}, background{}, contentAfterOwnMove{};
    CObservedFeedbackDlg dialog;
    INT_PTR result = Run(dialog, true, [&](const PairWindows& pair) {
        RECT start = WindowRectOf(pair.background);
        ::SetWindowPos(pair.background, nullptr, start.left - 50, start.top - 20, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::Sleep(150);
        movedBackground = WindowRectOf(pair.background);
        followedContent = WindowRectOf(pair.content);

        RECT c = WindowRectOf(pair.content);
        POINT grip{c.left + 100, c.top + 15};
        Drag(grip, Offset(grip, 60, 40));
        content = WindowRectOf(pair.content);
        background = WindowRectOf(pair.background);
        ::SetWindowPos(pair.background, nullptr, background.left + 30, background.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::Sleep(150);
        contentAfterOwnMove = WindowRectOf(pair.content);
        // The rightmost 26 pixels of the band do not drag.
        RECT before = WindowRectOf(pair.content);
        POINT corner{before.right - 20, before.top + 15};
        Drag(corner, Offset(corner, -40, 30));
        RECT after = WindowRectOf(pair.content);
        EXPECT_EQ(after.left, before.left);
        EXPECT_EQ(after.top, before.top);
        ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_FEEDBACK_CLOSE)));
    });
    EXPECT_NE(result, kForcedEnd);
    // Following: 5, 3, 5, 7.
    EXPECT_EQ(followedContent.left - movedBackground.left, 5);
    EXPECT_EQ(followedContent.top - movedBackground.top, 3);
    EXPECT_EQ(movedBackground.right - followedContent.right, 5);
    EXPECT_EQ(movedBackground.bottom - followedContent.bottom, 7);
    // Dragging: 60, 40 with the pointer; the background around it by 5, 4, 5, 7.
    EXPECT_EQ(content.left - followedContent.left, 60);
    EXPECT_EQ(content.top - followedContent.top, 40);
    EXPECT_EQ(content.left - background.left, 5);
    EXPECT_EQ(content.top - background.top, 4);
    EXPECT_EQ(background.right - content.right, 5);
    EXPECT_EQ(background.bottom - content.bottom, 7);
    EXPECT_EQ(contentAfterOwnMove.left, content.left);
}

TEST_F(FeedbackDialog, EnterAndEscapeLeaveItOpen)
{
    bool open = false;
    CObservedFeedbackDlg dialog;
    INT_PTR result = Run(dialog, true, [&](const PairWindows& pair) {
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        ClickAt(Offset(CenterOf(WindowRectOf(pair.content)), 0, -120));  // on the panel
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        ::Sleep(300);
        open = IsOpen(pair) && Journal().empty();
        ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_FEEDBACK_CLOSE)));
    });
    EXPECT_NE(result, kForcedEnd);
    EXPECT_TRUE(open);
}

TEST_F(FeedbackDialog, AtOneHundredTwentyDpi)
{
    EXPECT_EQ(RunSelfAtDpi(120, L"FeedbackDialog.ScaledLayoutInTheChild"), 0);
}

TEST_F(FeedbackDialog, ScaledLayoutInTheChild)
{
    if (!IsDpiChild())
        GTEST_SKIP() << "runs at 120 dpi in a child of AtOneHundredTwentyDpi";
    RECT background{}, content{}, close{}, buttons[3]{};
    bool openAfterGlowClick = false;
    HWND desk = CreateLightBackdrop();
    CObservedFeedbackDlg dialog;
    INT_PTR result = Run(dialog, true, [&](const PairWindows& pair) {
        background = WindowRectOf(pair.background);
        content = WindowRectOf(pair.content);
        close = RectIn(Item(pair, IDC_BTN_FEEDBACK_CLOSE), pair.content);
        const int ids[3] = {IDC_BTN_SOLVED, IDC_BTN_UNSOLVED, IDC_BTN_MORE_PLANS};
        for (int i = 0; i < 3; ++i)
            buttons[i] = RectIn(Item(pair, ids[i]), pair.content);
        MoveTo(POINT{4, 4});
        ::Sleep(150);
        SaveScreenPng(L"feedback-120dpi.png");
        // 9 pixels in lies in the glow edge, which is 10 pixels wide at this scale.
        RECT solved = ScreenRectOf(pair, IDC_BTN_SOLVED);
        ClickAt(POINT{solved.left + 9, (solved.top + solved.bottom) / 2});
        ::Sleep(200);
        openAfterGlowClick = IsOpen(pair) && Journal().empty();
        ClickAt(CenterOf(solved));
    });
    ::DestroyWindow(desk);
    EXPECT_NE(result, kForcedEnd);
    EXPECT_FLOAT_EQ(dialog.scaleSeen, 1.2f);
    EXPECT_EQ(SizeOf(background).cx, 492);
    EXPECT_EQ(SizeOf(background).cy, 574);
    // 492 - 10 * 1.2f is 479.9999995: the content is created 479 wide, then follows at 480.
    ExpectRect(dialog.createdContent, 6, 4, 485, 564, "content as created: 479 x 560");
    EXPECT_EQ(content.left - background.left, 6);
    EXPECT_EQ(content.top - background.top, 3);
    ExpectRect(close, 458, 7, 472, 21, "close cross");
    ExpectRect(buttons[0], 80, 184, 399, 256, "solved");
    ExpectRect(buttons[1], 81, 280, 400, 352, "not solved");
    ExpectRect(buttons[2], 81, 376, 400, 448, "more");
    EXPECT_TRUE(openAfterGlowClick);
    std::vector<std::string> lines = Journal();
    ASSERT_EQ(lines.size(), 2u);
    ExpectAnswer(lines, 0, FEEDBACK_SOLVED);
}
