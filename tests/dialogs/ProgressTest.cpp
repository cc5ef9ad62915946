// The progress prompt run modally: its sizes, its text, its dots once a second, and its end
// through WM_CLOSE_PROGRESS sent from another thread.
#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "dialogs/ExecutePromptDlg.h"
#include "res/resource.h"
#include "skin/SkinScale.h"

#include <atomic>
#include <thread>

namespace {

constexpr INT_PTR kForcedEnd = -2;

// Records what the label looked like right after the close message was handled.
class CObservedProgressDlg : public CExecutePromptDlg {
public:
    int dotsAfterClose = -1;
    std::wstring textAfterClose;
    int closeMessages = 0;

    int DotCountNow() const
    {
        CExecutePromptChildDlg* content = GetProgressContent();
        return content ? content->StateLabel().GetDotCount() : -1;
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT result = CExecutePromptDlg::WindowProc(msg, wParam, lParam);
        if (msg == WM_CLOSE_PROGRESS) {
            ++closeMessages;
            if (CExecutePromptChildDlg* content = GetProgressContent()) {
                dotsAfterClose = content->StateLabel().GetDotCount();
                textAfterClose = content->StateLabel().DisplayText();
            }
        }
        return result;
    }
};

INT_PTR RunProgress(CObservedProgressDlg& progress, float scale, const std::wstring& text,
                    const std::function<void(const PairWindows&)>& driver)
{
    EnsureGdiplus();
    progress.m_fScale = scale;
    progress.SetText(text);
    bool forced = false;
    INT_PTR result = RunModalWithDriver([&] { return progress.DoModal(); }, driver,
                                        [&](const PairWindows& pair) {
                                            forced = true;
                                            ::SendMessageW(pair.background, WM_CLOSE_PROGRESS, 0, 0);
                                        });
    return forced ? kForcedEnd : result;
}

// What a repair worker does when it has finished.
void CloseFromWorker(HWND background)
{
    std::thread worker([background] { ::SendMessageW(background, WM_CLOSE_PROGRESS, 0, 0); });
    worker.join();
}

BOOL CALLBACK TakeUnownedDialog(HWND hWnd, LPARAM param)
{
    wchar_t name[16] = {};
    ::GetClassNameW(hWnd, name, 16);
    if (wcscmp(name, L"#32770") != 0 || ::GetWindow(hWnd, GW_OWNER))
        return TRUE;
    *reinterpret_cast<HWND*>(param) = hWnd;
    return FALSE;
}

// The prompt's background window as soon as it exists, visible or not.
HWND FindUnownedDialog(DWORD threadId)
{
    HWND found = nullptr;
    ::EnumThreadWindows(threadId, TakeUnownedDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND Label(const PairWindows& pair)
{
    return ::GetDlgItem(pair.content, IDC_STATIC_PROGRESS_TEXT);
}

std::wstring TextOf(HWND hWnd)
{
    wchar_t text[128] = {};
    ::GetWindowTextW(hWnd, text, 128);
    return text;
}

}  // namespace

TEST(Progress, SizesAtScaleOneAndOnePointFive)
{
    struct Case {
        float scale;
        SIZE background;
        POINT contentAt;
        SIZE content;
        RECT label;
    };
    const Case cases[] = {
        {1.0f, {232, 132}, {14, 12}, {204, 104}, {10, 42, 194, 82}},
        {1.5f, {348, 198}, {21, 18}, {306, 156}, {15, 63, 291, 123}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scale);
        RECT background{}, content{}, label{};
        CObservedProgressDlg progress;
        INT_PTR result = RunProgress(progress, c.scale, L"正在修复，请稍等", [&](const PairWindows& pair) {
            background = WindowRectOf(pair.background);
            content = WindowRectOf(pair.content);
            label = RectIn(Label(pair), pair.content);
            CloseFromWorker(pair.background);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(SizeOf(background).cx, c.background.cx);
        EXPECT_EQ(SizeOf(background).cy, c.background.cy);
        EXPECT_EQ(content.left - background.left, c.contentAt.x);
        EXPECT_EQ(content.top - background.top, c.contentAt.y);
        EXPECT_EQ(SizeOf(content).cx, c.content.cx);
        EXPECT_EQ(SizeOf(content).cy, c.content.cy);
        EXPECT_EQ(label.left, c.label.left);
        EXPECT_EQ(label.top, c.label.top);
        EXPECT_EQ(label.right, c.label.right);
        EXPECT_EQ(label.bottom, c.label.bottom);
    }
}

TEST(Progress, TextsShorterThanTwoCharactersShowTheWaitingText)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"", L"正在修复，请稍等"},
        {L"修", L"正在修复，请稍等"},
        {L"检测", L"检测"},
        {L"正在卸载更新", L"正在卸载更新"},
    };
    for (const auto& [given, shown] : cases) {
        std::wstring label = L"not read";
        CObservedProgressDlg progress;
        INT_PTR result = RunProgress(progress, 1.0f, given, [&](const PairWindows& pair) {
            label = TextOf(Label(pair));
            CloseFromWorker(pair.background);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(label, shown);
    }
}

TEST(Progress, DotsChangeOnceASecondAndTheCloseClearsThem)
{
    struct Sample {
        DWORD at;
        int dots;
    };
    std::vector<Sample> samples;
    bool noDotsDiffersFromThree = false;
    bool backToNoDotsLooksTheSame = false;
    CObservedProgressDlg progress;
    INT_PTR result = RunProgress(progress, 1.0f, L"正在修复，请稍等", [&](const PairWindows& pair) {
        const RECT label = WindowRectOf(Label(pair));
        std::vector<CScreenShot> looks;  // the label as it looked with 0, 1, 2, 3, 0 dots
        const DWORD start = ::GetTickCount();
        int last = -1;
        while (::GetTickCount() - start < 4600) {
            int dots = progress.DotCountNow();
            if (dots != last) {
                samples.push_back(Sample{::GetTickCount() - start, dots});
                last = dots;
                ::Sleep(120);  // the repaint follows the timer
                looks.emplace_back(label);
            }
            ::Sleep(20);
        }
        if (looks.size() >= 5) {
            noDotsDiffersFromThree = looks[0].DiffersFrom(looks[3]);
            backToNoDotsLooksTheSame = !looks[0].DiffersFrom(looks[4]);
        }
        // Ends while dots are shown.
        WaitUntil([&] { return progress.DotCountNow() > 0; }, 2000);
        CloseFromWorker(pair.background);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_GE(samples.size(), 5u);
    const int expected[] = {0, 1, 2, 3, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(samples[i].dots, expected[i]) << "change " << i;
    for (size_t i = 2; i < samples.size(); ++i) {
        DWORD step = samples[i].at - samples[i - 1].at;
        EXPECT_GE(step, 800u) << "change " << i;
        EXPECT_LE(step, 1250u) << "change " << i;
    }
    EXPECT_TRUE(noDotsDiffersFromThree);
    EXPECT_TRUE(backToNoDotsLooksTheSame);
    EXPECT_EQ(progress.closeMessages, 1);
    EXPECT_EQ(progress.dotsAfterClose, 0);
    EXPECT_EQ(progress.textAfterClose, L"正在修复，请稍等");
}

TEST(Progress, CloseSentFromAnotherThreadRightAtTheStartEndsItWithOk)
{
    EnsureGdiplus();
    for (int round = 0; round < 5; ++round) {
        CObservedProgressDlg progress;
        progress.SetText(L"正在修复，请稍等");
        const DWORD uiThread = ::GetCurrentThreadId();
        std::atomic<bool> done{false};
        // Like the repair worker: the close is sent as soon as the prompt's window exists.
        std::thread worker([&] {
            HWND background = nullptr;
            while (!done && !background) {
                background = FindUnownedDialog(uiThread);
            }
            if (background)
                ::SendMessageW(background, WM_CLOSE_PROGRESS, 0, 0);
        });
        INT_PTR result = progress.DoModal();
        done = true;
        worker.join();
        EXPECT_EQ(result, IDOK) << "round " << round;
        EXPECT_EQ(progress.closeMessages, 1) << "round " << round;
    }
}

TEST(Progress, EndsPromptlyOnceTheWorkerHasSentTheClose)
{
    DWORD sentAt = 0;
    CObservedProgressDlg progress;
    INT_PTR result = RunProgress(progress, 1.0f, L"正在修复，请稍等", [&](const PairWindows& pair) {
        // Just after a dot step, so that no timer would wake the modal loop for a second.
        int dots = progress.DotCountNow();
        WaitUntil([&] { return progress.DotCountNow() != dots; }, 1500);
        ::Sleep(50);
        CloseFromWorker(pair.background);
        sentAt = ::GetTickCount();
    });
    const DWORD endedAfter = ::GetTickCount() - sentAt;
    EXPECT_EQ(result, IDOK);
    EXPECT_LT(endedAfter, 400u);
}

TEST(Progress, EnterEscapeAndDraggingLeaveItOpenWhereItIs)
{
    bool openAfterKeys = false;
    bool openAfterContentKeys = false;
    RECT before{}, after{};
    CObservedProgressDlg progress;
    INT_PTR result = RunProgress(progress, 1.0f, L"正在修复，请稍等", [&](const PairWindows& pair) {
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        ::Sleep(300);
        openAfterKeys = ::IsWindowVisible(pair.background) && ::IsWindowVisible(pair.content);
        before = WindowRectOf(pair.content);
        // A press on the panel's top edge and a pull: the prompt cannot be dragged.
        POINT top{before.left + 40, before.top + 8};
        Drag(top, Offset(top, 50, 30));
        after = WindowRectOf(pair.content);
        PressKey(VK_ESCAPE);
        PressKey(VK_RETURN);
        ::Sleep(300);
        openAfterContentKeys = ::IsWindowVisible(pair.background) && ::IsWindowVisible(pair.content);
        MoveTo(POINT{4, 4});
        CloseFromWorker(pair.background);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(openAfterKeys);
    EXPECT_TRUE(openAfterContentKeys);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
}

TEST(Progress, ScreenshotAtScaleOne)
{
    HWND desk = CreateLightBackdrop();
    bool saved = false;
    CObservedProgressDlg progress;
    INT_PTR result = RunProgress(progress, 1.0f, L"正在修复，请稍等", [&](const PairWindows& pair) {
        MoveTo(POINT{4, 4});
        WaitUntil([&] { return progress.DotCountNow() == 2; }, 3000);
        ::Sleep(200);
        saved = SaveScreenPng(L"progress-scale-1.png");
        CloseFromWorker(pair.background);
    });
    ::DestroyWindow(desk);
    EXPECT_TRUE(saved);
    EXPECT_EQ(result, IDOK);
}

TEST(Progress, AtOneHundredTwentyDpi)
{
    EXPECT_EQ(RunSelfAtDpi(120, L"Progress.ScaledByTheCallerInTheChild"), 0);
}

TEST(Progress, ScaledByTheCallerInTheChild)
{
    if (!IsDpiChild())
        GTEST_SKIP() << "runs at 120 dpi in a child of AtOneHundredTwentyDpi";
    const float scale = ScaleFromScreenDpi();
    EXPECT_FLOAT_EQ(scale, 1.2f);
    HWND desk = CreateLightBackdrop();
    RECT background{}, content{}, label{};
    bool saved = false;
    CObservedProgressDlg progress;
    INT_PTR result = RunProgress(progress, scale, L"正在修复，请稍等", [&](const PairWindows& pair) {
        MoveTo(POINT{4, 4});
        WaitUntil([&] { return progress.DotCountNow() == 3; }, 4000);
        ::Sleep(200);
        background = WindowRectOf(pair.background);
        content = WindowRectOf(pair.content);
        label = RectIn(Label(pair), pair.content);
        saved = SaveScreenPng(L"progress-120dpi.png");
        CloseFromWorker(pair.background);
    });
    ::DestroyWindow(desk);
    EXPECT_TRUE(saved);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(SizeOf(background).cx, 278);
    EXPECT_EQ(SizeOf(background).cy, 158);
    // After the framework's centring the content follows: 16, 14, 16, 19 at this scale.
    EXPECT_EQ(content.left - background.left, 16);
    EXPECT_EQ(content.top - background.top, 14);
    EXPECT_EQ(SizeOf(content).cx, 278 - 32);
    EXPECT_EQ(SizeOf(content).cy, 158 - 33);
    // 10 * 1.2f is a little over 12: 246 - 12.0000005 and 62 - 12.0000005 truncate down.
    EXPECT_EQ(label.left, 12);
    EXPECT_EQ(label.top, 49);
    EXPECT_EQ(label.right, 233);
    EXPECT_EQ(label.bottom, 97);
}
