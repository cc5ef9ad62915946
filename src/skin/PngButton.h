// The small four-state image buttons (close crosses, minimise bar, prompt answers).
#pragma once

#include "skin/StateImageButton.h"

class CPngButton : public CStateImageButton {
public:
    // The dialog's scale; above 1 the images are drawn without their last column and row.
    float m_fScale = 1.0f;

    // The source rectangle an image of that size is drawn from at the current scale.
    Gdiplus::Rect SourceRectFor(int imageWidth, int imageHeight) const;

protected:
    void DrawItem(DRAWITEMSTRUCT* item) override;
};
