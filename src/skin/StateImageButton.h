// What the skinned push buttons share: four state images, a backdrop, and the pointer
// tracking that moves the button between its visual states.
#pragma once

#include "framework/Controls.h"

#include <objidl.h>
#include <gdiplus.h>

#include <memory>

enum ButtonVisualState {
    STATE_NORMAL = 1,
    STATE_HOVER = 2,
    STATE_PRESSED = 3,
};

class CStateImageButton : public CButton {
public:
    CStateImageButton();
    ~CStateImageButton() override;

    // Takes the four images (normal, hover, pressed, disabled).  Only what the first paint
    // shows is decoded now; another state's image when the button first enters that state,
    // never while painting.  An image that cannot be loaded keeps what was there.  The dialog
    // calls it in its first layout.
    void SetStateImages(UINT normal, UINT hover, UINT pressed, UINT disabled);
    // Deletes the loaded state images; the button does it itself when its window goes.
    void ReleaseStateImages();
    // The dialog's content image (not owned) and the source rectangle behind the button.
    void SetBackdrop(Gdiplus::Image* backdrop) { m_pBackdrop = backdrop; }
    void SetBackdropRect(int left, int top, int right, int bottom);

    int GetState() const { return m_nState; }
    BOOL IsTracking() const { return m_bTracking; }
    // The image the button shows now: the disabled image when the window is disabled,
    // else the image of its state.
    Gdiplus::Image* CurrentImage() const;
    // Whether every state has its image, decoded or still to be decoded from the resources.
    BOOL HasAllStateImages() const;

protected:
    // Whether a hover, press or release at this client point changes the state.
    virtual BOOL AcceptsPoint(POINT /*client*/) const { return TRUE; }
    void SetState(int state);
    // Decodes the image of that state slot (0 normal .. 3 disabled) unless it is there.
    void EnsureStateImage(int slot);
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Draws the backdrop part (or fills white) over dest on the surface.
    void DrawBackdrop(Gdiplus::Graphics& graphics, HDC hdc, const RECT& dest) const;

    void OnMouseMove(UINT flags, POINT point) override;
    void OnMouseHover(UINT flags, POINT point) override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;
    void OnDestroy() override;

    Gdiplus::Image* m_pBackdrop = nullptr;
    RECT m_rcBackdrop{};
    HBRUSH m_hBackBrush;
    std::unique_ptr<Gdiplus::Image> m_stateImages[4];  // normal, hover, pressed, disabled
    UINT m_nStateImageIds[4]{};
    int m_nState = STATE_NORMAL;
    BOOL m_bTracking = FALSE;
};
