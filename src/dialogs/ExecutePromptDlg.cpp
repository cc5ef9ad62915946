#include "dialogs/ExecutePromptDlg.h"

#include "res/resource.h"

namespace {

// Image 145 is the panel with a glow 14 pixels wide left and right, 12 at the top and 16 at
// the bottom.  The prompt is never dragged, so the drag outsets are never used.
const SkinPairValues kProgressPair{
    IDB_PROGRESS_BACKGROUND, 232, 132,
    {14, 12, 28, 28},  // creation insets
    {14, 12, 14, 16},  // follow insets
    {14, 12, 14, 16},  // drag outsets
};

}  // namespace

CExecutePromptDlg::CExecutePromptDlg(CWnd* parent)
    : CSkinBackgroundDlg(IDD_EXECUTE_PROMPT, parent, kProgressPair)
{
    // Even without its image the prompt stays until the repair reports its end.
    m_bEndIfImageMissing = FALSE;
}

CSkinContentDlg* CExecutePromptDlg::CreateContent()
{
    auto* content = new CExecutePromptChildDlg;
    content->SetText(m_strText);
    return content;
}

LRESULT CExecutePromptDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE_PROGRESS) {
        if (CExecutePromptChildDlg* content = GetProgressContent()) {
            content->StopAnimation();
            // The result prompt runs before this loop returns and destroys the pair: the
            // panel must not stay visible behind it.
            content->ShowWindow(SW_HIDE);
        }
        OnOK();
        return 0;
    }
    return CSkinBackgroundDlg::WindowProc(msg, wParam, lParam);
}
