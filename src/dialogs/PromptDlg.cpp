#include "dialogs/PromptDlg.h"

#include "res/resource.h"

namespace {

// Image 155 (330 x 150) is stretched to 336 x 156; its shadow is 5 pixels wide left and
// right, 3 at the top and 7 at the bottom.
const SkinPairValues kPromptPair{
    IDB_PROMPT_BACKGROUND, 336, 156,
    {5, 3, 10, 10},  // creation insets
    {5, 3, 5, 7},    // follow insets
    {5, 3, 5, 7},    // drag outsets
};

}  // namespace

CPromptDlg::CPromptDlg(CWnd* parent) : CSkinBackgroundDlg(IDD_PROMPT, parent, kPromptPair)
{
    // Without its image the prompt would have no visible window that could end it.
    m_bEndIfImageMissing = TRUE;
}

CSkinContentDlg* CPromptDlg::CreateContent()
{
    auto* content = new CPromptChildDlg;
    content->SetText(m_strText);
    content->SetMode(m_nMode);
    return content;
}

LRESULT CPromptDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PROMPT_RESULT) {
        if (wParam == PROMPT_RESULT_OK)
            OnOK();
        else
            OnCancel();
        return 0;
    }
    return CSkinBackgroundDlg::WindowProc(msg, wParam, lParam);
}
