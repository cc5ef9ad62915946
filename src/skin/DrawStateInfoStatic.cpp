#include "skin/DrawStateInfoStatic.h"

void CDrawStateInfoStatic::SetForeColor(COLORREF color)
{
    m_crText = color;
    Invalidate(TRUE);
}

void CDrawStateInfoStatic::StartAnimation()
{
    SetTimer(TIMER_DOT_ANIMATION, 1000);
}

void CDrawStateInfoStatic::StopAnimation()
{
    KillTimer(TIMER_DOT_ANIMATION);
    m_nDotCount = 0;
    Invalidate(TRUE);
}

std::wstring CDrawStateInfoStatic::DisplayText() const
{
    std::wstring text = GetWindowText();
    if (m_nDotCount >= 1 && m_nDotCount <= 3)
        text.append(static_cast<size_t>(m_nDotCount), L'.');
    return text;
}

void CDrawStateInfoStatic::DrawContent(HDC dc, const RECT& client)
{
    ::SetTextColor(dc, m_crText);
    std::wstring text = DisplayText();
    RECT textRect = client;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                TextFormatFor(m_alignment));
}

void CDrawStateInfoStatic::OnTimer(UINT_PTR id)
{
    if (id == TIMER_DOT_ANIMATION) {
        if (++m_nDotCount >= 4)
            m_nDotCount = 0;
        Invalidate(TRUE);
    }
    Default();
}
