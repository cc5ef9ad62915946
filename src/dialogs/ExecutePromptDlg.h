// The modal progress prompt shown while a repair runs.  It has no buttons and ignores Enter
// and Escape; only WM_CLOSE_PROGRESS ends it, with IDOK.
//
//   auto* progress = new CExecutePromptDlg(nullptr);
//   progress->SetText(L"正在修复，请稍等");
//   progress->m_fScale = m_fScale;
//   progress->DoModal();              // returns when WM_CLOSE_PROGRESS is sent to its window
#pragma once

#include "dialogs/ExecutePromptChildDlg.h"
#include "repair/RepairMessages.h"

class CExecutePromptDlg : public CSkinBackgroundDlg {
public:
    explicit CExecutePromptDlg(CWnd* parent = nullptr);

    void SetText(const std::wstring& text) { m_strText = text; }

    CExecutePromptChildDlg* GetProgressContent() const
    {
        return static_cast<CExecutePromptChildDlg*>(m_pContent.get());
    }

protected:
    CSkinContentDlg* CreateContent() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The user cannot close it: a close request (Alt+F4 on the glow) is ignored.
    void OnCancel() override {}

private:
    std::wstring m_strText;
};
