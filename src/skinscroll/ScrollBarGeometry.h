// Where the parts of a skinned scroll bar lie, as plain arithmetic over the bar's inputs.
//
// Lengths run along the bar (y of a vertical bar, x of a horizontal one); every part spans the
// whole thickness across it.  Scaled lengths are truncated toward zero.
#pragma once

#include <windows.h>

#include <vector>

// The scroll codes double as part codes; -1 is no part.
constexpr int kNoScrollPart = -1;

struct ScrollBarInput {
    int cellSize = 0;      // side of one skin cell, bitmap width / 9
    int barLength = 0;     // the window's length along the bar
    float scale = 1.0f;
    int thumbMargin = 0;   // end-cap margin of the thumb
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = -1;    // -1 while no drag is in progress
    bool disabled = false; // a disabled bar shows no thumb
};

struct ScrollBarLayout {
    int thickness = 0;     // T
    int trackLength = 0;   // t
    int thumbLength = 0;   // h, 0 when no thumb is drawn
    int positions = 0;     // r, the number of scroll positions (0 or less: nothing to scroll)
    int freeLength = 0;    // f = t - h
    int arrowLength = 0;   // a
    int thumbOffset = 0;   // o, from the end of the first arrow
    int barLength = 0;     // L
};

// A design length times the scale, computed in double precision as every skinned window
// does, truncated toward zero.
inline int ScaleBarLength(int length, float scale)
{
    return static_cast<int>(static_cast<double>(length) * static_cast<double>(scale));
}

ScrollBarLayout ComputeScrollBarLayout(const ScrollBarInput& in);

// [start, end) of a part along the bar; FALSE for a code that is not a part.
bool ScrollBarPartSpan(const ScrollBarLayout& layout, int part, int* start, int* end);

// The part's rectangle in client coordinates.
RECT ScrollBarPartRect(const ScrollBarLayout& layout, int part, bool vertical);

// The part under a coordinate along the bar; anything beyond the bar counts as the last arrow.
int ScrollBarHitTest(const ScrollBarLayout& layout, int along);

// The position a thumb drag gives when the pointer has moved delta pixels along the bar since
// the drag began at dragStartPos, clamped to the scroll range.
int ScrollBarDragPosition(const ScrollBarInput& in, const ScrollBarLayout& layout,
                          int dragStartPos, int delta);

// Tiles of a srcWidth x srcHeight source stretched over dest: full tiles are the scaled source
// size, rows from the top and tiles from the left, the last ones cut to what remains.
std::vector<RECT> ScrollBarTiles(const RECT& dest, int srcWidth, int srcHeight, float scale);

// The pieces of a thumb: two end caps copied one to one in length and the middle tiled.
struct ThumbPieces {
    RECT capStartSrc, capStartDest;
    RECT capEndSrc, capEndDest;
    RECT middleSrc, middleDest;
};
ThumbPieces ScrollBarThumbPieces(const RECT& thumb, const RECT& sourceCell, int thumbMargin,
                                 bool vertical);

// The source cell of a part in a state row (0 normal, 1 hot, 2 pressed) of the skin bitmap.
RECT ScrollBarSourceCell(int part, int row, bool vertical, int cellSize);
