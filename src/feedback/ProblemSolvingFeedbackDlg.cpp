#include "feedback/ProblemSolvingFeedbackDlg.h"

#include "res/resource.h"
#include "skin/SkinScale.h"

namespace {

// Image 172's shadow is 5 pixels wide left and right, 4 at the top and 7 at the bottom.  A
// move of the background places the content 3 pixels below its top, a drag 4.
const SkinPairValues kFeedbackPair{
    IDB_FEEDBACK_BACKGROUND, 410, 479,
    {5, 4, 10, 11},  // creation insets
    {5, 3, 5, 7},    // follow insets
    {5, 4, 5, 7},    // drag outsets
};

}  // namespace

CProblemSolvingFeedbackDlg::CProblemSolvingFeedbackDlg(CWnd* parent)
    : CSkinBackgroundDlg(IDD_FEEDBACK, parent, kFeedbackPair)
{
    // Without its image nothing visible could end the dialog.
    m_bEndIfImageMissing = TRUE;
}

BOOL CProblemSolvingFeedbackDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(L"Tovrane");
    m_fScale = ScaleFromScreenDpi();
    InitSkinPair();
    return TRUE;
}

CSkinContentDlg* CProblemSolvingFeedbackDlg::CreateContent()
{
    auto* content = new CProblemSolvingFeedbackChildDlg;
    content->SetFeedback(m_pFeedback, m_tool);
    return content;
}
