#include "skin/DrawTextStatic.h"

#include "skin/FontCopy.h"
#include "skin/SkinPaint.h"

CDrawTextStatic::~CDrawTextStatic()
{
    if (m_hFont)
        ::DeleteObject(m_hFont);
    if (m_hBackBrush)
        ::DeleteObject(m_hBackBrush);
}

void CDrawTextStatic::SetBackdropRect(int left, int top, int right, int bottom)
{
    m_rcBackdrop = RECT{left, top, right, bottom};
}

void CDrawTextStatic::SetTextColors(COLORREF normal, COLORREF hover)
{
    m_crNormal = normal;
    m_crHover = hover;
}

void CDrawTextStatic::CreateFontFromParent()
{
    ReplaceFont(m_hFont, CopyFont(FontOfWindow(GetParent()), m_nFontSizeDelta));
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

UINT CDrawTextStatic::FormatForMode(int mode, bool* draws)
{
    *draws = true;
    switch (mode) {
    case 0:
        return DT_VCENTER | DT_WORDBREAK;
    case 1:
    case 4:
        return DT_VCENTER | DT_SINGLELINE;
    case 2:
        return DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    case 3:
        return DT_RIGHT | DT_VCENTER | DT_WORDBREAK;
    default:
        *draws = false;
        return 0;
    }
}

void CDrawTextStatic::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    GetClientRect(&m_rcClient);
    {
        CMemoryPaint paint(hdc, m_rcClient.right - m_rcClient.left, m_rcClient.bottom - m_rcClient.top);
        if (paint.IsReady()) {
            HDC memDC = paint.DC();
            if (!m_hBackBrush)
                m_hBackBrush = ::CreateSolidBrush(m_crBack);
            ::FillRect(memDC, &m_rcClient, m_hBackBrush);
            ::SetBkMode(memDC, TRANSPARENT);
            if (m_pBackdrop) {
                Gdiplus::Graphics graphics(memDC);
                graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
                DrawImagePart(graphics, m_pBackdrop, m_rcClient, m_rcBackdrop);
            }
            m_hPrevFont = m_hFont ? ::SelectObject(memDC, m_hFont) : nullptr;
            std::wstring text = GetWindowText();
            ::SetTextColor(memDC, m_bHover ? m_crHover : m_crNormal);
            bool draws = false;
            UINT format = FormatForMode(m_nAlignment, &draws);
            if (draws) {
                RECT textRect = m_rcClient;
                ::DrawTextW(memDC, text.c_str(), static_cast<int>(text.size()), &textRect, format);
            }
            paint.CopyTo(hdc, m_rcClient.right - m_rcClient.left, m_rcClient.bottom - m_rcClient.top);
            if (m_hPrevFont)
                ::SelectObject(memDC, m_hPrevFont);
        }
    }
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CDrawTextStatic::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The system static draws a new text itself, in its own look; store it and repaint ours.
    if (msg == WM_SETTEXT) {
        LRESULT result = ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
        Invalidate(TRUE);
        return result;
    }
    return CStatic::WindowProc(msg, wParam, lParam);
}
