// A skinned pair with the message prompt's values, run as the program runs it: modally, with
// real pointer and keyboard input.  The test steps run on a second thread while the user-
// interface thread sits in the dialog's modal loop; results are checked after it returns.
#include "SkinTestSupport.h"

#include "res/resource.h"
#include "skin/DrawTextStatic.h"
#include "skin/PngButton.h"
#include "skin/PngResource.h"
#include "skin/SkinDialog.h"
#include "skin/SkinScale.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

using namespace guitest;

namespace {

constexpr UINT WM_TEST_FOCUS = WM_APP + 1;  // wParam: the window to focus

std::vector<std::string> g_events;

SkinPairValues PromptValues(UINT backgroundPng = IDB_PROMPT_BACKGROUND)
{
    return SkinPairValues{backgroundPng, 336, 156, {5, 3, 10, 10}, {5, 3, 5, 7}, {5, 3, 5, 7}};
}

// A button that notes the keys dispatched to it.
class CKeyNotingButton : public CPngButton {
public:
    std::vector<WPARAM> keys;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_KEYDOWN)
            keys.push_back(wParam);
        return CPngButton::WindowProc(msg, wParam, lParam);
    }
};

class CTestChildDlg : public CSkinContentDlg {
public:
    CTestChildDlg() : CSkinContentDlg(IDD_PROMPT_CHILD, IDB_PROMPT_PANEL) { m_bDragsPair = TRUE; }
    ~CTestChildDlg() override { g_events.push_back("content deleted"); }

    CKeyNotingButton m_btnOk;
    CPngButton m_btnCancel;
    CPngButton m_btnClose;
    CDrawTextStatic m_text;
    std::vector<WPARAM> keys;
    std::vector<WORD> commands;
    std::vector<std::string> layouts;  // "first 390x174": each layout with the client size

protected:
    void DoDataExchange() override
    {
        DDX_Control(IDC_BTN_CLOSE, m_btnClose);
        DDX_Control(IDC_BTN_OK, m_btnOk);
        DDX_Control(IDC_BTN_CANCEL, m_btnCancel);
        DDX_Control(IDC_STATIC_PROMPT_TEXT, m_text);
    }

    // The prompt's two-button layout, enough to see the pair as the user does.
    void LayoutControls(BOOL first) override
    {
        RECT r;
        GetClientRect(&r);
        layouts.push_back(std::string(first ? "first " : "again ") + std::to_string(r.right - r.left) +
                          "x" + std::to_string(r.bottom - r.top));
        float s = m_fScale;
        int half = (r.right - r.left) / 2;
        int left = r.right - Scaled(26, s);
        int top = r.top + Scaled(8, s);
        if (first) {
            m_btnClose.m_fScale = s;
            m_btnClose.SetBackdrop(m_pBackground.get());
            m_btnClose.SetBackdropRect(321, 8, 333, 20);
            m_btnClose.SetStateImages(IDB_PROMPT_CLOSE_NORMAL, IDB_PROMPT_CLOSE_HOVER,
                                      IDB_PROMPT_CLOSE_PRESSED, IDB_PROMPT_CLOSE_PRESSED);
            m_btnOk.m_fScale = s;
            m_btnOk.SetBackdrop(m_pBackground.get());
            m_btnOk.SetBackdropRect(106, 107, 161, 131);
            m_btnOk.SetStateImages(IDB_PROMPT_CONFIRM_NORMAL, IDB_PROMPT_CONFIRM_HOVER,
                                   IDB_PROMPT_CONFIRM_PRESSED, IDB_PROMPT_CONFIRM_PRESSED);
            m_btnCancel.m_fScale = s;
            m_btnCancel.SetBackdrop(m_pBackground.get());
            m_btnCancel.SetBackdropRect(185, 107, 240, 131);
            m_btnCancel.SetStateImages(IDB_PROMPT_CANCEL_NORMAL, IDB_PROMPT_CANCEL_HOVER,
                                       IDB_PROMPT_CANCEL_PRESSED, IDB_PROMPT_CANCEL_PRESSED);
            m_text.CreateFontFromParent();
            m_text.SetTextColors(0x333333, 0x333333);
        }
        m_btnClose.MoveWindow(left, top, Scaled(12, s), Scaled(12, s));
        int okLeft = Truncated(half - 55 * static_cast<double>(s) - 12 * static_cast<double>(s));
        m_btnOk.MoveWindow(okLeft, r.top + Scaled(107, s), Scaled(55, s), Scaled(24, s));
        m_btnCancel.MoveWindow(Truncated(half + 12 * static_cast<double>(s)), r.top + Scaled(107, s),
                               Scaled(55, s), Scaled(24, s));
        m_text.SetWindowText(L"本工具可以修复重置系统后键盘所有按键失灵的问题。");
        m_text.MoveWindow(r.left + Scaled(10, s), r.top + Scaled(50, s),
                          r.right - Scaled(10, s) - r.left - Scaled(10, s),
                          r.bottom - Scaled(40, s) - r.top - Scaled(50, s));
    }

