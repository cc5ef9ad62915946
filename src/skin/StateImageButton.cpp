#include "skin/StateImageButton.h"

#include "skin/PngResource.h"
#include "skin/SkinPaint.h"

#include <commctrl.h>

CStateImageButton::CStateImageButton() : m_hBackBrush(::CreateSolidBrush(RGB(255, 255, 255))) {}

CStateImageButton::~CStateImageButton()
{
    // The dialog releases the images in its WM_DESTROY; this only catches a forgotten call.
    ReleaseStateImages();
    if (m_hBackBrush)
        ::DeleteObject(m_hBackBrush);
}

void CStateImageButton::SetStateImages(UINT normal, UINT hover, UINT pressed, UINT disabled)
{
    const UINT ids[4] = {normal, hover, pressed, disabled};
    for (int i = 0; i < 4; ++i)
        m_nStateImageIds[i] = ids[i];
    EnsureStateImage(0);
    if (m_hWnd && !IsWindowEnabled())
        EnsureStateImage(3);
}

void CStateImageButton::EnsureStateImage(int slot)
{
    if (!m_pStateImages[slot] && m_nStateImageIds[slot])
        LoadPngFromResource(&m_pStateImages[slot], m_nStateImageIds[slot]);
}

void CStateImageButton::ReleaseStateImages()
{
    for (Gdiplus::Image*& image : m_pStateImages)
        DeletePngImage(image);
}

void CStateImageButton::SetBackdropRect(int left, int top, int right, int bottom)
{
    m_rcBackdrop = RECT{left, top, right, bottom};
}

BOOL CStateImageButton::HasAllStateImages() const
{
    for (int i = 0; i < 4; ++i) {
        if (!m_pStateImages[i] && !(m_nStateImageIds[i] && PngResourceExists(m_nStateImageIds[i])))
            return FALSE;
    }
    return TRUE;
}

Gdiplus::Image* CStateImageButton::CurrentImage() const
{
    if (m_hWnd && !IsWindowEnabled())
        return m_pStateImages[3];
    switch (m_nState) {
    case STATE_HOVER:
        return m_pStateImages[1];
    case STATE_PRESSED:
        return m_pStateImages[2];
    default:
        return m_pStateImages[0];
    }
}

void CStateImageButton::SetState(int state)
{
    if (!IsWindowEnabled() || m_nState == state)
        return;
    m_nState = state;
    EnsureStateImage(state == STATE_HOVER ? 1 : state == STATE_PRESSED ? 2 : 0);
    Invalidate(TRUE);
}

LRESULT CStateImageButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Disabled from any thread, the button learns it here, on its own, before it repaints.
    if (msg == WM_ENABLE && !wParam)
        EnsureStateImage(3);
    return CButton::WindowProc(msg, wParam, lParam);
}

void CStateImageButton::DrawBackdrop(Gdiplus::Graphics& graphics, HDC hdc, const RECT& dest) const
{
    if (m_pBackdrop)
        DrawImagePart(graphics, m_pBackdrop, dest, m_rcBackdrop);
    else
        ::FillRect(hdc, &dest, m_hBackBrush);
}

void CStateImageButton::OnMouseMove(UINT, POINT)
{
    Default();
    if (IsWindowEnabled() && !m_bTracking) {
        TRACKMOUSEEVENT track{sizeof(track)};
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = 10;
        if (::_TrackMouseEvent(&track))
            m_bTracking = TRUE;
    }
}

void CStateImageButton::OnMouseHover(UINT, POINT point)
{
    if (AcceptsPoint(point))
        SetState(STATE_HOVER);
    Default();
}

void CStateImageButton::OnLButtonUp(UINT, POINT point)
{
    if (AcceptsPoint(point))
        SetState(STATE_HOVER);
    Default();
}

void CStateImageButton::OnLButtonDown(UINT, POINT point)
{
    if (AcceptsPoint(point))
        SetState(STATE_PRESSED);
    Default();
}

void CStateImageButton::OnMouseLeave()
{
    Default();
    SetState(STATE_NORMAL);
    m_bTracking = FALSE;
}
