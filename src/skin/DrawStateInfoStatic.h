// A state label: one colour and an optional animation that appends one, two or three dots to
// the text, one more every second.
#pragma once

#include "res/MessageIds.h"
#include "skin/SkinTextControl.h"

#include <string>

class CDrawStateInfoStatic : public CSkinTextControl {
public:
    void SetAlignment(TextAlignment alignment) { m_alignment = alignment; }
    // Stores the colour and repaints.
    void SetForeColor(COLORREF color);

    void StartAnimation();
    // Stops the timer, clears the dots and repaints.
    void StopAnimation();
    // Clears the dots without repainting.
    void ResetAnimation() { m_nDotCount = 0; }

    int GetDotCount() const { return m_nDotCount; }
    TextAlignment GetAlignment() const { return m_alignment; }
    // The window text followed by the current dots.
    std::wstring DisplayText() const;

protected:
    void DrawContent(HDC dc, const RECT& client) override;
    void OnTimer(UINT_PTR id) override;

private:
    COLORREF m_crText = 0;
    int m_nDotCount = 0;
    TextAlignment m_alignment = TextAlignment::SingleLineLeft;
};
