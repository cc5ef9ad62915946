// The message prompt run modally and driven with real input: where its buttons are, which
// images they show, what each answer returns, dragging, and the keys it ignores.
#include <gtest/gtest.h>

#include "GuiDriver.h"
#include "dialogs/PromptDlg.h"
#include "res/resource.h"
#include "skin/SkinScale.h"

#include <atomic>
#include <thread>

namespace {

constexpr POINT kParkedCursor{4, 4};

constexpr INT_PTR kForcedEnd = -2;

// The prompt's DoModal result, or kForcedEnd when the driver had to end it itself.
INT_PTR RunPrompt(int mode, float scale, const std::wstring& text,
                  const std::function<void(const PairWindows&)>& driver)
{
    EnsureGdiplus();
    CPromptDlg prompt;
    prompt.m_fScale = scale;
    prompt.SetText(text);
    prompt.SetMode(mode);
    bool forced = false;
    INT_PTR result = RunModalWithDriver([&] { return prompt.DoModal(); }, driver,
                                        [&](const PairWindows& pair) {
                                            forced = true;
                                            ::PostMessageW(pair.background, WM_COMMAND, IDCANCEL, 0);
                                        });
    return forced ? kForcedEnd : result;
}

HWND Item(const PairWindows& pair, int id)
{
    return ::GetDlgItem(pair.content, id);
}

RECT ScreenRectOf(const PairWindows& pair, int id)
{
    return WindowRectOf(Item(pair, id));
}

struct Observed {
    RECT background{};
    RECT content{};
    RECT close{};
    RECT ok{};
    RECT cancel{};
    RECT text{};
    bool okVisible = false;
    bool cancelVisible = false;
    std::wstring label;
    double okMatch[2] = {};      // against 是 (169) and 确认 (166)
    double cancelMatch[2] = {};  // against 否 (163) and 取消 (157)
};

void Observe(const PairWindows& pair, Observed& seen)
{
    seen.background = WindowRectOf(pair.background);
    seen.content = WindowRectOf(pair.content);
    seen.close = RectIn(Item(pair, IDC_BTN_CLOSE), pair.content);
    seen.ok = RectIn(Item(pair, IDC_BTN_OK), pair.content);
    seen.cancel = RectIn(Item(pair, IDC_BTN_CANCEL), pair.content);
    seen.text = RectIn(Item(pair, IDC_STATIC_PROMPT_TEXT), pair.content);
    seen.okVisible = ::IsWindowVisible(Item(pair, IDC_BTN_OK));
    seen.cancelVisible = ::IsWindowVisible(Item(pair, IDC_BTN_CANCEL));
    wchar_t label[256] = {};
    ::GetWindowTextW(Item(pair, IDC_STATIC_PROMPT_TEXT), label, 256);
    seen.label = label;

    CScreenShot shot(seen.content);
    seen.okMatch[0] = shot.MatchPng(seen.ok, IDB_PROMPT_YES_NORMAL);
    seen.okMatch[1] = shot.MatchPng(seen.ok, IDB_PROMPT_CONFIRM_NORMAL);
    seen.cancelMatch[0] = shot.MatchPng(seen.cancel, IDB_PROMPT_NO_NORMAL);
    seen.cancelMatch[1] = shot.MatchPng(seen.cancel, IDB_PROMPT_CANCEL_NORMAL);
}

void ExpectRect(const RECT& actual, int left, int top, int right, int bottom, const char* what)
{
    EXPECT_EQ(actual.left, left) << what;
    EXPECT_EQ(actual.top, top) << what;
    EXPECT_EQ(actual.right, right) << what;
    EXPECT_EQ(actual.bottom, bottom) << what;
}

struct ModeCase {
    int mode;
    bool centred;
    bool twoButtons;
    int okImage;      // index into Observed::okMatch
    int cancelImage;  // index into Observed::cancelMatch
};

const ModeCase kModes[] = {
    {PROMPT_YES, true, false, 0, 0},
    {PROMPT_YES_NO, false, true, 0, 0},
    {PROMPT_CONFIRM, true, false, 1, 1},
    {PROMPT_CONFIRM_CANCEL, false, true, 1, 1},
    {7, false, false, 0, 0},  // unknown: 是 alone, left of centre
};

}  // namespace

