#include "dialogs/PromptChildDlg.h"

#include "res/resource.h"
#include "skin/LayeredWindow.h"
#include "skin/SkinScale.h"

namespace {

constexpr double kButtonWidth = 55;
constexpr double kButtonHeight = 24;
constexpr double kButtonTop = 107;
constexpr double kButtonGap = 12;  // each button's distance from the centre line

RECT SizedAt(int left, int top, float scale, double width, double height)
{
    return RECT{left, top, left + Scaled(width, scale), top + Scaled(height, scale)};
}

BOOL IsSingleButtonMode(int mode)
{
    return mode == PROMPT_YES || mode == PROMPT_CONFIRM;
}

BOOL ShowsCancel(int mode)
{
    return mode == PROMPT_YES_NO || mode == PROMPT_CONFIRM_CANCEL;
}

}  // namespace

PromptLayout LayoutPrompt(const RECT& r, float scale, int mode)
{
    const double s = scale;
    const int half = (r.right - r.left) / 2;
    PromptLayout layout{};

    layout.close = SizedAt(r.right - Scaled(26, scale), r.top + Scaled(8, scale), scale, 12, 12);
    layout.ok = SizedAt(Truncated(half - kButtonWidth * s - kButtonGap * s),
                        r.top + Scaled(kButtonTop, scale), scale, kButtonWidth, kButtonHeight);
    layout.cancel = SizedAt(Truncated(half + kButtonGap * s), r.top + Scaled(kButtonTop, scale),
                            scale, kButtonWidth, kButtonHeight);
    layout.showCancel = ShowsCancel(mode);
    // Only the two known single-button modes centre their button; an unknown mode keeps the
    // two-button position.
    if (IsSingleButtonMode(mode))
        layout.ok = SizedAt(Truncated(half - kButtonWidth * s / 2), Scaled(kButtonTop, scale),
                            scale, kButtonWidth, kButtonHeight);
    layout.text = RECT{r.left + Scaled(10, scale), r.top + Scaled(50, scale),
                       r.right - Scaled(10, scale), r.bottom - Scaled(40, scale)};
    return layout;
}

PromptButtonImages PromptImagesForMode(int mode)
{
    if (mode == PROMPT_CONFIRM || mode == PROMPT_CONFIRM_CANCEL)
        return PromptButtonImages{
            {IDB_PROMPT_CONFIRM_NORMAL, IDB_PROMPT_CONFIRM_HOVER, IDB_PROMPT_CONFIRM_PRESSED,
             IDB_PROMPT_CONFIRM_PRESSED},
            {IDB_PROMPT_CANCEL_NORMAL, IDB_PROMPT_CANCEL_HOVER, IDB_PROMPT_CANCEL_PRESSED,
             IDB_PROMPT_CANCEL_PRESSED}};
    return PromptButtonImages{
        {IDB_PROMPT_YES_NORMAL, IDB_PROMPT_YES_HOVER, IDB_PROMPT_YES_PRESSED,
         IDB_PROMPT_YES_PRESSED},
        {IDB_PROMPT_NO_NORMAL, IDB_PROMPT_NO_HOVER, IDB_PROMPT_NO_PRESSED, IDB_PROMPT_NO_PRESSED}};
}

CPromptChildDlg::CPromptChildDlg(CWnd* parent)
    : CSkinContentDlg(IDD_PROMPT_CHILD, IDB_PROMPT_PANEL, parent)
{
    m_bDragsPair = TRUE;
}

void CPromptChildDlg::DoDataExchange()
{
    DDX_Control(IDC_BTN_CLOSE, m_btnClose);
    DDX_Control(IDC_BTN_OK, m_btnOk);
    DDX_Control(IDC_BTN_CANCEL, m_btnCancel);
    DDX_Control(IDC_STATIC_PROMPT_TEXT, m_lblText);
}

void CPromptChildDlg::LayoutControls(BOOL first)
{
    RECT client;
    GetClientRect(&client);
    const PromptLayout layout = LayoutPrompt(client, m_fScale, m_nMode);

    if (first) {
        m_btnClose.m_fScale = m_fScale;
        m_btnClose.SetBackdrop(m_pBackground.get());
        m_btnClose.SetBackdropRect(321, 8, 333, 20);
        m_btnClose.SetStateImages(IDB_PROMPT_CLOSE_NORMAL, IDB_PROMPT_CLOSE_HOVER,
                                  IDB_PROMPT_CLOSE_PRESSED, IDB_PROMPT_CLOSE_PRESSED);
    }
    m_btnClose.MoveWindow(layout.close, TRUE);

    if (first) {
        m_btnOk.SetBackdrop(m_pBackground.get());
        m_btnOk.SetBackdropRect(106, 107, 161, 131);
        m_btnCancel.SetBackdrop(m_pBackground.get());
        m_btnCancel.SetBackdropRect(185, 107, 240, 131);
        const PromptButtonImages images = PromptImagesForMode(m_nMode);
        m_btnOk.SetStateImages(images.ok[0], images.ok[1], images.ok[2], images.ok[3]);
        m_btnCancel.SetStateImages(images.cancel[0], images.cancel[1], images.cancel[2],
                                   images.cancel[3]);
    }
    m_btnOk.MoveWindow(layout.ok, TRUE);
    m_btnCancel.MoveWindow(layout.cancel, TRUE);
    m_btnOk.ShowWindow(SW_SHOW);
    m_btnCancel.ShowWindow(layout.showCancel ? SW_SHOW : SW_HIDE);

    if (first)
        m_lblText.CreateFontFromParent();
    m_lblText.SetWindowText(m_strText.c_str());
    m_lblText.MoveWindow(layout.text, TRUE);
}

void CPromptChildDlg::PaintBackground(HDC hdc)
{
    RECT client;
    GetClientRect(&client);
    PaintImageDirect(hdc, client, m_pBackground.get());
}

BOOL CPromptChildDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return CSkinContentDlg::OnCommand(wParam, lParam);
    HWND prompt = GetParent();
    switch (LOWORD(wParam)) {
    case IDC_BTN_CLOSE:
        ::SendMessageW(prompt, WM_CLOSE, 0, 0);
        return TRUE;
    case IDC_BTN_OK:
        ::SendMessageW(prompt, WM_PROMPT_RESULT, PROMPT_RESULT_OK, 0);
        return TRUE;
    case IDC_BTN_CANCEL:
        ::SendMessageW(prompt, WM_PROMPT_RESULT, PROMPT_RESULT_CANCEL, 0);
        return TRUE;
    default:
        return CSkinContentDlg::OnCommand(wParam, lParam);
    }
}
