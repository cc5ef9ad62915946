// The modal dialog shown when the user closes the tool: was the problem solved?  The answer
// (or the close cross) is reported through the feedback library and ends the dialog.
//
//   CProblemSolvingFeedbackDlg feedback(nullptr);   // owned by the main window
//   feedback.SetFeedback(&m_feedback, tool);        // lent for the dialog's life; may be null
//   feedback.DoModal();                             // the result carries nothing of interest
//
// The dialog takes its scale from the screen's resolution itself.
#pragma once

#include "feedback/ProblemSolvingFeedbackChildDlg.h"

class CProblemSolvingFeedbackDlg : public CSkinBackgroundDlg {
public:
    explicit CProblemSolvingFeedbackDlg(CWnd* parent = nullptr);

    // The binding (may be null) and the tool the answer is about.
    void SetFeedback(CFeedbackDll* feedback, const ToolIdentity& tool)
    {
        m_pFeedback = feedback;
        m_tool = tool;
    }

    CProblemSolvingFeedbackChildDlg* GetFeedbackContent() const
    {
        return static_cast<CProblemSolvingFeedbackChildDlg*>(m_pContent.get());
    }

protected:
    BOOL OnInitDialog() override;
    CSkinContentDlg* CreateContent() override;

private:
    CFeedbackDll* m_pFeedback = nullptr;
    ToolIdentity m_tool{L"", L""};
};
