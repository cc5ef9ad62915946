#include "skin/StateImageButton.h"

#include "skin/PngResource.h"
#include "skin/SkinPaint.h"

#include <commctrl.h>

CStateImageButton::CStateImageButton() : m_hBackBrush(::CreateSolidBrush(RGB(255, 255, 255))) {}

CStateImageButton::~CStateImageButton()
{
    if (m_hBackBrush)
        ::DeleteObject(m_hBackBrush);
}

void CStateImageButton::SetStateImages(UINT normal, UINT hover, UINT pressed, UINT disabled)
{
    const UINT ids[4] = {normal, hover, pressed, disabled};
    for (int i = 0; i < 4; ++i) {
        if (m_nStateImageIds[i] != ids[i])
            m_stateImages[i].reset();
        m_nStateImageIds[i] = ids[i];
    }
    EnsureStateImage(0);
    if (m_hWnd && !IsWindowEnabled())
        EnsureStateImage(3);
}

void CStateImageButton::EnsureStateImage(int slot)
{
    if (!m_stateImages[slot] && m_nStateImageIds[slot])
        LoadPngFromResource(m_stateImages[slot], m_nStateImageIds[slot]);
}

void CStateImageButton::ReleaseStateImages()
{
    for (auto& image : m_stateImages)
        image.reset();
}

void CStateImageButton::SetBackdropRect(int left, int top, int right, int bottom)
{
    m_rcBackdrop = RECT{left, top, right, bottom};
}

BOOL CStateImageButton::HasAllStateImages() const
{
    for (int i = 0; i < 4; ++i) {
        if (!m_stateImages[i] && !(m_nStateImageIds[i] && PngResourceExists(m_nStateImageIds[i])))
            return FALSE;
    }
    return TRUE;
}

Gdiplus::Image* CStateImageButton::CurrentImage() const
{
    if (m_hWnd && !IsWindowEnabled())
        return m_stateImages[3].get();
    switch (m_nState) {
    case STATE_HOVER:
        return m_stateImages[1].get();
    case STATE_PRESSED:
        return m_stateImages[2].get();
    default:
        return m_stateImages[0].get();
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

void CStateImageButton::OnDestroy()
{
    ReleaseStateImages();
    Default();
}

void CStateImageButton::OnMouseLeave()
{
    Default();
    SetState(STATE_NORMAL);
    m_bTracking = FALSE;
}
