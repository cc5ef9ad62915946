// The skinned bar's geometry and hit testing as arithmetic over its inputs.
#include "skinscroll/ScrollBarGeometry.h"

#include <gtest/gtest.h>

namespace {

ScrollBarInput Bar(int length, int nMax, UINT page, int pos, float scale = 1.0f, int margin = 0)
{
    ScrollBarInput in;
    in.cellSize = 13;
    in.barLength = length;
    in.scale = scale;
    in.thumbMargin = margin;
    in.nMin = 0;
    in.nMax = nMax;
    in.nPage = page;
    in.nPos = pos;
    return in;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

struct Span {
    int start;
    int end;
};

Span SpanOf(const ScrollBarLayout& g, int part)
{
    Span s{-100, -100};
    EXPECT_TRUE(ScrollBarPartSpan(g, part, &s.start, &s.end));
    return s;
}

void ExpectParts(const ScrollBarLayout& g, Span up, Span pageUp, Span thumb, Span pageDown, Span down)
{
    const Span lineUp = SpanOf(g, SB_LINEUP);
    EXPECT_EQ(up.start, lineUp.start);
    EXPECT_EQ(up.end, lineUp.end);
    const Span pu = SpanOf(g, SB_PAGEUP);
    EXPECT_EQ(pageUp.start, pu.start);
    EXPECT_EQ(pageUp.end, pu.end);
    const Span th = SpanOf(g, SB_THUMBTRACK);
    EXPECT_EQ(thumb.start, th.start);
    EXPECT_EQ(thumb.end, th.end);
    const Span pd = SpanOf(g, SB_PAGEDOWN);
    EXPECT_EQ(pageDown.start, pd.start);
    EXPECT_EQ(pageDown.end, pd.end);
    const Span ld = SpanOf(g, SB_LINEDOWN);
    EXPECT_EQ(down.start, ld.start);
    EXPECT_EQ(down.end, ld.end);
}

TEST(ScrollBarGeometry, ScaleOneAtTheStartMiddleAndEnd)
{
    // L = 200, range 0..99, page 10: t = 174, h = 10 * 174 / 100 = 17, r = 90, f = 157.
    ScrollBarLayout g = ComputeScrollBarLayout(Bar(200, 99, 10, 0));
    EXPECT_EQ(13, g.thickness);
    EXPECT_EQ(174, g.trackLength);
    EXPECT_EQ(17, g.thumbLength);
    EXPECT_EQ(90, g.positions);
    EXPECT_EQ(157, g.freeLength);
    EXPECT_EQ(13, g.arrowLength);
    EXPECT_EQ(0, g.thumbOffset);
    ExpectParts(g, {0, 13}, {13, 13}, {13, 30}, {30, 187}, {187, 200});

    g = ComputeScrollBarLayout(Bar(200, 99, 10, 45));
    EXPECT_EQ(78, g.thumbOffset);  // 157 * 45 / 90 = 78.5, truncated
    ExpectParts(g, {0, 13}, {13, 91}, {91, 108}, {108, 187}, {187, 200});

    g = ComputeScrollBarLayout(Bar(200, 99, 10, 90));
    ExpectParts(g, {0, 13}, {13, 170}, {170, 187}, {187, 187}, {187, 200});
}

TEST(ScrollBarGeometry, TrackPositionWinsOverPositionWhileDragging)
{
    ScrollBarInput in = Bar(200, 99, 10, 0);
    in.nTrackPos = 90;
    EXPECT_EQ(157, ComputeScrollBarLayout(in).thumbOffset);
    in.nTrackPos = -1;
    EXPECT_EQ(0, ComputeScrollBarLayout(in).thumbOffset);
}

TEST(ScrollBarGeometry, ScaledThicknessTrackAndArrowsTruncate)
{
    // s = 1.5: T = 19 (19.5), 2c*s = 39, t = 161; the two arrows take 38, the track 162.
    ScrollBarLayout g = ComputeScrollBarLayout(Bar(200, 99, 10, 0, 1.5f));
    EXPECT_EQ(19, g.thickness);
    EXPECT_EQ(161, g.trackLength);
    EXPECT_EQ(16, g.thumbLength);  // 10 * 161 / 100
    EXPECT_EQ(19, g.arrowLength);
    ExpectParts(g, {0, 19}, {19, 19}, {19, 35}, {35, 181}, {181, 200});

    // s = 1.2: T = 15 (15.6), 2c*s = 31 (31.2).
    g = ComputeScrollBarLayout(Bar(300, 199, 50, 150, 1.2f));
    EXPECT_EQ(15, g.thickness);
    EXPECT_EQ(269, g.trackLength);
    EXPECT_EQ(67, g.thumbLength);   // 50 * 269 / 200 = 67.25
    EXPECT_EQ(202, g.freeLength);
    EXPECT_EQ(202, g.thumbOffset);  // p = 150 = r
    // s = 1.01 as a float is just below 1.01: 13 * s = 13.13, 26 * s = 26.26.
    g = ComputeScrollBarLayout(Bar(100, 99, 10, 0, 1.01f));
    EXPECT_EQ(13, g.thickness);
    EXPECT_EQ(74, g.trackLength);
}

TEST(ScrollBarGeometry, ThumbIsRaisedToTheMinimumOfTheMargin)
{
    // 1 * 174 / 1000 = 0 is raised to 2m + 6.
    EXPECT_EQ(6, ComputeScrollBarLayout(Bar(200, 999, 1, 0)).thumbLength);
    EXPECT_EQ(10, ComputeScrollBarLayout(Bar(200, 999, 1, 0, 1.0f, 2)).thumbLength);
    // A long enough thumb keeps its length whatever the margin.
    EXPECT_EQ(87, ComputeScrollBarLayout(Bar(200, 99, 50, 0, 1.0f, 4)).thumbLength);
}

TEST(ScrollBarGeometry, WholeRangeVisibleSplitsTheTrackBetweenThePageRegions)
{
    // r = 0: no thumb, o = f / 2 = 87.
    ScrollBarLayout g = ComputeScrollBarLayout(Bar(200, 99, 100, 0));
    EXPECT_EQ(0, g.positions);
    EXPECT_EQ(0, g.thumbLength);
    EXPECT_EQ(87, g.thumbOffset);
    ExpectParts(g, {0, 13}, {13, 100}, {100, 100}, {100, 187}, {187, 200});
    EXPECT_EQ(SB_PAGEUP, ScrollBarHitTest(g, 99));
    EXPECT_EQ(SB_PAGEDOWN, ScrollBarHitTest(g, 100));
}

TEST(ScrollBarGeometry, PageBeyondTheRangeDrawsNoThumb)
{
    ScrollBarLayout g = ComputeScrollBarLayout(Bar(200, 40, 120, 0));
    EXPECT_LT(g.positions, 0);
    EXPECT_EQ(0, g.thumbLength);
    EXPECT_EQ(87, g.thumbOffset);
}

TEST(ScrollBarGeometry, ADisabledBarShowsNoThumb)
{
    ScrollBarInput in = Bar(200, 1, 0, 0);  // a token range that would give a 6-pixel thumb
    EXPECT_EQ(6, ComputeScrollBarLayout(in).thumbLength);
    in.disabled = true;
    const ScrollBarLayout g = ComputeScrollBarLayout(in);
    EXPECT_EQ(0, g.thumbLength);
    EXPECT_EQ(87, g.thumbOffset);
}

TEST(ScrollBarGeometry, BarShorterThanTwoArrowsPlusSixHasNoThumb)
{
    // L = 31: t = 5 < 6.
    ScrollBarLayout g = ComputeScrollBarLayout(Bar(31, 99, 10, 45));
    EXPECT_EQ(5, g.trackLength);
    EXPECT_EQ(0, g.thumbLength);
    EXPECT_EQ(13, g.arrowLength);
    EXPECT_EQ(2, g.thumbOffset);  // 5 * 45 / 90
    ExpectParts(g, {0, 13}, {13, 15}, {15, 15}, {15, 18}, {18, 31});
    for (int y = 0; y < 31; ++y)
        EXPECT_NE(SB_THUMBTRACK, ScrollBarHitTest(g, y)) << y;

    // L = 32: t = 6, just long enough.
    EXPECT_EQ(6, ComputeScrollBarLayout(Bar(32, 99, 10, 45)).thumbLength);
    // With margin 1 the minimum is 8.
    EXPECT_EQ(0, ComputeScrollBarLayout(Bar(33, 99, 10, 45, 1.0f, 1)).thumbLength);
    EXPECT_EQ(8, ComputeScrollBarLayout(Bar(34, 99, 10, 45, 1.0f, 1)).thumbLength);
}

TEST(ScrollBarGeometry, TrackLengthZeroGivesEachArrowHalfTheBar)
{
    ScrollBarLayout g = ComputeScrollBarLayout(Bar(26, 99, 10, 0));
    EXPECT_EQ(0, g.trackLength);
    EXPECT_EQ(13, g.arrowLength);
    ExpectParts(g, {0, 13}, {13, 13}, {13, 13}, {13, 13}, {13, 26});

    g = ComputeScrollBarLayout(Bar(21, 99, 10, 0));  // shorter than two arrows
    EXPECT_EQ(0, g.trackLength);
    EXPECT_EQ(10, g.arrowLength);
    ExpectParts(g, {0, 10}, {10, 10}, {10, 10}, {10, 11}, {11, 21});
    EXPECT_EQ(SB_LINEUP, ScrollBarHitTest(g, 9));
    EXPECT_EQ(SB_PAGEDOWN, ScrollBarHitTest(g, 10));
    EXPECT_EQ(SB_LINEDOWN, ScrollBarHitTest(g, 11));
}

TEST(ScrollBarGeometry, HitTestFollowsTheIntervalsInOrder)
{
    const ScrollBarLayout g = ComputeScrollBarLayout(Bar(200, 99, 10, 45));
    EXPECT_EQ(kNoScrollPart, ScrollBarHitTest(g, -1));
    EXPECT_EQ(SB_LINEUP, ScrollBarHitTest(g, 0));
    EXPECT_EQ(SB_LINEUP, ScrollBarHitTest(g, 12));
    EXPECT_EQ(SB_PAGEUP, ScrollBarHitTest(g, 13));
    EXPECT_EQ(SB_PAGEUP, ScrollBarHitTest(g, 90));
    EXPECT_EQ(SB_THUMBTRACK, ScrollBarHitTest(g, 91));
    EXPECT_EQ(SB_THUMBTRACK, ScrollBarHitTest(g, 107));
    EXPECT_EQ(SB_PAGEDOWN, ScrollBarHitTest(g, 108));
    EXPECT_EQ(SB_PAGEDOWN, ScrollBarHitTest(g, 186));
    EXPECT_EQ(SB_LINEDOWN, ScrollBarHitTest(g, 187));
    EXPECT_EQ(SB_LINEDOWN, ScrollBarHitTest(g, 199));
    EXPECT_EQ(SB_LINEDOWN, ScrollBarHitTest(g, 5000));  // beyond the bar
    // At the start the page-up region is empty: the first arrow is followed by the thumb.
    const ScrollBarLayout top = ComputeScrollBarLayout(Bar(200, 99, 10, 0));
    EXPECT_EQ(SB_THUMBTRACK, ScrollBarHitTest(top, 13));
}

TEST(ScrollBarGeometry, PartRectanglesSpanTheThickness)
{
    const ScrollBarLayout g = ComputeScrollBarLayout(Bar(200, 99, 10, 45, 1.5f));
    RECT v = ScrollBarPartRect(g, SB_THUMBTRACK, true);
    EXPECT_EQ(0, v.left);
    EXPECT_EQ(19, v.right);
    RECT h = ScrollBarPartRect(g, SB_THUMBTRACK, false);
    EXPECT_EQ(v.top, h.left);
    EXPECT_EQ(v.bottom, h.right);
    EXPECT_EQ(0, h.top);
    EXPECT_EQ(19, h.bottom);
    RECT none = ScrollBarPartRect(g, SB_THUMBPOSITION, true);
    EXPECT_TRUE(::IsRectEmpty(&none));
}

TEST(ScrollBarGeometry, DragFollowsThePointerAndClampsToTheRange)
{
    const ScrollBarInput in = Bar(200, 99, 10, 45);
    const ScrollBarLayout g = ComputeScrollBarLayout(in);  // r = 90, f = 157
    EXPECT_EQ(45, ScrollBarDragPosition(in, g, 45, 0));
    EXPECT_EQ(46, ScrollBarDragPosition(in, g, 45, 2));    // 180 / 157 = 1
    EXPECT_EQ(45, ScrollBarDragPosition(in, g, 45, -1));   // -90 / 157 truncates to 0
    EXPECT_EQ(44, ScrollBarDragPosition(in, g, 45, -2));
    EXPECT_EQ(90, ScrollBarDragPosition(in, g, 0, 157));   // the whole free length: the last position
    EXPECT_EQ(0, ScrollBarDragPosition(in, g, 45, -500));
    EXPECT_EQ(90, ScrollBarDragPosition(in, g, 45, 500));
    // At another scale the thumb still follows the pointer: f = 145 at s = 1.5.
    const ScrollBarInput scaled = Bar(200, 99, 10, 0, 1.5f);
    const ScrollBarLayout gs = ComputeScrollBarLayout(scaled);
    EXPECT_EQ(145, gs.freeLength);
    EXPECT_EQ(90, ScrollBarDragPosition(scaled, gs, 0, 145));
    EXPECT_EQ(44, ScrollBarDragPosition(scaled, gs, 0, 72));  // 90 * 72 / 145 = 44.7
}

TEST(ScrollBarGeometry, DragWithoutFreeLengthStaysAtItsStart)
{
    ScrollBarInput full = Bar(26, 99, 10, 45);      // t = 0: f = 0
    const ScrollBarLayout g0 = ComputeScrollBarLayout(full);
    EXPECT_EQ(0, g0.freeLength);
    EXPECT_EQ(45, ScrollBarDragPosition(full, g0, 45, 100));
}

TEST(ScrollBarGeometry, TilesAreScaledSourceSizesCutAtTheEnd)
{
    std::vector<RECT> tiles = ScrollBarTiles(RECT{0, 10, 13, 50}, 13, 13, 1.0f);
    ASSERT_EQ(4u, tiles.size());
    EXPECT_EQ(10, tiles[0].top);
    EXPECT_EQ(23, tiles[0].bottom);
    EXPECT_EQ(36, tiles[2].top);
    EXPECT_EQ(49, tiles[2].bottom);
    EXPECT_EQ(49, tiles[3].top);
    EXPECT_EQ(50, tiles[3].bottom);  // cut to what remains
    EXPECT_EQ(13, tiles[3].right);

    // s = 1.5: full tiles of 19 x 10 (7 * 1.5 = 10.5); rows from the top, tiles from the left.
    tiles = ScrollBarTiles(RECT{5, 0, 43, 25}, 13, 7, 1.5f);
    ASSERT_EQ(6u, tiles.size());
    EXPECT_EQ(5, tiles[0].left);
    EXPECT_EQ(24, tiles[0].right);
    EXPECT_EQ(24, tiles[1].left);
    EXPECT_EQ(43, tiles[1].right);
    EXPECT_EQ(10, tiles[2].top);
    EXPECT_EQ(20, tiles[4].top);
    EXPECT_EQ(25, tiles[5].bottom);

    EXPECT_TRUE(ScrollBarTiles(RECT{0, 0, 13, 0}, 13, 13, 1.0f).empty());
    EXPECT_TRUE(ScrollBarTiles(RECT{0, 0, 13, 40}, 13, 0, 1.0f).empty());
}

TEST(ScrollBarGeometry, ThumbCapsAreCutFromBothEndsOfTheCell)
{
    const RECT cell{26, 13, 39, 26};  // vertical thumb, hot row
    ThumbPieces p = ScrollBarThumbPieces(RECT{0, 40, 13, 60}, cell, 0, true);
    EXPECT_TRUE(SameRect(p.capStartSrc, RECT{26, 13, 39, 16}));
    EXPECT_TRUE(SameRect(p.capStartDest, RECT{0, 40, 13, 43}));
    EXPECT_TRUE(SameRect(p.capEndSrc, RECT{26, 23, 39, 26}));
    EXPECT_TRUE(SameRect(p.capEndDest, RECT{0, 57, 13, 60}));
    EXPECT_TRUE(SameRect(p.middleSrc, RECT{26, 16, 39, 23}));
    EXPECT_TRUE(SameRect(p.middleDest, RECT{0, 43, 13, 57}));

    // Horizontal, margin 2: caps of 5 columns.
    p = ScrollBarThumbPieces(RECT{30, 0, 60, 13}, RECT{78, 0, 91, 13}, 2, false);
    EXPECT_TRUE(SameRect(p.capStartSrc, RECT{78, 0, 83, 13}));
    EXPECT_TRUE(SameRect(p.capEndDest, RECT{55, 0, 60, 13}));
    EXPECT_TRUE(SameRect(p.middleSrc, RECT{83, 0, 86, 13}));
    EXPECT_TRUE(SameRect(p.middleDest, RECT{35, 0, 55, 13}));
}

TEST(ScrollBarGeometry, SourceCellsByPartStateAndOrientation)
{
    auto cellLeftTop = [](int part, int row, bool vertical) {
        RECT r = ScrollBarSourceCell(part, row, vertical, 13);
        EXPECT_EQ(13, r.right - r.left);
        EXPECT_EQ(13, r.bottom - r.top);
        return std::make_pair(static_cast<int>(r.left / 13), static_cast<int>(r.top / 13));
    };
    EXPECT_EQ(std::make_pair(0, 0), cellLeftTop(SB_LINEUP, 0, true));
    EXPECT_EQ(std::make_pair(1, 2), cellLeftTop(SB_LINEDOWN, 2, true));
    EXPECT_EQ(std::make_pair(2, 1), cellLeftTop(SB_THUMBTRACK, 1, true));
    EXPECT_EQ(std::make_pair(3, 0), cellLeftTop(SB_PAGEUP, 0, true));
    EXPECT_EQ(std::make_pair(3, 0), cellLeftTop(SB_PAGEDOWN, 0, true));
    EXPECT_EQ(std::make_pair(4, 1), cellLeftTop(SB_LINEUP, 1, false));
    EXPECT_EQ(std::make_pair(5, 0), cellLeftTop(SB_LINEDOWN, 0, false));
    EXPECT_EQ(std::make_pair(6, 2), cellLeftTop(SB_THUMBTRACK, 2, false));
    EXPECT_EQ(std::make_pair(7, 0), cellLeftTop(SB_PAGEDOWN, 0, false));
    EXPECT_EQ(std::make_pair(4, 0), cellLeftTop(SB_ENDSCROLL, 0, false));  // anything else: column 0
}

}  // namespace
