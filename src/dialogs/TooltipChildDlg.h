// The agreement bubble's content window: the agreement in a read-only rich edit whose own
// vertical bar is replaced by a skinned one.  It has no layout of its own; the background
// fills it once, right after creating it.
#pragma once

#include "framework/Controls.h"
#include "skin/SkinDialog.h"

class CTooltipChildDlg : public CSkinContentDlg {
public:
    CTooltipChildDlg();

    // Places the text control, wraps it in the skinned bars and sets the agreement.  Runs once;
    // later calls do nothing.
    void FillContent();

    CRichEditCtrl& AgreementTextCtrl() { return m_richAgreement; }
    HBITMAP SkinBitmap() const { return m_hSkinBitmap; }

protected:
    void DoDataExchange() override;
    void PaintBackground(HDC hdc) override;
    void OnDestroy() override;

private:
    CRichEditCtrl m_richAgreement;
    HBITMAP m_hSkinBitmap = nullptr;  // owned
    BOOL m_bFilled = FALSE;
};