    void OnDestroy() override
    {
        g_events.push_back("content destroyed");
        m_btnOk.ReleaseStateImages();
        m_btnCancel.ReleaseStateImages();
        m_btnClose.ReleaseStateImages();
        CSkinContentDlg::OnDestroy();
    }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_KEYDOWN)
            keys.push_back(wParam);
        if (msg == WM_COMMAND)
            commands.push_back(LOWORD(wParam));
        if (msg == WM_TEST_FOCUS) {
            HWND target = reinterpret_cast<HWND>(wParam);
            ::SetForegroundWindow(::GetAncestor(target, GA_ROOT));
            ::SetFocus(target);
            return ::GetFocus() == target;
        }
        return CSkinContentDlg::WindowProc(msg, wParam, lParam);
    }
};

class CTestPairDlg : public CSkinBackgroundDlg {
public:
    explicit CTestPairDlg(UINT backgroundPng = IDB_PROMPT_BACKGROUND)
        : CSkinBackgroundDlg(IDD_PROMPT, nullptr, PromptValues(backgroundPng))
    {
    }
    CTestChildDlg* Child() const { return static_cast<CTestChildDlg*>(m_pContent.get()); }
    using CSkinBackgroundDlg::m_bEndIfImageMissing;

    std::vector<WORD> commands;
    std::atomic<HWND> shown{nullptr};

protected:
    CSkinContentDlg* CreateContent() override { return new CTestChildDlg; }
    void OnContentCreated() override
    {
        g_events.push_back("content created");
    }
    void OnDestroy() override
    {
        g_events.push_back("background destroyed");
        CSkinBackgroundDlg::OnDestroy();
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_COMMAND)
            commands.push_back(LOWORD(wParam));
        if (msg == WM_TEST_FOCUS) {
            ::SetForegroundWindow(m_hWnd);
            ::SetFocus(m_hWnd);
            return ::GetForegroundWindow() == m_hWnd;
        }
        return CSkinBackgroundDlg::WindowProc(msg, wParam, lParam);
    }
};

RECT WindowRectOf(HWND hWnd)
{
    RECT r{};
    ::GetWindowRect(hWnd, &r);
    return r;
}

