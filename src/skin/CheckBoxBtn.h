// The skinned check box: the system's automatic check box with its own painting, a 16 x 16
// cell of the check-box image followed by the window text.
#pragma once

#include "skin/SkinTextControl.h"

#include <memory>

class CCheckBoxBtn : public CSkinTextControl {
public:
    CCheckBoxBtn();
    ~CCheckBoxBtn() override;

    // The parent's font, and the check-box image with it.
    void CreateFontFromParent();
    int GetCheck() const { return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
    void SetCheck(int state) { ::SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(state), 0); }
    void SetTextColor(COLORREF color) { m_crText = color; }

    float m_fScale = 1.0f;

    // Box rectangle and text left edge for a client rectangle at the current scale.
    RECT BoxRectFor(const RECT& client) const;
    int TextLeftFor(const RECT& client) const;

protected:
    void DrawContent(HDC dc, const RECT& client) override;

private:
    std::unique_ptr<Gdiplus::Image> m_checkImage;  // loaded with the font
    COLORREF m_crText = 0;
};
