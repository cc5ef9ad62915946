#include "skinscroll/ScrollBarGeometry.h"

#include <algorithm>

namespace {

int ThumbMinimum(int thumbMargin)
{
    return 2 * thumbMargin + 6;
}

}  // namespace

ScrollBarLayout ComputeScrollBarLayout(const ScrollBarInput& in)
{
    ScrollBarLayout g;
    g.barLength = in.barLength;
    g.thickness = ScaleBarLength(in.cellSize, in.scale);
    g.trackLength = std::max(0, in.barLength - ScaleBarLength(2 * in.cellSize, in.scale));

    const long long range = static_cast<long long>(in.nMax) - in.nMin + 1;
    g.positions = static_cast<int>(range - static_cast<long long>(in.nPage));

    long long thumb = 0;
    if (range > 0)
        thumb = static_cast<long long>(in.nPage) * g.trackLength / range;
    if (thumb < ThumbMinimum(in.thumbMargin))
        thumb = ThumbMinimum(in.thumbMargin);
    if (g.trackLength < ThumbMinimum(in.thumbMargin))
        thumb = 0;
    // No positions to scroll through (or a page beyond the range): the track has no thumb.
    const bool nothingToScroll = g.positions <= 0 || in.disabled;
    if (nothingToScroll)
        thumb = 0;
    g.thumbLength = static_cast<int>(std::min<long long>(thumb, g.trackLength));

    g.freeLength = g.trackLength - g.thumbLength;
    g.arrowLength = g.trackLength == 0 ? in.barLength / 2 : g.thickness;

    if (nothingToScroll) {
        g.thumbOffset = g.freeLength / 2;
    } else {
        int p = in.nTrackPos != -1 ? in.nTrackPos : in.nPos;
        p = std::clamp(p, 0, g.positions);  // a position outside the range keeps the thumb in the track
        g.thumbOffset = static_cast<int>(static_cast<long long>(g.freeLength) * p / g.positions);
    }
    return g;
}

bool ScrollBarPartSpan(const ScrollBarLayout& g, int part, int* start, int* end)
{
    const int a = g.arrowLength;
    const int thumbStart = a + g.thumbOffset;
    const int thumbEnd = thumbStart + g.thumbLength;
    switch (part) {
    case SB_LINEUP:
        *start = 0;
        *end = a;
        return true;
    case SB_PAGEUP:
        *start = a;
        *end = thumbStart;
        return true;
    case SB_THUMBTRACK:
        *start = thumbStart;
        *end = thumbEnd;
        return true;
    case SB_PAGEDOWN:
        *start = thumbEnd;
        *end = g.barLength - a;
        return true;
    case SB_LINEDOWN:
        *start = g.barLength - a;
        *end = g.barLength;
        return true;
    default:
        return false;
    }
}

RECT ScrollBarPartRect(const ScrollBarLayout& g, int part, bool vertical)
{
    int start = 0;
    int end = 0;
    if (!ScrollBarPartSpan(g, part, &start, &end))
        return RECT{0, 0, 0, 0};
    if (end < start)
        end = start;
    return vertical ? RECT{0, start, g.thickness, end} : RECT{start, 0, end, g.thickness};
}

int ScrollBarHitTest(const ScrollBarLayout& g, int along)
{
    if (along < 0)
        return kNoScrollPart;
    for (int part : {SB_LINEUP, SB_PAGEUP, SB_THUMBTRACK, SB_PAGEDOWN}) {
        int start = 0;
        int end = 0;
        ScrollBarPartSpan(g, part, &start, &end);
        if (along >= start && along < end)
            return part;
    }
    return SB_LINEDOWN;
}

int ScrollBarDragPosition(const ScrollBarInput& in, const ScrollBarLayout& g, int dragStartPos,
                          int delta)
{
    long long q = dragStartPos;
    if (g.freeLength != 0)
        q += static_cast<long long>(g.positions) * delta / g.freeLength;
    const long long low = in.nMin;
    long long high = static_cast<long long>(in.nMax) - in.nMin - static_cast<long long>(in.nPage) + 1;
    if (high < low)
        high = low;
    return static_cast<int>(std::clamp(q, low, high));
}

std::vector<RECT> ScrollBarTiles(const RECT& dest, int srcWidth, int srcHeight, float scale)
{
    std::vector<RECT> tiles;
    const int tileWidth = ScaleBarLength(srcWidth, scale);
    const int tileHeight = ScaleBarLength(srcHeight, scale);
    if (tileWidth <= 0 || tileHeight <= 0)
        return tiles;
    for (int y = dest.top; y < dest.bottom; y += tileHeight) {
        const int bottom = std::min<int>(y + tileHeight, dest.bottom);
        for (int x = dest.left; x < dest.right; x += tileWidth)
            tiles.push_back(RECT{x, y, std::min<int>(x + tileWidth, dest.right), bottom});
    }
    return tiles;
}

ThumbPieces ScrollBarThumbPieces(const RECT& thumb, const RECT& cell, int thumbMargin, bool vertical)
{
    const int k = thumbMargin + 3;
    ThumbPieces p;
    if (vertical) {
        p.capStartSrc = RECT{cell.left, cell.top, cell.right, cell.top + k};
        p.capStartDest = RECT{thumb.left, thumb.top, thumb.right, thumb.top + k};
        p.capEndSrc = RECT{cell.left, cell.bottom - k, cell.right, cell.bottom};
        p.capEndDest = RECT{thumb.left, thumb.bottom - k, thumb.right, thumb.bottom};
        p.middleSrc = RECT{cell.left, cell.top + k, cell.right, cell.bottom - k};
        p.middleDest = RECT{thumb.left, thumb.top + k, thumb.right, thumb.bottom - k};
    } else {
        p.capStartSrc = RECT{cell.left, cell.top, cell.left + k, cell.bottom};
        p.capStartDest = RECT{thumb.left, thumb.top, thumb.left + k, thumb.bottom};
        p.capEndSrc = RECT{cell.right - k, cell.top, cell.right, cell.bottom};
        p.capEndDest = RECT{thumb.right - k, thumb.top, thumb.right, thumb.bottom};
        p.middleSrc = RECT{cell.left + k, cell.top, cell.right - k, cell.bottom};
        p.middleDest = RECT{thumb.left + k, thumb.top, thumb.right - k, thumb.bottom};
    }
    return p;
}

RECT ScrollBarSourceCell(int part, int row, bool vertical, int c)
{
    int column = 0;
    switch (part) {
    case SB_LINEUP:
        column = 0;
        break;
    case SB_LINEDOWN:
        column = 1;
        break;
    case SB_PAGEUP:
    case SB_PAGEDOWN:
        column = 3;
        break;
    case SB_THUMBTRACK:
        column = 2;
        break;
    default:
        column = 0;
        break;
    }
    if (!vertical)
        column += 4;
    return RECT{column * c, row * c, (column + 1) * c, (row + 1) * c};
}
