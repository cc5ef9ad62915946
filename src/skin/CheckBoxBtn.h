// The skinned check box: the system's automatic check box with its own painting, a 16 x 16
// cell of the check-box image followed by the window text.
#pragma once

#include "framework/Controls.h"

#include <objidl.h>
#include <gdiplus.h>

class CCheckBoxBtn : public CButton {
public:
    CCheckBoxBtn();
    ~CCheckBoxBtn() override;

    // The parent's font (or a stock font) copied into the control's own; also loads the
    // check-box image, which the painting otherwise loads the first time it runs.
    void CreateFontFromParent();
    void SetTextColor(COLORREF color) { m_crText = color; }

    float m_fScale = 1.0f;

    // Box rectangle and text left edge for a client rectangle at the current scale.
    RECT BoxRectFor(const RECT& client) const;
    int TextLeftFor(const RECT& client) const;

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC) override { return TRUE; }

    Gdiplus::Image* m_pCheckImage = nullptr;
    HBRUSH m_hBackBrush;
    RECT m_rcClient{};
    HFONT m_hFont = nullptr;
    HGDIOBJ m_hPrevFont = nullptr;
    COLORREF m_crText = 0;
};