TEST(Prompt, EachModeShowsItsButtonsWhereTheyBelongWithTheirImages)
{
    for (const ModeCase& c : kModes) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        Observed seen;
        INT_PTR result = RunPrompt(c.mode, 1.0f, L"修复成功", [&](const PairWindows& pair) {
            MoveTo(kParkedCursor);
            ::Sleep(150);
            Observe(pair, seen);
            ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_OK)));
        });
        EXPECT_EQ(result, IDOK);

        EXPECT_EQ(SizeOf(seen.background).cx, 336);
        EXPECT_EQ(SizeOf(seen.background).cy, 156);
        EXPECT_EQ(seen.content.left - seen.background.left, 5);
        EXPECT_EQ(seen.content.top - seen.background.top, 3);
        EXPECT_EQ(SizeOf(seen.content).cx, 326);
        EXPECT_EQ(SizeOf(seen.content).cy, 146);

        ExpectRect(seen.close, 300, 8, 312, 20, "close");
        if (c.centred)
            ExpectRect(seen.ok, 135, 107, 190, 131, "centred OK");
        else
            ExpectRect(seen.ok, 96, 107, 151, 131, "OK left of centre");
        ExpectRect(seen.cancel, 175, 107, 230, 131, "cancel");
        ExpectRect(seen.text, 10, 50, 316, 106, "text");
        EXPECT_TRUE(seen.okVisible);
        EXPECT_EQ(seen.cancelVisible, c.twoButtons);
        EXPECT_EQ(seen.label, L"修复成功");

        // The button shows its own image, not the other mode's.
        EXPECT_GT(seen.okMatch[c.okImage], 0.97);
        EXPECT_LT(seen.okMatch[1 - c.okImage], 0.90);
        if (c.twoButtons) {
            EXPECT_GT(seen.cancelMatch[c.cancelImage], 0.97);
            EXPECT_LT(seen.cancelMatch[1 - c.cancelImage], 0.90);
        }
    }
}

TEST(Prompt, CancelButtonAndCloseCrossEndWithCancel)
{
    for (int mode : {PROMPT_YES_NO, PROMPT_CONFIRM_CANCEL}) {
        INT_PTR result = RunPrompt(mode, 1.0f, L"是否继续", [&](const PairWindows& pair) {
            ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_CANCEL)));
        });
        EXPECT_EQ(result, IDCANCEL) << "cancel button, mode " << mode;
    }
    for (const ModeCase& c : kModes) {
        bool pressed = false;
        INT_PTR result = RunPrompt(c.mode, 1.0f, L"是否继续", [&](const PairWindows& pair) {
            pressed = ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_CLOSE)));
        });
        EXPECT_TRUE(pressed) << "the pointer never reached the close cross, mode " << c.mode;
        EXPECT_EQ(result, IDCANCEL) << "close cross, mode " << c.mode;
    }
}

TEST(Prompt, EmptyTextShowsAnEmptyLabelAndTheButtonsStillWork)
{
    std::wstring label = L"not read";
    INT_PTR result = RunPrompt(PROMPT_CONFIRM, 1.0f, L"", [&](const PairWindows& pair) {
        wchar_t text[64] = L"unchanged";
        ::GetWindowTextW(Item(pair, IDC_STATIC_PROMPT_TEXT), text, 64);
        label = text;
        ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_OK)));
    });
    EXPECT_EQ(label, L"");
    EXPECT_EQ(result, IDOK);
}

TEST(Prompt, EnterAndEscapeLeaveItOpen)
{
    bool openAfterKeys = false;
    bool openAfterKeysOnContent = false;
    INT_PTR result = RunPrompt(PROMPT_CONFIRM_CANCEL, 1.0f, L"按键", [&](const PairWindows& pair) {
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        ::Sleep(300);
        openAfterKeys = ::IsWindowVisible(pair.background) && ::IsWindowVisible(pair.content);
        // Again with the content window active.
        ClickAt(CenterOf(ScreenRectOf(pair, IDC_STATIC_PROMPT_TEXT)));
        PressKey(VK_ESCAPE);
        PressKey(VK_RETURN);
        ::Sleep(300);
        openAfterKeysOnContent = ::IsWindowVisible(pair.background) && ::IsWindowVisible(pair.content);
        ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_OK)));
    });
    EXPECT_TRUE(openAfterKeys);
    EXPECT_TRUE(openAfterKeysOnContent);
    EXPECT_EQ(result, IDOK);
}