std::string Text(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

RECT Shrunk(const RECT& r, int l, int t, int rr, int b)
{
    return RECT{r.left + l, r.top + t, r.right - rr, r.bottom - b};
}

RECT Offset(const RECT& r, int dx, int dy)
{
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

DWORD WINAPI RunSteps(void* steps)
{
    (*static_cast<std::function<void()>*>(steps))();
    return 0;
}

// Runs steps on a helper thread while the dialog runs modally on this one.
INT_PTR RunModalWith(CDialog& dialog, std::function<void()> steps)
{
    HANDLE thread = ::CreateThread(nullptr, 0, RunSteps, &steps, 0, nullptr);
    INT_PTR result = dialog.DoModal();
    ::WaitForSingleObject(thread, 60000);
    ::CloseHandle(thread);
    return result;
}

}  // namespace

TEST(SkinPair, ModalPairFollowsDragsSwallowsKeysAndTearsDown)
{
    g_events.clear();
    ::SetCursorPos(0, 0);  // away from the buttons, which would decode their hover images
    int imagesBefore = LivePngImageCount();
    CTestPairDlg dialog;

    struct Seen {
        HWND background = nullptr;
        HWND content = nullptr;
        HWND owner = nullptr;
        DWORD exStyle = 0;
        RECT background0{}, content0{};
        RECT background1{}, content1{};
        RECT background2{}, content2{};
        RECT background3{}, content3{};
        int imagesWhileOpen = 0;
        bool focusedOk = false, focusedBackground = false;
        bool openAfterContentKeys = false, openAfterBackgroundKeys = false;
        std::vector<WPARAM> okKeys, contentKeys;
    } seen;

    INT_PTR result = RunModalWith(dialog, [&] {
        if (!WaitUntil([&] { return dialog.m_hWnd && ::IsWindowVisible(dialog.m_hWnd) &&
                                  dialog.Child() && ::IsWindowVisible(dialog.Child()->m_hWnd); }, 10000))
            return;
        ::Sleep(300);
        seen.background = dialog.m_hWnd;
        seen.content = dialog.Child()->m_hWnd;
        seen.owner = ::GetWindow(seen.content, GW_OWNER);
        seen.exStyle = static_cast<DWORD>(::GetWindowLongW(seen.background, GWL_EXSTYLE));
        seen.background0 = WindowRectOf(seen.background);
        seen.content0 = WindowRectOf(seen.content);
        seen.imagesWhileOpen = LivePngImageCount();
        SaveScreenshot(L"pair_prompt_values");

        // The background moves: the content goes with it.
        ::SetWindowPos(seen.background, nullptr, seen.background0.left + 40,
                       seen.background0.top + 25, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::Sleep(100);
        seen.background1 = WindowRectOf(seen.background);
        seen.content1 = WindowRectOf(seen.content);

        // Enter and Escape with the focus on a button of the content window, then on the
        // background window.  An ordinary key shows that the input arrives at all.
        HWND ok = dialog.Child()->m_btnOk.m_hWnd;
        seen.focusedOk = ::SendMessageW(seen.content, WM_TEST_FOCUS,
                                        reinterpret_cast<WPARAM>(ok), 0) != 0;
        ::Sleep(100);
        PressKey('A');
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        ::Sleep(300);
        seen.openAfterContentKeys = ::IsWindowVisible(seen.background) && ::IsWindowVisible(seen.content);
        seen.okKeys = dialog.Child()->m_btnOk.keys;
        seen.contentKeys = dialog.Child()->keys;
        seen.focusedBackground = ::SendMessageW(seen.background, WM_TEST_FOCUS, 0, 0) != 0;
        ::Sleep(100);
        PressKey(VK_ESCAPE);
        PressKey(VK_RETURN);
        ::Sleep(300);
        seen.openAfterBackgroundKeys = ::IsWindowVisible(seen.background) && ::IsWindowVisible(seen.content);

        // Drag the content by its title band, in steps, with the real pointer.
        RECT c = WindowRectOf(seen.content);
        int x = c.left + 60;
        int y = c.top + 12;
        MoveTo(x, y);
        ::Sleep(150);
        LeftDown();
        ::Sleep(150);
        for (int step = 1; step <= 6; ++step) {
            MoveTo(x + 10 * step, y + 5 * step);
            ::Sleep(60);
        }
        LeftUp();
        ::Sleep(300);
        seen.background2 = WindowRectOf(seen.background);
        seen.content2 = WindowRectOf(seen.content);
        SaveScreenshot(L"pair_prompt_values_dragged");

        // From now on the background alone no longer moves the content.
        ::SetWindowPos(seen.background, nullptr, seen.background2.left + 20,
                       seen.background2.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::Sleep(100);
        seen.background3 = WindowRectOf(seen.background);
        seen.content3 = WindowRectOf(seen.content);
        MoveTo(5, 5);
        ::PostMessageW(seen.background, WM_CLOSE, 0, 0);
    });

    ASSERT_NE(seen.content, nullptr) << "the pair did not appear";
    EXPECT_EQ(result, IDCANCEL) << "closed by WM_CLOSE only";
    EXPECT_EQ(seen.owner, seen.background);
    EXPECT_TRUE(seen.exStyle & WS_EX_LAYERED);

    // Exact layered size at scale 1; the content window inside the opaque part.
    EXPECT_EQ(seen.background0.right - seen.background0.left, 336);
    EXPECT_EQ(seen.background0.bottom - seen.background0.top, 156);
    EXPECT_EQ(Text(seen.content0), Text(Shrunk(seen.background0, 5, 3, 5, 7)));
    EXPECT_EQ(seen.imagesWhileOpen, imagesBefore + 2 + 3)
        << "two panel images and each button's normal image: no other state has been shown yet";

    // Following.
    EXPECT_EQ(Text(seen.background1), Text(Offset(seen.background0, 40, 25)));
    EXPECT_EQ(Text(seen.content1), Text(Offset(seen.content0, 40, 25)));

    // Keys.
    EXPECT_TRUE(seen.focusedOk);
    EXPECT_TRUE(seen.focusedBackground);
    EXPECT_TRUE(seen.openAfterContentKeys);
    EXPECT_TRUE(seen.openAfterBackgroundKeys);
    EXPECT_EQ(seen.okKeys, std::vector<WPARAM>{'A'}) << "only the ordinary key is dispatched";
    EXPECT_TRUE(seen.contentKeys.empty());
    ASSERT_EQ(dialog.commands.size(), 1u) << "only the closing command";
    EXPECT_EQ(dialog.commands[0], IDCANCEL);

    // Dragging: the content moved by the pointer's way, the shadow went around it.
    EXPECT_EQ(Text(seen.content2), Text(Offset(seen.content1, 60, 30)));
    EXPECT_EQ(Text(seen.background2), Text(RECT{seen.content2.left - 5, seen.content2.top - 3,
                                                seen.content2.right + 5, seen.content2.bottom + 7}));
    EXPECT_EQ(Text(seen.background3), Text(Offset(seen.background2, 20, 20)));
    EXPECT_EQ(Text(seen.content3), Text(seen.content2));

    // Teardown: content first, its object deleted by the background, every image freed.
    std::vector<std::string> expected{"content created", "content destroyed",
                                      "background destroyed", "content deleted"};
    EXPECT_EQ(g_events, expected);
    EXPECT_EQ(LivePngImageCount(), imagesBefore);
    EXPECT_EQ(dialog.GetContent(), nullptr);
    EXPECT_EQ(dialog.m_pBackground, nullptr);
}

TEST(SkinPair, CreationInsetsAndFollowInsetsAtScale12)
{
    g_events.clear();
    int imagesBefore = LivePngImageCount();
    // A light desktop behind the pair, so that the screenshot shows the soft shadow.
    HWND desk = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 640, 480,
                                  nullptr, nullptr, nullptr, nullptr);
    ::ShowWindow(desk, SW_SHOWNOACTIVATE);
    ::UpdateWindow(desk);
    {
        CTestPairDlg dialog;
        dialog.m_fScale = 1.2f;
        ASSERT_TRUE(dialog.Create(IDD_PROMPT, nullptr));
        RECT background = WindowRectOf(dialog.m_hWnd);
        ASSERT_NE(dialog.Child(), nullptr);
        RECT content = WindowRectOf(dialog.Child()->m_hWnd);
        EXPECT_FLOAT_EQ(dialog.Child()->m_fScale, 1.2f);
        // 336 x 156 at 1.2: 403.2 and 187.2, truncated.
        EXPECT_EQ(background.right - background.left, 403);
        EXPECT_EQ(background.bottom - background.top, 187);
        // Creation: x + 6, y + 3 (3.6), width 403 - 12.0000005, height 187 - 12.0000005.
        EXPECT_EQ(content.left, background.left + 6);
        EXPECT_EQ(content.top, background.top + 3);
        EXPECT_EQ(content.right - content.left, 390);
        EXPECT_EQ(content.bottom - content.top, 174);
        // Placed before its initialisation: laid out once, at its real size.
        EXPECT_EQ(dialog.Child()->layouts, std::vector<std::string>{"first 390x174"});

        // Following: each inset truncated on its own (6, 3, 6, 8).
        ::SetWindowPos(dialog.m_hWnd, nullptr, background.left + 7, background.top + 9, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT moved = WindowRectOf(dialog.m_hWnd);
        EXPECT_EQ(Text(WindowRectOf(dialog.Child()->m_hWnd)), Text(Shrunk(moved, 6, 3, 6, 8)));
        ::SetWindowPos(dialog.m_hWnd, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        dialog.ShowWindow(SW_SHOW);
        PumpFor(400);
        SaveScreenshot(L"pair_scale_1_2");
        dialog.DestroyWindow();
        EXPECT_EQ(dialog.GetContent(), nullptr);
    }
    ::DestroyWindow(desk);
    EXPECT_EQ(LivePngImageCount(), imagesBefore);
}

TEST(SkinPair, MissingBackgroundImage)
{
    // With the flag, the modal dialog ends at once: nothing invisible is left running.
    {
        CTestPairDlg dialog(999);
        dialog.m_bEndIfImageMissing = TRUE;
        DWORD start = ::GetTickCount();
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_LT(::GetTickCount() - start, 5000u);
        EXPECT_EQ(dialog.GetContent(), nullptr);
    }
    // Without it, the dialog runs undrawn and without content until something ends it.
    {
        CTestPairDlg dialog(999);
        bool running = false;
        bool noContent = false;
        INT_PTR result = RunModalWith(dialog, [&] {
            WaitUntil([&] { return dialog.m_hWnd != nullptr; }, 10000);
            ::Sleep(300);
            running = ::IsWindow(dialog.m_hWnd) != FALSE;
            noContent = dialog.GetContent() == nullptr;
            ::PostMessageW(dialog.m_hWnd, WM_CLOSE, 0, 0);
        });
        EXPECT_TRUE(running);
        EXPECT_TRUE(noContent);
        EXPECT_EQ(result, IDCANCEL);
    }
}
