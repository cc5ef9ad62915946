#include "skin/DrawStateInfoStatic.h"

#include "skin/FontCopy.h"
#include "skin/SkinPaint.h"

CDrawStateInfoStatic::CDrawStateInfoStatic() : m_hBackBrush(::CreateSolidBrush(RGB(255, 255, 255))) {}

CDrawStateInfoStatic::~CDrawStateInfoStatic()
{
    if (m_hFont)
        ::DeleteObject(m_hFont);
    if (m_hBackBrush)
        ::DeleteObject(m_hBackBrush);
}

void CDrawStateInfoStatic::SetBackdropRect(int left, int top, int right, int bottom)
{
    m_rcBackdrop = RECT{left, top, right, bottom};
}

void CDrawStateInfoStatic::SetForeColor(COLORREF color)
{
    m_crText = color;
    Invalidate(TRUE);
}

void CDrawStateInfoStatic::CreateFontFromParent()
{
    ReplaceFont(m_hFont, CopyFont(FontOfWindow(GetParent())));
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

UINT CDrawStateInfoStatic::FormatForMode(int mode)
{
    switch (mode) {
    case 2:
        return DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    case 3:
        return DT_RIGHT | DT_VCENTER | DT_SINGLELINE;
    case 4:
        return DT_VCENTER | DT_WORDBREAK;
    case 5:
        return DT_CENTER | DT_VCENTER | DT_WORDBREAK;
    case 6:
        return DT_RIGHT | DT_VCENTER | DT_WORDBREAK;
    default:
        return DT_VCENTER | DT_SINGLELINE;
    }
}

std::wstring CDrawStateInfoStatic::DisplayText() const
{
    std::wstring text = GetWindowText();
    if (m_nDotCount >= 1 && m_nDotCount <= 3)
        text.append(static_cast<size_t>(m_nDotCount), L'.');
    return text;
}

void CDrawStateInfoStatic::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    GetClientRect(&m_rcClient);
    {
        CMemoryPaint paint(hdc, m_rcClient.right - m_rcClient.left, m_rcClient.bottom - m_rcClient.top);
        if (paint.IsReady()) {
            HDC memDC = paint.DC();
            ::FillRect(memDC, &m_rcClient, m_hBackBrush);
            ::SetBkMode(memDC, TRANSPARENT);
            m_hPrevFont = m_hFont ? ::SelectObject(memDC, m_hFont) : nullptr;
            ::SetTextColor(memDC, m_crText);
            std::wstring text = DisplayText();
            if (m_pBackdrop) {
                Gdiplus::Graphics graphics(memDC);
                DrawImagePart(graphics, m_pBackdrop, m_rcClient, m_rcBackdrop);
            }
            RECT textRect = m_rcClient;
            ::DrawTextW(memDC, text.c_str(), static_cast<int>(text.size()), &textRect,
                        FormatForMode(m_nAlignment));
            paint.CopyTo(hdc, m_rcClient.right - m_rcClient.left, m_rcClient.bottom - m_rcClient.top);
            if (m_hPrevFont)
                ::SelectObject(memDC, m_hPrevFont);
        }
    }
    ::EndPaint(m_hWnd, &ps);
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

LRESULT CDrawStateInfoStatic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The system static draws a new text itself, in its own look; store it and repaint ours.
    if (msg == WM_SETTEXT) {
        LRESULT result = ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
        Invalidate(TRUE);
        return result;
    }
    return CStatic::WindowProc(msg, wParam, lParam);
}
