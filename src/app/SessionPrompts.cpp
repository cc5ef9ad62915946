#include "app/SessionPrompts.h"

#include "dialogs/ExecutePromptDlg.h"
#include "dialogs/PromptDlg.h"
#include "feedback/ProblemSolvingFeedbackDlg.h"

void RunConfirmPrompt(const wchar_t* text, float scale)
{
    CPromptDlg prompt;
    prompt.m_fScale = scale;
    prompt.SetText(text);
    prompt.SetMode(PROMPT_CONFIRM);
    prompt.DoModal();
}

void RunSolvedQuestion(CFeedbackDll& feedback, const ToolIdentity& tool)
{
    CProblemSolvingFeedbackDlg question;
    question.SetFeedback(&feedback, tool);
    question.DoModal();
}

void CProgressPrompt::Run(const wchar_t* text, float scale)
{
    CExecutePromptDlg progress;
    progress.SetText(text);
    progress.m_fScale = scale;
    m_pShown = &progress;
    progress.DoModal();
    m_pShown = nullptr;
}

void CProgressPrompt::Close()
{
    if (m_pShown && m_pShown->IsWindow())
        ::SendMessageW(m_pShown->m_hWnd, WM_CLOSE_PROGRESS, 0, 0);
}
