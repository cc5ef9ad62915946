// The modal dialog shown when the user closes the tool: was the problem solved?  The answer
// (or the close cross) is reported through the feedback library and ends the dialog.
//
//   CProblemSolvingFeedbackDlg feedback(nullptr);   // owned by the main window
//   feedback.SetFeedback(&m_feedback);              // lent for the dialog's life; may be null
//   feedback.DoModal();                             // the result carries nothing of interest
//
// The dialog takes its scale from the screen's resolution itself.
#pragma once

#include "feedback/ProblemSolvingFeedbackChildDlg.h"

class CProblemSolvingFeedbackDlg : public CSkinBackgroundDlg {
public:
    explicit CProblemSolvingFeedbackDlg(CWnd* parent = nullptr);

    void SetFeedback(CFeedbackDll* feedback) { m_pFeedback = feedback; }

    CProblemSolvingFeedbackChildDlg* GetFeedbackContent() const
    {
        return static_cast<CProblemSolvingFeedbackChildDlg*>(m_pContent);
    }

protected:
    BOOL OnInitDialog() override;
    CSkinContentDlg* CreateContent() override;

private:
    CFeedbackDll* m_pFeedback = nullptr;
};
