// The large image buttons whose images carry a transparent glow margin: they react only to
// points inside their client rectangle and offer a hot-area test without the margin.
#pragma once

#include "skin/StateImageButton.h"

class CImageButton : public CStateImageButton {
public:
    void SetHotMargins(int left, int top, int right, int bottom);
    // Whether the cursor lies in the client rectangle shrunk by the hot margins.  Click
    // handlers return at once when it does not.
    BOOL IsCursorInHotArea() const;
    BOOL IsPointInHotArea(POINT client) const;

protected:
    BOOL AcceptsPoint(POINT client) const override;
    void DrawItem(DRAWITEMSTRUCT* item) override;
    BOOL OnEraseBkgnd(HDC hdc) override;
    // The whole look into hdc: white, backdrop, image of the state, via a memory bitmap.
    void PaintButton(HDC hdc);

    RECT m_rcClient{};
    RECT m_rcHotMargins{};  // left, top, right, bottom margins
};
