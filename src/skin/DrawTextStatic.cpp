#include "skin/DrawTextStatic.h"

void CDrawTextStatic::SetTextColors(COLORREF normal, COLORREF hover)
{
    m_crNormal = normal;
    m_crHover = hover;
}

BOOL CDrawTextStatic::HitTest(POINT screen) const
{
    if (!m_hWnd)
        return FALSE;
    RECT window;
    GetWindowRect(&window);
    return ::PtInRect(&window, screen);
}

void CDrawTextStatic::UpdateHover(POINT screen)
{
    BOOL hover = HitTest(screen);
    if (hover == m_bHover)
        return;
    m_bHover = hover;
    Invalidate(TRUE);
}

void CDrawTextStatic::DrawContent(HDC dc, const RECT& client)
{
    if (m_alignment == TextAlignment::None)
        return;
    std::wstring text = GetWindowText();
    ::SetTextColor(dc, m_bHover ? m_crHover : m_crNormal);
    RECT textRect = client;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                TextFormatFor(m_alignment));
}
