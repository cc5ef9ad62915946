// A text or link label: a normal colour and a hover colour, the hover state driven by its
// dialog through UpdateHover; clicks are recognised by the dialog through HitTest.
#pragma once

#include "framework/Controls.h"

#include <objidl.h>
#include <gdiplus.h>

class CDrawTextStatic : public CStatic {
public:
    CDrawTextStatic() = default;
    ~CDrawTextStatic() override;

    void SetBackdrop(Gdiplus::Image* backdrop) { m_pBackdrop = backdrop; }
    void SetBackdropRect(const RECT& rect) { m_rcBackdrop = rect; }
    void SetBackdropRect(int left, int top, int right, int bottom);
    // 0 wrapped left, 1 and 4 one line left, 2 one line centred, 3 wrapped right; any other
    // mode draws no text.
    void SetAlignment(int mode) { m_nAlignment = mode; }
    void SetTextColors(COLORREF normal, COLORREF hover);
    // Effective only before the first paint, which makes the background brush from it.
    void SetBackColor(COLORREF color) { m_crBack = color; }
    // The parent's font with m_nFontSizeDelta subtracted from its height.
    void CreateFontFromParent();

    // Hover state = whether the screen point lies in the window rectangle; repaints only
    // when the state changes.
    void UpdateHover(POINT screen);
    BOOL HitTest(POINT screen) const;

    BOOL IsHover() const { return m_bHover; }
    int GetAlignment() const { return m_nAlignment; }
    // The DrawText format of a mode, or 0 with *draws false for a mode that draws no text.
    static UINT FormatForMode(int mode, bool* draws);

    int m_nFontSizeDelta = 0;

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC) override { return TRUE; }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    HBRUSH m_hBackBrush = nullptr;
    RECT m_rcClient{};
    HFONT m_hFont = nullptr;
    HGDIOBJ m_hPrevFont = nullptr;
    COLORREF m_crNormal = 0;
    COLORREF m_crHover = 0xFF0000;
    COLORREF m_crBack = 0xFFFFFF;
    BOOL m_bHover = FALSE;
    int m_nAlignment = 0;
    Gdiplus::Image* m_pBackdrop = nullptr;
    RECT m_rcBackdrop{};
};