TEST(Prompt, DraggingTheTitleBandTakesTheShadowAlong)
{
    RECT before{}, content{}, background{}, midContent{}, midBackground{}, afterOwnMove{};
    RECT contentAfterOwnMove{};
    INT_PTR result = RunPrompt(PROMPT_CONFIRM, 1.0f, L"拖动", [&](const PairWindows& pair) {
        before = WindowRectOf(pair.content);
        POINT grip{before.left + 60, before.top + 12};
        MoveTo(grip);
        LeftDown();
        for (int i = 1; i <= 5; ++i)
            MoveTo(Offset(grip, 8 * i, 5 * i));
        ::Sleep(150);
        midContent = WindowRectOf(pair.content);
        midBackground = WindowRectOf(pair.background);
        for (int i = 6; i <= 10; ++i)
            MoveTo(Offset(grip, 8 * i, 5 * i));
        ::Sleep(150);
        LeftUp();
        ::Sleep(200);
        content = WindowRectOf(pair.content);
        background = WindowRectOf(pair.background);
        // From now on the background alone no longer takes the content window with it.
        ::SetWindowPos(pair.background, nullptr, background.left - 30, background.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::Sleep(150);
        afterOwnMove = WindowRectOf(pair.background);
        contentAfterOwnMove = WindowRectOf(pair.content);
        ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_OK)));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(content.left - before.left, 80);
    EXPECT_EQ(content.top - before.top, 50);
    EXPECT_GT(midContent.left - before.left, 30) << "the content window moves while dragging";
    for (const auto& [c, b] : {std::pair{midContent, midBackground}, std::pair{content, background}}) {
        EXPECT_EQ(c.left - b.left, 5);
        EXPECT_EQ(c.top - b.top, 3);
        EXPECT_EQ(b.right - c.right, 5);
        EXPECT_EQ(b.bottom - c.bottom, 7);
    }
    EXPECT_EQ(afterOwnMove.left, background.left - 30);
    EXPECT_EQ(contentAfterOwnMove.left, content.left);
}

TEST(Prompt, AtScaleTwoEverythingDoublesButTheDragBand)
{
    Observed seen;
    RECT beforeLowPress{}, afterLowPress{}, afterBandPress{};
    INT_PTR result = RunPrompt(PROMPT_CONFIRM_CANCEL, 2.0f, L"放大", [&](const PairWindows& pair) {
        MoveTo(kParkedCursor);
        ::Sleep(150);
        Observe(pair, seen);
        // 35 pixels down lies inside the doubled title band but outside the 30-pixel drag band.
        beforeLowPress = WindowRectOf(pair.content);
        POINT low{beforeLowPress.left + 80, beforeLowPress.top + 35};
        Drag(low, Offset(low, 40, 40));
        afterLowPress = WindowRectOf(pair.content);
        POINT band{afterLowPress.left + 80, afterLowPress.top + 25};
        Drag(band, Offset(band, 40, 40));
        afterBandPress = WindowRectOf(pair.content);
        ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_CANCEL)));
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(SizeOf(seen.background).cx, 672);
    EXPECT_EQ(SizeOf(seen.background).cy, 312);
    EXPECT_EQ(SizeOf(seen.content).cx, 652);
    EXPECT_EQ(SizeOf(seen.content).cy, 292);
    EXPECT_EQ(seen.content.left - seen.background.left, 10);
    EXPECT_EQ(seen.content.top - seen.background.top, 6);
    ExpectRect(seen.close, 600, 16, 624, 40, "close");
    ExpectRect(seen.ok, 192, 214, 302, 262, "OK");
    ExpectRect(seen.cancel, 350, 214, 460, 262, "cancel");
    ExpectRect(seen.text, 20, 100, 632, 212, "text");
    EXPECT_EQ(afterLowPress.left, beforeLowPress.left);
    EXPECT_EQ(afterLowPress.top, beforeLowPress.top);
    EXPECT_EQ(afterBandPress.left - afterLowPress.left, 40);
    EXPECT_EQ(afterBandPress.top - afterLowPress.top, 40);
}

