// A text or link label: a normal colour and a hover colour, the hover state driven by its
// dialog through UpdateHover; clicks are recognised by the dialog through HitTest.
#pragma once

#include "skin/SkinTextControl.h"

class CDrawTextStatic : public CSkinTextControl {
public:
    void SetAlignment(TextAlignment alignment) { m_alignment = alignment; }
    void SetTextColors(COLORREF normal, COLORREF hover);
    // The parent's font with m_nFontSizeDelta subtracted from its height.
    void CreateFontFromParent() { CSkinTextControl::CreateFontFromParent(m_nFontSizeDelta); }

    // Hover state = whether the screen point lies in the window rectangle; repaints only
    // when the state changes.
    void UpdateHover(POINT screen);
    BOOL HitTest(POINT screen) const;

    BOOL IsHover() const { return m_bHover; }
    TextAlignment GetAlignment() const { return m_alignment; }

    int m_nFontSizeDelta = 0;

protected:
    void DrawContent(HDC dc, const RECT& client) override;

private:
    COLORREF m_crNormal = 0;
    COLORREF m_crHover = 0xFF0000;
    BOOL m_bHover = FALSE;
    TextAlignment m_alignment = TextAlignment::WrappedLeft;
};
