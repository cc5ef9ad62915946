// Built with the dialogs' templates but without their images: the prompt and the feedback
// dialog end at once with IDCANCEL instead of running a modal loop with nothing to see, and
// the progress prompt still waits for the end of the repair.
#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "dialogs/ExecutePromptDlg.h"
#include "dialogs/PromptDlg.h"
#include "feedback/ProblemSolvingFeedbackDlg.h"
#include "res/resource.h"
#include "skin/PngResource.h"

#include <atomic>
#include <thread>

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int ThreadWindowCount(DWORD threadId)
{
    int count = 0;
    ::EnumThreadWindows(threadId, CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Runs DoModal; should it not come back within 3 s, its windows are told to cancel and the
// run counts as hung.
INT_PTR RunGuarded(const std::function<INT_PTR()>& run, bool* hung)
{
    const DWORD uiThread = ::GetCurrentThreadId();
    std::atomic<bool> done{false};
    *hung = false;
    std::thread watchdog([&] {
        if (WaitUntil([&] { return done.load(); }, 3000))
            return;
        *hung = true;
        while (!done) {
            PairWindows left = FindVisiblePair(uiThread);
            if (left.background)
                ::PostMessageW(left.background, WM_COMMAND, IDCANCEL, 0);
            ::Sleep(100);
        }
    });
    INT_PTR result = run();
    done = true;
    watchdog.join();
    return result;
}

}  // namespace

TEST(MissingImages, TheBuildReallyLacksTheImages)
{
    EnsureGdiplus();
    Gdiplus::Image* image = nullptr;
    for (UINT id : {IDB_PROMPT_BACKGROUND, IDB_FEEDBACK_BACKGROUND, IDB_PROGRESS_BACKGROUND}) {
        EXPECT_FALSE(LoadPngFromResource(&image, id)) << id;
        EXPECT_EQ(image, nullptr);
    }
    EXPECT_NE(::FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_PROMPT), MAKEINTRESOURCEW(5)), nullptr)
        << "but it has the templates";
}

TEST(MissingImages, ThePromptEndsAtOnceWithCancel)
{
    EnsureGdiplus();
    for (int mode : {PROMPT_YES, PROMPT_CONFIRM_CANCEL}) {
        CPromptDlg prompt;
        prompt.SetText(L"工具初始化失败");
        prompt.SetMode(mode);
        bool hung = false;
        INT_PTR result = RunGuarded([&] { return prompt.DoModal(); }, &hung);
        EXPECT_FALSE(hung);
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(prompt.GetContent(), nullptr);
        EXPECT_EQ(ThreadWindowCount(::GetCurrentThreadId()), 0);
    }
}

TEST(MissingImages, TheFeedbackDialogEndsAtOnceWithCancel)
{
    EnsureGdiplus();
    CProblemSolvingFeedbackDlg feedback;
    bool hung = false;
    INT_PTR result = RunGuarded([&] { return feedback.DoModal(); }, &hung);
    EXPECT_FALSE(hung);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(feedback.GetContent(), nullptr);
    EXPECT_EQ(ThreadWindowCount(::GetCurrentThreadId()), 0);
}

TEST(MissingImages, TheProgressPromptStillWaitsForTheEndOfTheRepair)
{
    EnsureGdiplus();
    CExecutePromptDlg progress;
    progress.SetText(L"正在修复，请稍等");
    bool runningAfterAWhile = false;
    bool hasContent = true;
    bool keysIgnored = false;
    INT_PTR result = RunModalWithDriver(
        [&] { return progress.DoModal(); },
        [&](const PairWindows& pair) {
            ::Sleep(500);
            runningAfterAWhile = ::IsWindow(pair.background) != FALSE;
            hasContent = pair.content != nullptr;
            PressKey(VK_ESCAPE);
            PressKey(VK_RETURN);
            ::PostMessageW(pair.background, WM_CLOSE, 0, 0);  // a close request, as from Alt+F4
            ::Sleep(300);
            keysIgnored = ::IsWindow(pair.background) && ::IsWindowVisible(pair.background);
            std::thread worker([&] { ::SendMessageW(pair.background, WM_CLOSE_PROGRESS, 0, 0); });
            worker.join();
        },
        [](const PairWindows&) {});
    EXPECT_TRUE(runningAfterAWhile);
    EXPECT_FALSE(hasContent);
    EXPECT_TRUE(keysIgnored);
    EXPECT_EQ(result, IDOK);
}
