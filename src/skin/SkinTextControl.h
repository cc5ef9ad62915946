// What the skinned text controls (the two labels and the check box) share: their own copy of
// the parent's font, a solid background brush, an optional backdrop cut from the dialog's
// image, and painting through a memory bitmap.  Each control draws only its content.
#pragma once

#include "framework/Wnd.h"

#include <objidl.h>
#include <gdiplus.h>

// Where a label draws its text.
enum class TextAlignment {
    SingleLineLeft,  // one line, vertically centred
    SingleLineCentred,
    SingleLineRight,
    WrappedLeft,  // wrapped, from the top
    WrappedCentred,
    WrappedRight,
    None,  // no text: background and backdrop only
};

// The DrawText format of an alignment; 0 for None.
UINT TextFormatFor(TextAlignment alignment);

class CSkinTextControl : public CWnd {
public:
    ~CSkinTextControl() override;

    // The dialog's image (not owned) and the source rectangle drawn stretched behind the text.
    void SetBackdrop(Gdiplus::Image* backdrop) { m_pBackdrop = backdrop; }
    void SetBackdropRect(const RECT& rect) { m_rcBackdrop = rect; }
    void SetBackdropRect(int left, int top, int right, int bottom);
    // Effective only before the first paint, which makes the background brush from it.
    void SetBackColor(COLORREF color) { m_crBack = color; }
    // The parent's font (or a stock font) copied, heightDelta subtracted from its height.
    void CreateFontFromParent(LONG heightDelta = 0);

protected:
    // Draws into the memory bitmap, over the background and the backdrop, the font selected.
    virtual void DrawContent(HDC dc, const RECT& client) = 0;

    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC) override { return TRUE; }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    RECT m_rcClient{};  // refreshed at every paint

private:
    HBRUSH m_hBackBrush = nullptr;
    HFONT m_hFont = nullptr;
    COLORREF m_crBack = 0xFFFFFF;
    Gdiplus::Image* m_pBackdrop = nullptr;
    RECT m_rcBackdrop{};
};
