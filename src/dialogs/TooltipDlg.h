// The agreement bubble: a modeless skinned pair that the panel creates once and afterwards
// only moves, shows and hides.
//
//   m_pAgreementDlg = new CTooltipDlg();          // no parent
//   m_pAgreementDlg->m_fScale = m_fScale;
//   m_pAgreementDlg->Create(IDD_TOOLTIP, this);   // the panel becomes its owner
//   m_pAgreementDlg->MoveWindow(x, y, w, h, TRUE); // the content window follows
//   m_pAgreementDlg->ShowWindow(SW_SHOW);          // background and content always together
//   m_pAgreementDlg->ShowContent(true);
#pragma once

#include "dialogs/TooltipChildDlg.h"

class CTooltipDlg : public CSkinBackgroundDlg {
public:
    explicit CTooltipDlg(CWnd* parent = nullptr);

    // Shows or hides the content window, if there is one.
    void ShowContent(bool show);

    CTooltipChildDlg* GetTooltipContent() const { return static_cast<CTooltipChildDlg*>(m_pContent.get()); }

protected:
    CSkinContentDlg* CreateContent() override;
    void OnContentCreated() override;
};
