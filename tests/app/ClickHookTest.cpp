// The click hook, in this process: while the thread that installed it is busy, as the tool's
// window thread is in a call to the feedback library, the desktop's mouse input does not wait
// for it, and each left press still reaches the target window as a posted WM_GLOBAL_CLICK
// that tells where the press was, wherever the pointer has gone since.
#include "app/ClickHook.h"
#include "support/GuiInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using guitest::PointerStep;

struct SentInput {
    const char* name;
    std::vector<PointerStep> burst;
};

struct Send {
    std::vector<PointerStep> burst;
    HANDLE done;
};

DWORD WINAPI SendThread(LPVOID param)
{
    auto* send = static_cast<Send*>(param);
    guitest::SendPointerBurst(send->burst);
    ::SetEvent(send->done);
    return 0;
}

// Sends a burst of events from another thread while this one waits, dispatching nothing;
// whether the send came back within the generous bound.
bool SendWhileThisThreadIsBusy(const std::vector<PointerStep>& burst)
{
    Send send{burst, ::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HANDLE thread = ::CreateThread(nullptr, 0, SendThread, &send, 0, nullptr);
    const bool returned = ::WaitForSingleObject(send.done, 60000) == WAIT_OBJECT_0;
    ::WaitForSingleObject(thread, 60000);
    ::CloseHandle(thread);
    ::CloseHandle(send.done);
    return returned;
}

// The WM_GLOBAL_CLICKs waiting for the window, each as its wParam and the point it carries.
std::vector<std::string> TakeGlobalClicks(HWND target)
{
    std::vector<std::string> clicks;
    MSG msg;
    while (::PeekMessageW(&msg, target, WM_GLOBAL_CLICK, WM_GLOBAL_CLICK, PM_REMOVE)) {
        const POINT at = GlobalClickPoint(msg.lParam);
        clicks.push_back((msg.wParam == WM_LBUTTONDOWN ? "WM_LBUTTONDOWN" : std::to_string(msg.wParam)) +
                         " at " + std::to_string(at.x) + "," + std::to_string(at.y));
    }
    return clicks;
}

std::vector<PointerStep> At(POINT p, DWORD buttons)
{
    return {{p, buttons}};
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

    const POINT a{40, 40}, b{300, 200}, c{120, 90};
    const SentInput inputs[] = {
        {"move", At(a, 0)},
        {"left press", At(a, MOUSEEVENTF_LEFTDOWN)},
        {"left release", At(a, MOUSEEVENTF_LEFTUP)},
        {"right press", At(a, MOUSEEVENTF_RIGHTDOWN)},
        {"right release", At(a, MOUSEEVENTF_RIGHTUP)},
        // The pointer has left the press's point before this thread reads the message.
        {"left press and a move away at once", {{c, MOUSEEVENTF_LEFTDOWN}, {b, 0}}},
        {"left release", At(b, MOUSEEVENTF_LEFTUP)},
        {"a move, a click and a move back at once", {{c, 0}, {a, MOUSEEVENTF_LEFTDOWN}, {a, MOUSEEVENTF_LEFTUP}, {b, 0}}},
    };
    std::vector<std::string> seen;
    for (const SentInput& input : inputs) {
        ASSERT_TRUE(SendWhileThisThreadIsBusy(input.burst)) << input.name;
        POINT pointer{};
        ASSERT_TRUE(guitest::WaitUntil([&] {
            ::GetCursorPos(&pointer);
            return pointer.x == input.burst.back().at.x && pointer.y == input.burst.back().at.y;
        }, 60000)) << input.name;
        // Nothing has been dispatched here: whatever arrived was posted by the hook's thread.
        for (const std::string& click : TakeGlobalClicks(target))
            seen.push_back(std::string(input.name) + ": " + click);
    }
    const std::vector<std::string> expected = {
        "left press: WM_LBUTTONDOWN at 40,40",
        "left press and a move away at once: WM_LBUTTONDOWN at 120,90",
        "a move, a click and a move back at once: WM_LBUTTONDOWN at 40,40",
    };
    EXPECT_EQ(seen, expected);

    // Removed, it reports nothing; a second removal is harmless; it can be installed again, and
    // then reports nothing until it is given a window: the removal forgot the old one.
    const std::vector<PointerStep> click = {{a, MOUSEEVENTF_LEFTDOWN}, {a, MOUSEEVENTF_LEFTUP}};
    hook.Uninstall();
    hook.Uninstall();
    ASSERT_TRUE(SendWhileThisThreadIsBusy(click));
    EXPECT_TRUE(TakeGlobalClicks(target).empty());
    ASSERT_TRUE(hook.Install());
    EXPECT_TRUE(hook.Install()) << "once is enough";
    ASSERT_TRUE(SendWhileThisThreadIsBusy(click));
    EXPECT_TRUE(TakeGlobalClicks(target).empty()) << "no window given since the removal";
    ASSERT_TRUE(hook.SetTargetWindow(target));
    ASSERT_TRUE(SendWhileThisThreadIsBusy(click));
    EXPECT_EQ(TakeGlobalClicks(target), std::vector<std::string>{"WM_LBUTTONDOWN at 40,40"});
    hook.Uninstall();
    ::DestroyWindow(target);
}

TEST(ClickHook, ThePressPointSurvivesTheMessageOnEveryScreen)
{
    // Screens left of or above the main one have negative coordinates.
    const POINT points[] = {{0, 0}, {1279, 1023}, {-1920, 5}, {-1, -1080}, {32767, -32768}};
    for (const POINT& p : points) {
        const POINT back = GlobalClickPoint(GlobalClickParam(p));
        EXPECT_EQ(back.x, p.x);
        EXPECT_EQ(back.y, p.y);
    }
}
