#include "dialogs/TooltipChildDlg.h"

#include "dialogs/AgreementText.h"
#include "res/resource.h"
#include "skin/LayeredWindow.h"
#include "skin/SkinScale.h"
#include "skinscroll/SkinScrollWnd.h"

namespace {

constexpr int kTextMargin = 8;
constexpr int kTailHeight = 18;  // the bubble's tail below the white rectangle of the image

}  // namespace

CTooltipChildDlg::CTooltipChildDlg() : CSkinContentDlg(IDD_TOOLTIP_CHILD, IDB_TOOLTIP_BUBBLE) {}

void CTooltipChildDlg::DoDataExchange()
{
    DDX_Control(IDC_RICHEDIT_AGREEMENT, m_richAgreement);
}

void CTooltipChildDlg::FillContent()
{
    if (m_bFilled || !m_richAgreement.IsWindow())
        return;
    m_bFilled = TRUE;

    RECT client;
    GetClientRect(&client);
    const int margin = Scaled(kTextMargin, m_fScale);
    ::InflateRect(&client, -margin, -margin);
    m_richAgreement.MoveWindow(client, TRUE);

    m_hSkinBitmap = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                      MAKEINTRESOURCEW(IDB_SKIN_SCROLLBAR),
                                                      IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    // From here on the text control lives inside the skinning frame.
    AttachSkinScrollBars(m_richAgreement.m_hWnd, m_hSkinBitmap, m_fScale, 0);

    m_richAgreement.SetWindowText(BuildAgreementText().c_str());
}

void CTooltipChildDlg::PaintBackground(HDC hdc)
{
    // The bubble without its tail, and without smoothing.
    const int width = static_cast<int>(m_pBackground->GetWidth());
    const int height = static_cast<int>(m_pBackground->GetHeight());
    PaintContentBackground(m_hWnd, hdc, m_pBackground.get(), 0, 0, width - 1, height - kTailHeight, false);
}

void CTooltipChildDlg::OnDestroy()
{
    CSkinContentDlg::OnDestroy();
    if (m_hSkinBitmap) {
        ::DeleteObject(m_hSkinBitmap);
        m_hSkinBitmap = nullptr;
    }
}