TEST(Prompt, ScreenshotAtScaleOne)
{
    HWND desk = CreateLightBackdrop();
    bool saved = false;
    INT_PTR result = RunPrompt(PROMPT_CONFIRM_CANCEL, 1.0f,
                               L"本工具仅能修复键盘全部按键失灵的问题，是否继续？",
                               [&](const PairWindows& pair) {
                                   MoveTo(kParkedCursor);
                                   ::Sleep(200);
                                   saved = SaveScreenPng(L"prompt-scale-1.png");
                                   ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_OK)));
                               });
    ::DestroyWindow(desk);
    EXPECT_TRUE(saved);
    EXPECT_EQ(result, IDOK);
}

TEST(Prompt, AtOneHundredTwentyDpi)
{
    EXPECT_EQ(RunSelfAtDpi(120, L"Prompt.ScaledByTheCallerInTheChild"), 0);
}

TEST(Prompt, ScaledByTheCallerInTheChild)
{
    if (!IsDpiChild())
        GTEST_SKIP() << "runs at 120 dpi in a child of AtOneHundredTwentyDpi";
    // The caller hands over its own scale, which the main window takes from the screen.
    const float scale = ScaleFromScreenDpi();
    EXPECT_FLOAT_EQ(scale, 1.2f);
    HWND desk = CreateLightBackdrop();
    RECT background{}, content{};
    bool saved = false;
    INT_PTR result = RunPrompt(PROMPT_CONFIRM_CANCEL, scale,
                               L"本工具仅能修复键盘全部按键失灵的问题，是否继续？",
                               [&](const PairWindows& pair) {
                                   MoveTo(kParkedCursor);
                                   ::Sleep(200);
                                   background = WindowRectOf(pair.background);
                                   content = WindowRectOf(pair.content);
                                   saved = SaveScreenPng(L"prompt-120dpi.png");
                                   ClickAt(CenterOf(ScreenRectOf(pair, IDC_BTN_CANCEL)));
                               });
    ::DestroyWindow(desk);
    EXPECT_TRUE(saved);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(SizeOf(background).cx, 403);
    EXPECT_EQ(SizeOf(background).cy, 187);
    // Following after the framework's centring: 6, 3, 6, 8 at this scale.
    EXPECT_EQ(content.left - background.left, 6);
    EXPECT_EQ(content.top - background.top, 3);
    EXPECT_EQ(background.right - content.right, 6);
    EXPECT_EQ(background.bottom - content.bottom, 8);
}

namespace {

BOOL CALLBACK FindVisibleOk(HWND top, LPARAM param)
{
    HWND ok = ::GetDlgItem(top, IDC_BTN_OK);
    if (ok && ::IsWindowVisible(ok))
        *reinterpret_cast<HWND*>(param) = ok;
    return TRUE;
}

// The OK button of this thread's prompt once it can be seen; null until then.
HWND VisibleOkButton(DWORD threadId)
{
    HWND found = nullptr;
    ::EnumThreadWindows(threadId, FindVisibleOk, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

TEST(Prompt, AClickSoonAfterTheButtonShowsCounts)
{
    // Where the button appears: the pointer waits there, so the press needs no move.
    POINT centre{};
    ASSERT_EQ(RunPrompt(PROMPT_CONFIRM, 1.0f, L"先看位置", [&](const PairWindows& pair) {
        centre = CenterOf(ScreenRectOf(pair, IDC_BTN_OK));
        ClickAt(centre);
    }), IDOK);
    const DWORD uiThread = ::GetCurrentThreadId();
    for (DWORD delay : {0u, 30u, 60u, 90u}) {
        SCOPED_TRACE(testing::Message() << delay << " ms after the button shows");
        MoveTo(centre);
        std::atomic<bool> done{false};
        std::thread clicker([&] {
            WaitUntil([&] { return done || VisibleOkButton(uiThread); }, 5000, 1);
            ::Sleep(delay);
            LeftDown();
            ::Sleep(30);
            LeftUp();
            // A lost click leaves the prompt open: end it with cancel.
            if (!WaitUntil([&] { return done.load(); }, 2000))
                ::PostMessageW(FindVisiblePair(uiThread).background, WM_COMMAND, IDCANCEL, 0);
        });
        CPromptDlg prompt;
        prompt.SetText(L"快点");
        prompt.SetMode(PROMPT_CONFIRM);
        const INT_PTR result = prompt.DoModal();
        done = true;
        clicker.join();
        EXPECT_EQ(result, IDOK);
    }
}
