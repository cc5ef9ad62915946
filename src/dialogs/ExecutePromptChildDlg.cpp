#include "dialogs/ExecutePromptChildDlg.h"

#include "res/resource.h"
#include "skin/SkinScale.h"

const wchar_t PROGRESS_DEFAULT_TEXT[] = L"正在修复，请稍等";

namespace {

constexpr COLORREF kTextWhite = 0xFFFFFF;
// The part of image 146 the label covers at scale 1; it stays the label's backdrop at any
// scale because the panel and the label are stretched alike.
constexpr RECT kLabelDesignRect{10, 42, 194, 82};

}  // namespace

std::wstring ProgressLabelText(const std::wstring& text)
{
    return text.size() >= 2 ? text : std::wstring(PROGRESS_DEFAULT_TEXT);
}

RECT LayoutProgressLabel(const RECT& r, float scale)
{
    const double s = scale;
    const int halfHeight = (r.bottom - r.top) / 2;
    const int top = Truncated((halfHeight + r.top) - 10 * s);
    return RECT{Truncated(r.left + 10 * s), top, Truncated(r.right - 10 * s),
                Truncated(top + 40 * s)};
}

CExecutePromptChildDlg::CExecutePromptChildDlg(CWnd* parent)
    : CSkinContentDlg(IDD_EXECUTE_PROMPT_CHILD, IDB_PROGRESS_PANEL, parent)
{
}

void CExecutePromptChildDlg::DoDataExchange()
{
    DDX_Control(IDC_STATIC_PROGRESS_TEXT, m_lblState);
}

void CExecutePromptChildDlg::LayoutContent(BOOL first)
{
    RECT client;
    GetClientRect(&client);

    m_lblState.SetWindowText(ProgressLabelText(m_strText).c_str());
    m_lblState.SetAlignment(TextAlignment::WrappedCentred);
    m_lblState.SetForeColor(kTextWhite);
    const RECT label = LayoutProgressLabel(client, m_fScale);
    if (first) {
        m_lblState.SetBackdrop(m_pBackground.get());
        m_lblState.CreateFontFromParent();
        m_lblState.StartAnimation();
    }
    m_lblState.SetBackdropRect(kLabelDesignRect);
    m_lblState.MoveWindow(label, TRUE);
}

void CExecutePromptChildDlg::StopAnimation()
{
    m_lblState.StopAnimation();
}

void CExecutePromptChildDlg::OnDestroy()
{
    CSkinContentDlg::OnDestroy();
    m_lblState.ResetAnimation();
}
