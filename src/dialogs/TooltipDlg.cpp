#include "dialogs/TooltipDlg.h"

#include "res/resource.h"

namespace {

// Image 183 (541 x 402) is drawn unevenly stretched to the design size; the content window
// leaves the bottom 18 pixels, the bubble's tail, uncovered.
const SkinPairValues kTooltipValues{
    IDB_TOOLTIP_BUBBLE, 396, 482,
    {1, 1, 2, 18},  // creation insets l, t, width-, height-
    {1, 1, 2, 18},  // follow insets l, t, r, b
    {0, 0, 0, 0}};  // the content window never drags the pair

}  // namespace

CTooltipDlg::CTooltipDlg(CWnd* parent) : CSkinBackgroundDlg(IDD_TOOLTIP, parent, kTooltipValues) {}

CSkinContentDlg* CTooltipDlg::CreateContent()
{
    return new CTooltipChildDlg;
}

void CTooltipDlg::OnContentCreated()
{
    GetTooltipContent()->FillContent();
}

void CTooltipDlg::ShowContent(bool show)
{
    if (m_pContent && m_pContent->IsWindow())
        m_pContent->ShowWindow(show ? SW_SHOW : SW_HIDE);
}
