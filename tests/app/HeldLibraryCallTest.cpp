// The running tool while a call into the feedback library is held back, as the maker's library
// is by a slow server: the desktop's mouse does not wait for the tool meanwhile, and once the
// call has returned a press outside the agreement bubble still closes it.
#include "ToolWindows.h"
#include "support/GuiInput.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Wine gives up on a low-level hook that has not answered after 2 s (Windows after its
// LowLevelHooksTimeout): a hook that waited on the held thread would make a move take that long.
const ULONGLONG kHookTimeOutMs = 2000;

struct HeldCall {
    const char* function;
    bool heldAtStart;       // the version question, asked by itself shortly after the start
    const char* journaled;  // the call's journal line once it has returned
};

const HeldCall kHeldCalls[] = {
    {"GetToolIsNewVersion", true, "GetToolIsNewVersion(\"10056\", \"1.0.4\") = 0"},
    {"FeedbackQuestion", false, "FeedbackQuestion(\"10056\", \"1.0.4\") = 1"},
};

// The stand-in's pair of events for a held call: set "waiting" when it holds, "release" lets it go.
class CHold {
public:
    explicit CHold(const std::wstring& name)
        : m_name(name), m_release(::CreateEventW(nullptr, TRUE, FALSE, name.c_str())),
          m_waiting(::CreateEventW(nullptr, TRUE, FALSE, (name + L".waiting").c_str()))
    {
    }
    ~CHold()
    {
        Release();
        ::CloseHandle(m_release);
        ::CloseHandle(m_waiting);
    }
    const std::wstring& Name() const { return m_name; }
    bool WaitHeld() const { return ::WaitForSingleObject(m_waiting, 60000) == WAIT_OBJECT_0; }
    void Release() { ::SetEvent(m_release); }

private:
    std::wstring m_name;
    HANDLE m_release;
    HANDLE m_waiting;
};

ULONGLONG TimedMoveTo(int x, int y)
{
    const ULONGLONG before = guitest::Now();
    guitest::SendPointerTo(x, y);
    return guitest::Now() - before;
}

}  // namespace

TEST(HeldLibraryCall, TheMouseDoesNotWaitAndTheBubbleStillClosesAfterwards)
{
    // A first move costs this process more than any later one.
    ASSERT_TRUE(guitest::MoveTo(30, 30));
    int run = 0;
    for (const HeldCall& c : kHeldCalls) {
        SCOPED_TRACE(c.function);
        CHold hold(L"corvina-held-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++run));
        CToolRun tool(L"Downloads", ToolOptions{});
        const std::wstring config = tool.Folder() + L"\\HalvexFeedbackInformation.ini";
        ASSERT_TRUE(WriteFileBytes(config, ReadFileBytes(config) + "[block]\r\n" + c.function + "=" +
                                               Utf8(hold.Name()) + "\r\n"));
        ASSERT_TRUE(tool.Start());
        HWND panel = nullptr;
        if (!c.heldAtStart) {
            panel = PanelAfterNotice(tool);
            ASSERT_TRUE(panel);
            ClickControl(panel, IDC_STATIC_FEEDBACK_LINK);
        }
        ASSERT_TRUE(hold.WaitHeld());

        const ULONGLONG took = TimedMoveTo(300 + run * 10, 300);
        std::printf("%s held: a move took %llu ms\n", c.function, took);
        EXPECT_LT(took, kHookTimeOutMs * 3 / 4);
        EXPECT_EQ(CountContaining(tool.FeedbackJournal(), c.function), 0u) << "still held";
        hold.Release();

        if (c.heldAtStart)
            panel = PanelAfterNotice(tool);
        ASSERT_TRUE(panel);
        EXPECT_TRUE(WaitUntil([&] { return CountContaining(tool.FeedbackJournal(), c.journaled) == 1; }, 20000));

        // The hook still reports presses: one outside the open bubble closes it.
        ClickControl(panel, IDC_STATIC_AGREEMENT_LINK);
        ASSERT_TRUE(WaitUntil([&] { return IsOpen(FindBubble(tool.ProcessId(), panel)); }, 20000));
        const RECT frame = RectOf(::GetWindow(panel, GW_OWNER));
        ClickWithPointerAt(frame.right + 100, frame.top + 40);
        EXPECT_TRUE(WaitUntil([&] { return IsClosed(FindBubble(tool.ProcessId(), panel)); }, 20000));
        EXPECT_TRUE(tool.Running());
    }
}
