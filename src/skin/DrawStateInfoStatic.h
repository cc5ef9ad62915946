// A state label: one colour, six layout modes and an optional animation that appends one,
// two or three dots to the text, one more every second.
#pragma once

#include "framework/Controls.h"

#include <objidl.h>
#include <gdiplus.h>

constexpr UINT_PTR TIMER_DOT_ANIMATION = 36;

class CDrawStateInfoStatic : public CStatic {
public:
    CDrawStateInfoStatic();
    ~CDrawStateInfoStatic() override;

    void SetBackdrop(Gdiplus::Image* backdrop) { m_pBackdrop = backdrop; }
    void SetBackdropRect(const RECT& rect) { m_rcBackdrop = rect; }
    void SetBackdropRect(int left, int top, int right, int bottom);
    // 1 left, 2 centred, 3 right (one line, vertically centred); 4, 5, 6 the same wrapped;
    // any other mode is drawn as 1.
    void SetAlignment(int mode) { m_nAlignment = mode; }
    // Stores the colour and repaints.
    void SetForeColor(COLORREF color);
    void CreateFontFromParent();

    void StartAnimation();
    // Stops the timer, clears the dots and repaints.
    void StopAnimation();
    // Clears the dots without repainting.
    void ResetAnimation() { m_nDotCount = 0; }

    int GetDotCount() const { return m_nDotCount; }
    int GetAlignment() const { return m_nAlignment; }
    // The window text followed by the current dots.
    std::wstring DisplayText() const;
    static UINT FormatForMode(int mode);

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC) override { return TRUE; }
    void OnTimer(UINT_PTR id) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    HBRUSH m_hBackBrush;
    RECT m_rcClient{};
    HFONT m_hFont = nullptr;
    HGDIOBJ m_hPrevFont = nullptr;
    COLORREF m_crText = 0;
    int m_nDotCount = 0;
    int m_nAlignment = 0;
    Gdiplus::Image* m_pBackdrop = nullptr;
    RECT m_rcBackdrop{};
};
