// Layout arithmetic of the three dialogs as plain functions, at the sizes and scales the
// dialogs meet: their content windows at scale 1, 1.2, 1.5 and 2.
#include <gtest/gtest.h>

#include "dialogs/ExecutePromptChildDlg.h"
#include "dialogs/PromptChildDlg.h"
#include "feedback/ProblemSolvingFeedbackChildDlg.h"
#include "res/resource.h"

namespace {

void ExpectRect(const RECT& r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

}  // namespace

TEST(PromptLayout, ScaleOneTwoButtonsAndCentredButton)
{
    const RECT client{0, 0, 326, 146};
    PromptLayout two = LayoutPrompt(client, 1.0f, PROMPT_CONFIRM_CANCEL);
    ExpectRect(two.close, 300, 8, 312, 20);
    ExpectRect(two.ok, 96, 107, 151, 131);
    ExpectRect(two.cancel, 175, 107, 230, 131);
    ExpectRect(two.text, 10, 50, 316, 106);
    EXPECT_TRUE(two.showCancel);

    for (int mode : {PROMPT_YES, PROMPT_CONFIRM}) {
        PromptLayout one = LayoutPrompt(client, 1.0f, mode);
        ExpectRect(one.ok, 135, 107, 190, 131);
        EXPECT_FALSE(one.showCancel);
    }
    EXPECT_TRUE(LayoutPrompt(client, 1.0f, PROMPT_YES_NO).showCancel);
}

TEST(PromptLayout, UnknownModesKeepTheTwoButtonPositionWithoutCancel)
{
    const RECT client{0, 0, 326, 146};
    for (int mode : {0, 5, -1, 99}) {
        PromptLayout layout = LayoutPrompt(client, 1.0f, mode);
        ExpectRect(layout.ok, 96, 107, 151, 131);
        EXPECT_FALSE(layout.showCancel);
        PromptButtonImages images = PromptImagesForMode(mode);
        EXPECT_EQ(images.ok[0], static_cast<UINT>(IDB_PROMPT_YES_NORMAL));
    }
}

TEST(PromptLayout, ScaleTwoAndScaleOnePointTwo)
{
    PromptLayout big = LayoutPrompt(RECT{0, 0, 652, 292}, 2.0f, PROMPT_CONFIRM_CANCEL);
    ExpectRect(big.close, 600, 16, 624, 40);
    ExpectRect(big.ok, 192, 214, 302, 262);
    ExpectRect(big.cancel, 350, 214, 460, 262);
    ExpectRect(big.text, 20, 100, 632, 212);
    ExpectRect(LayoutPrompt(RECT{0, 0, 652, 292}, 2.0f, PROMPT_CONFIRM).ok, 271, 214, 381, 262);

    // 336 x 156 at 1.2 is 403 x 187; the content window is 391 x 175.
    PromptLayout mid = LayoutPrompt(RECT{0, 0, 391, 175}, 1.2f, PROMPT_YES);
    ExpectRect(mid.close, 391 - 31, 9, 391 - 31 + 14, 9 + 14);
    // The single-precision 1.2 is a little above 1.2: 195 - 33.0000013 truncates to 161.
    ExpectRect(mid.ok, 161, 128, 161 + 66, 128 + 28);
    ExpectRect(mid.text, 12, 60, 379, 175 - 48);
}

TEST(PromptLayout, ModesChooseTheirImages)
{
    PromptButtonImages yes = PromptImagesForMode(PROMPT_YES_NO);
    EXPECT_EQ(yes.ok[0], 169u);
    EXPECT_EQ(yes.ok[1], 170u);
    EXPECT_EQ(yes.ok[2], 171u);
    EXPECT_EQ(yes.ok[3], 171u);
    EXPECT_EQ(yes.cancel[0], 163u);
    EXPECT_EQ(yes.cancel[3], 165u);
    PromptButtonImages confirm = PromptImagesForMode(PROMPT_CONFIRM);
    EXPECT_EQ(confirm.ok[0], 166u);
    EXPECT_EQ(confirm.ok[3], 168u);
    EXPECT_EQ(confirm.cancel[0], 157u);
    EXPECT_EQ(confirm.cancel[2], 159u);
    EXPECT_EQ(confirm.cancel[3], 159u);
}

TEST(ProgressLayout, LabelAtScaleOneAndOnePointFive)
{
    ExpectRect(LayoutProgressLabel(RECT{0, 0, 204, 104}, 1.0f), 10, 42, 194, 82);
    ExpectRect(LayoutProgressLabel(RECT{0, 0, 306, 156}, 1.5f), 15, 63, 291, 123);
    // 232 x 132 at 1.2 is 278 x 158; the content window is 244 x 124 (28 * 1.2 = 33.6), and
    // 62 - 12.0000005 truncates to 49.
    ExpectRect(LayoutProgressLabel(RECT{0, 0, 244, 124}, 1.2f), 12, 49, 231, 97);
}

TEST(ProgressLayout, ShortTextsFallBackToTheWaitingText)
{
    EXPECT_EQ(ProgressLabelText(L""), L"正在修复，请稍等");
    EXPECT_EQ(ProgressLabelText(L"修"), L"正在修复，请稍等");
    EXPECT_EQ(ProgressLabelText(L"修复"), L"修复");
    EXPECT_EQ(ProgressLabelText(L"正在检测"), L"正在检测");
}

TEST(FeedbackLayout, DesignSizeAtNinetySixDpi)
{
    for (int height : {468, 469}) {  // created 468 high; 469 once it follows a move
        FeedbackLayout layout = LayoutFeedback(RECT{0, 0, 400, height}, 1.0f);
        ExpectRect(layout.close, 382, 6, 394, 18);
        ExpectRect(layout.buttons[0], 67, 154, 333, 214);
        ExpectRect(layout.buttons[1], 67, 234, 333, 294);
        ExpectRect(layout.buttons[2], 67, 314, 333, 374);
        for (int i = 0; i < 3; ++i) {
            const RECT& b = layout.buttons[i];
            ExpectRect(layout.backdrops[i], b.left, b.top, b.right, b.bottom);
        }
        EXPECT_EQ(layout.hotInset, 9);
    }
}

TEST(FeedbackLayout, WiderThanTheDesignUsesTheScaledFormulas)
{
    // 120 dpi: 410 x 479 becomes 492 x 574; the content window is 480 x 560.
    FeedbackLayout layout = LayoutFeedback(RECT{0, 0, 480, 560}, 1.2f);
    ExpectRect(layout.close, 458, 7, 472, 21);
    ExpectRect(layout.buttons[0], 80, 184, 399, 256);
    ExpectRect(layout.buttons[1], 81, 280, 400, 352);
    ExpectRect(layout.buttons[2], 81, 376, 400, 448);
    ExpectRect(layout.backdrops[0], 67, 154, 333, 214);
    ExpectRect(layout.backdrops[1], 67, 234, 333, 294);
    ExpectRect(layout.backdrops[2], 67, 314, 333, 374);
    EXPECT_EQ(layout.hotInset, 10);

    // 144 dpi: the content window is 576 x 673.
    FeedbackLayout big = LayoutFeedback(RECT{0, 0, 576, 673}, 1.44f);
    ExpectRect(big.buttons[1], 288 - 191, 336, 288 - 191 + 383, 336 + 86);
    EXPECT_EQ(big.hotInset, 12);
}

TEST(FeedbackLayout, DesignRulesAtScaleOneForSmallerWindows)
{
    // A window narrower than the design keeps the buttons' image size around its centre.
    FeedbackLayout layout = LayoutFeedback(RECT{10, 20, 310, 420}, 1.0f);
    ExpectRect(layout.buttons[0], 10 + 150 - 133, 20 + 200 - 80, 10 + 150 + 133, 20 + 200 - 20);
    ExpectRect(layout.close, 292, 26, 304, 38);
}

TEST(FeedbackTime, DecimalSecondsOfTheLowThirtyTwoBits)
{
    EXPECT_EQ(FeedbackTimeText(1700000000), L"1700000000");
    EXPECT_EQ(FeedbackTimeText(0), L"0");
    // After January 2038 the low 32 bits read as a negative number.
    EXPECT_EQ(FeedbackTimeText(0x80000000LL), L"-2147483648");
    EXPECT_EQ(FeedbackTimeText(0x100000005LL), L"5");
}
