// The click hook, in this process: while the thread that installed it is busy, as the tool's
// window thread is in a call to the feedback library, the desktop's mouse input does not wait
// for it, and each left press still reaches the target window as a posted WM_GLOBAL_CLICK.
#include "app/ClickHook.h"
#include "support/GuiInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SentInput {
    const char* name;
    DWORD flags;
};

struct Send {
    DWORD flags;
    HANDLE done;
};

DWORD WINAPI SendThread(LPVOID param)
{
    auto* send = static_cast<Send*>(param);
    guitest::SendMouse(send->flags);
    ::SetEvent(send->done);
    return 0;
}

// Sends one event from another thread while this one waits, dispatching nothing; whether the
// send came back within the generous bound.
bool SendWhileThisThreadIsBusy(DWORD flags)
{
    Send send{flags, ::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HANDLE thread = ::CreateThread(nullptr, 0, SendThread, &send, 0, nullptr);
    const bool returned = ::WaitForSingleObject(send.done, 60000) == WAIT_OBJECT_0;
    ::WaitForSingleObject(thread, 60000);
    ::CloseHandle(thread);
    ::CloseHandle(send.done);
    return returned;
}

// The WM_GLOBAL_CLICKs waiting for the window, each as its wParam.
std::vector<std::string> TakeGlobalClicks(HWND target)
{
    std::vector<std::string> clicks;
    MSG msg;
    while (::PeekMessageW(&msg, target, WM_GLOBAL_CLICK, WM_GLOBAL_CLICK, PM_REMOVE))
        clicks.push_back(msg.wParam == WM_LBUTTONDOWN ? "WM_LBUTTONDOWN" : std::to_string(msg.wParam));
    return clicks;
}

}  // namespace

TEST(ClickHook, PostsEachLeftPressWithoutWaitingOnTheInstallingThread)
{
    HWND target = ::CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(target);
    ASSERT_TRUE(guitest::MoveTo(40, 40));
    CClickHook hook;
    EXPECT_FALSE(hook.SetTargetWindow(nullptr));
    ASSERT_TRUE(hook.SetTargetWindow(target));
    ASSERT_TRUE(hook.Install());

    const SentInput inputs[] = {
        {"move", MOUSEEVENTF_MOVE},           {"left press", MOUSEEVENTF_LEFTDOWN},
        {"left release", MOUSEEVENTF_LEFTUP}, {"right press", MOUSEEVENTF_RIGHTDOWN},
        {"right release", MOUSEEVENTF_RIGHTUP}, {"second left press", MOUSEEVENTF_LEFTDOWN},
        {"second left release", MOUSEEVENTF_LEFTUP},
    };
    std::vector<std::string> seen;
    for (const SentInput& input : inputs) {
        ASSERT_TRUE(SendWhileThisThreadIsBusy(input.flags)) << input.name;
        // Nothing has been dispatched here: whatever arrived was posted by the hook's thread.
        for (const std::string& click : TakeGlobalClicks(target))
            seen.push_back(std::string(input.name) + ": " + click);
    }
    const std::vector<std::string> expected = {"left press: WM_LBUTTONDOWN",
                                               "second left press: WM_LBUTTONDOWN"};
    EXPECT_EQ(seen, expected);

    // Removed, it reports nothing; a second removal is harmless; it can be installed again.
    hook.Uninstall();
    hook.Uninstall();
    for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
        ASSERT_TRUE(SendWhileThisThreadIsBusy(flags));
    EXPECT_TRUE(TakeGlobalClicks(target).empty());
    ASSERT_TRUE(hook.Install());
    EXPECT_TRUE(hook.Install()) << "once is enough";
    for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP})
        ASSERT_TRUE(SendWhileThisThreadIsBusy(flags));
    EXPECT_EQ(TakeGlobalClicks(target), std::vector<std::string>{"WM_LBUTTONDOWN"});
    hook.Uninstall();
    ::DestroyWindow(target);
}
