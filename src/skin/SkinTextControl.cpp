#include "skin/SkinTextControl.h"

#include "skin/FontCopy.h"
#include "skin/SkinPaint.h"

UINT TextFormatFor(TextAlignment alignment)
{
    switch (alignment) {
    case TextAlignment::SingleLineLeft:
        return DT_VCENTER | DT_SINGLELINE;
    case TextAlignment::SingleLineCentred:
        return DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    case TextAlignment::SingleLineRight:
        return DT_RIGHT | DT_VCENTER | DT_SINGLELINE;
    case TextAlignment::WrappedLeft:
        return DT_VCENTER | DT_WORDBREAK;
    case TextAlignment::WrappedCentred:
        return DT_CENTER | DT_VCENTER | DT_WORDBREAK;
    case TextAlignment::WrappedRight:
        return DT_RIGHT | DT_VCENTER | DT_WORDBREAK;
    default:
        return 0;
    }
}

CSkinTextControl::~CSkinTextControl()
{
    if (m_hFont)
        ::DeleteObject(m_hFont);
    if (m_hBackBrush)
        ::DeleteObject(m_hBackBrush);
}

void CSkinTextControl::SetBackdropRect(int left, int top, int right, int bottom)
{
    m_rcBackdrop = RECT{left, top, right, bottom};
}

void CSkinTextControl::CreateFontFromParent(LONG heightDelta)
{
    ReplaceFont(m_hFont, CopyFont(FontOfWindow(GetParent()), heightDelta));
}

void CSkinTextControl::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    GetClientRect(&m_rcClient);
    const int width = m_rcClient.right - m_rcClient.left;
    const int height = m_rcClient.bottom - m_rcClient.top;
    CMemoryPaint paint(hdc, width, height);
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
        HGDIOBJ previousFont = m_hFont ? ::SelectObject(memDC, m_hFont) : nullptr;
        DrawContent(memDC, m_rcClient);
        paint.CopyTo(hdc, width, height);
        if (previousFont)
            ::SelectObject(memDC, previousFont);
    }
    ::EndPaint(m_hWnd, &ps);
}

LRESULT CSkinTextControl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The system control draws a new text itself, in its own look; store it and repaint ours.
    if (msg == WM_SETTEXT) {
        LRESULT result = ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
        Invalidate(TRUE);
        return result;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}
