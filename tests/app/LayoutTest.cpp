// The panel's layout arithmetic at scale 1 and at 120 dpi's single-precision 1.2.
#include "app/LumbraLayout.h"

#include <gtest/gtest.h>

namespace {

void ExpectRect(const RECT& r, int l, int t, int right, int b, const char* what)
{
    EXPECT_EQ(r.left, l) << what;
    EXPECT_EQ(r.top, t) << what;
    EXPECT_EQ(r.right, right) << what;
    EXPECT_EQ(r.bottom, b) << what;
}

}  // namespace

TEST(LumbraLayout, AtScaleOne)
{
    LumbraLayout out = ComputeLumbraLayout(RECT{0, 0, 400, 600}, 1.0f, 15, 52);
    ExpectRect(out.close, 368, 0, 394, 34, "close");
    ExpectRect(out.minimize, 340, 0, 366, 34, "minimise");
    ExpectRect(out.version, 188, 16, 228, 31, "version");
    ExpectRect(out.repair, 58, 240, 342, 325, "repair");
    EXPECT_EQ(out.repairHotMargin, 19);
    ExpectRect(out.moreTools, 45, 540, 103, 558, "more tools");
    ExpectRect(out.moreToolsBackdrop, 45, 540, 103, 558, "more tools backdrop");
    ExpectRect(out.agree, 8, 575, 56, 595, "agree");
    ExpectRect(out.agreementLink, 62, 575, 272, 595, "agreement link");
    ExpectRect(out.feedbackLink, 330, 575, 394, 595, "feedback link");
}

TEST(LumbraLayout, At120Dpi)
{
    // 479 x 719: 492 - 12.0000005 and 733 - 13.2000005, truncated.
    LumbraLayout out = ComputeLumbraLayout(RECT{0, 0, 479, 719}, 120 / 100.0f, 18, 64);
    ExpectRect(out.close, 441, 0, 472, 40, "close");
    ExpectRect(out.minimize, 407, 0, 438, 40, "minimise");
    ExpectRect(out.version, 225, 19, 273, 37, "version");
    ExpectRect(out.repair, 69, 288, 409, 390, "repair");
    EXPECT_EQ(out.repairHotMargin, 22);
    ExpectRect(out.moreTools, 54, 647, 123, 668, "more tools");
    ExpectRect(out.moreToolsBackdrop, 45, 540, 103, 558, "more tools backdrop");
    // 9 + 19.2000008 + 36 + 2 = 66.2000008
    ExpectRect(out.agree, 9, 688, 66, 712, "agree");
    ExpectRect(out.agreementLink, 72, 688, 324, 712, "agreement link");
    // w2 = trunc(64 + 4.8000002 + 8) = 76
    ExpectRect(out.feedbackLink, 397, 688, 473, 712, "feedback link");
}

TEST(LumbraLayout, NarrowPanelCentresTheRepairButtonByItsHalfSize)
{
    // Only reached at scale 1; a client narrower than 400 keeps the unscaled sizes.
    LumbraLayout out = ComputeLumbraLayout(RECT{0, 0, 300, 500}, 1.0f, 10, 40);
    ExpectRect(out.repair, 8, 190, 292, 275, "repair");
    ExpectRect(out.moreTools, 45, 440, 103, 458, "more tools");
    ExpectRect(out.moreToolsBackdrop, 45, 440, 103, 458, "backdrop is the control's own rectangle");
}
