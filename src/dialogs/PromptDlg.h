// The tool's own modal message box: a skinned prompt with one text and one or two answers.
//
//   CPromptDlg prompt;                 // owned by the main window when it has no parent
//   prompt.m_fScale = m_fScale;        // the caller's own scale
//   prompt.SetText(L"...");
//   prompt.SetMode(PROMPT_CONFIRM);
//   INT_PTR answer = prompt.DoModal(); // IDOK, or IDCANCEL for the cancel button and the cross
#pragma once

#include "dialogs/PromptChildDlg.h"

class CPromptDlg : public CSkinBackgroundDlg {
public:
    explicit CPromptDlg(CWnd* parent = nullptr);

    void SetText(const std::wstring& text) { m_strText = text; }
    void SetMode(int mode) { m_nMode = mode; }

    CPromptChildDlg* GetPromptContent() const { return static_cast<CPromptChildDlg*>(m_pContent.get()); }

protected:
    CSkinContentDlg* CreateContent() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::wstring m_strText;
    int m_nMode = PROMPT_YES;
};
