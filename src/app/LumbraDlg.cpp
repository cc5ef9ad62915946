#include "app/LumbraDlg.h"

#include "app/LumbraLayout.h"
#include "app/ProcessEnd.h"
#include "app/ToolIdentity.h"
#include "feedback/KnowledgeBase.h"
#include "res/MessageIds.h"
#include "res/resource.h"

#include <utility>

namespace {

const COLORREF kWhite = 0xFFFFFF;
const COLORREF kLinkNormal = 0xFF5C5C;
const COLORREF kLinkHover = 0xFF0000;

// What the thread that updates the repair button works on: two window handles, owned by the
// thread. It touches no object of the panel, which may be gone before the thread runs; a
// handle whose window is gone only makes the calls fail.
struct AgreeButtons {
    HWND agreeBox;
    HWND repairButton;
};

// Runs on a thread of its own: enables the repair button when the agree box is ticked.
DWORD WINAPI UpdateRepairButton(LPVOID param)
{
    const AgreeButtons buttons = *static_cast<AgreeButtons*>(param);
    delete static_cast<AgreeButtons*>(param);
    LRESULT state = ::SendMessageW(buttons.agreeBox, BM_GETCHECK, 0, 0);
    ::EnableWindow(buttons.repairButton, state == BST_CHECKED);
    ::InvalidateRect(buttons.repairButton, nullptr, TRUE);
    return 1;
}

void ConfigureLabel(CDrawTextStatic& label, COLORREF normal, COLORREF hover)
{
    label.CreateFontFromParent();
    label.SetAlignment(TextAlignment::SingleLineLeft);
    label.SetBackColor(kWhite);
    label.SetTextColors(normal, hover);
}

}  // namespace

CLumbraDlg::CLumbraDlg(CWnd* parent)
    : CSkinContentDlg(IDD_LUMBRA_DIALOG, IDB_MAIN_PANEL, parent),
      m_session(*this, m_repair, m_clickHook, m_feedback, CORVINA_TOOL),
      m_agreement(*this, m_lblAgreement)
{
    m_bDragsPair = TRUE;
    // Unlike other content windows: the moves made while the frame places the panel at
    // start-up already pull the frame around it.
    m_bDragging = TRUE;
    // The band stops short of the minimise and close buttons.
    m_nDragBandRightExclusion = 86;
}

void CLumbraDlg::DoDataExchange()
{
    DDX_Control(IDC_BTN_CLOSE, m_btnClose);
    DDX_Control(IDC_BTN_MINIMIZE, m_btnMinimize);
    DDX_Control(IDC_CHECK_AGREE, m_chkAgree);
    DDX_Control(IDC_STATIC_AGREEMENT_LINK, m_lblAgreement);
    DDX_Control(IDC_BTN_REPAIR, m_btnRepair);
    DDX_Control(IDC_BTN_MORE_TOOLS, m_btnMoreTools);
    DDX_Control(IDC_STATIC_VERSION, m_lblVersion);
    DDX_Control(IDC_STATIC_FEEDBACK_LINK, m_lblFeedback);
}

BOOL CLumbraDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Without its image the panel keeps the template layout and starts nothing.
    if (!EnsureBackground() || !m_session.StartUp(m_hWnd))
        return TRUE;
    LayoutControls(TRUE);
    SetTimer(TIMER_LINK_HOVER, 100);
    SetTimer(TIMER_STARTUP_CHECK, 100);
    m_bLayoutDone = TRUE;
    // No focus yet: given while the panel is hidden it would activate it before its time; the
    // frame gives it once the panel shows.
    return FALSE;
}

void CLumbraDlg::LayoutControls(BOOL first)
{
    const LumbraLayout layout = LayoutForPanel(m_hWnd, m_fScale);
    const std::pair<CWnd*, RECT> places[] = {
        {&m_btnClose, layout.close},         {&m_btnMinimize, layout.minimize},
        {&m_lblVersion, layout.version},     {&m_btnRepair, layout.repair},
        {&m_btnMoreTools, layout.moreTools}, {&m_chkAgree, layout.agree},
        {&m_lblAgreement, layout.agreementLink}, {&m_lblFeedback, layout.feedbackLink},
    };
    for (const auto& [control, rect] : places)
        control->MoveWindow(rect, TRUE);
    if (!first)
        return;

    m_btnClose.SetStateImages(IDB_MAIN_CLOSE_NORMAL, IDB_MAIN_CLOSE_HOVER, IDB_MAIN_CLOSE_PRESSED,
                              IDB_MAIN_CLOSE_DISABLED);
    m_btnMinimize.SetStateImages(IDB_MAIN_MIN_NORMAL, IDB_MAIN_MIN_HOVER, IDB_MAIN_MIN_PRESSED,
                                 IDB_MAIN_MIN_DISABLED);
    m_btnRepair.SetStateImages(IDB_REPAIR_NORMAL, IDB_REPAIR_HOVER, IDB_REPAIR_PRESSED,
                               IDB_REPAIR_DISABLED);
    m_btnMoreTools.SetStateImages(IDB_MORE_TOOLS_NORMAL, IDB_MORE_TOOLS_HOVER,
                                  IDB_MORE_TOOLS_PRESSED, IDB_MORE_TOOLS_DISABLED);
    m_btnClose.m_fScale = m_fScale;
    m_btnMinimize.m_fScale = m_fScale;

    m_lblVersion.SetWindowText(TOOL_VERSION);
    m_lblVersion.SetBackdrop(m_pBackground.get());
    m_lblVersion.SetBackdropRect(188, 16, 228, 31);
    ConfigureLabel(m_lblVersion, kWhite, kWhite);

    const int margin = layout.repairHotMargin;
    m_btnRepair.SetBackdrop(m_pBackground.get());
    m_btnRepair.SetBackdropRect(58, 240, 342, 325);
    m_btnRepair.SetHotMargins(margin, margin, margin, margin);

    const RECT& backdrop = layout.moreToolsBackdrop;
    m_btnMoreTools.SetBackdrop(m_pBackground.get());
    m_btnMoreTools.SetBackdropRect(backdrop.left, backdrop.top, backdrop.right, backdrop.bottom);
    m_btnMoreTools.SetHotMargins(0, 0, 0, 0);

    m_chkAgree.CreateFontFromParent();
    m_chkAgree.m_fScale = m_fScale;
    m_chkAgree.SetCheck(BST_CHECKED);
    ConfigureLabel(m_lblAgreement, kLinkNormal, kLinkHover);
    ConfigureLabel(m_lblFeedback, kLinkNormal, kLinkHover);
}

LRESULT CLumbraDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_session.OnWorkerMessage(msg, wParam))
        return 1;
    if (msg == WM_GLOBAL_CLICK) {
        // Judged where the press happened: the pointer may have moved on since.
        m_agreement.OnScreenPress(GlobalClickPoint(lParam));
        return 1;
    }
    return CSkinContentDlg::WindowProc(msg, wParam, lParam);
}

BOOL CLumbraDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return CSkinContentDlg::OnCommand(wParam, lParam);
    switch (LOWORD(wParam)) {
    case IDC_CHECK_AGREE:
        OnAgreeClicked();
        return TRUE;
    case IDC_BTN_CLOSE:
        RequestClose();
        return TRUE;
    case IDC_BTN_MINIMIZE:
        ::PostMessageW(GetParent(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return TRUE;
    case IDC_BTN_REPAIR:
        if (m_btnRepair.IsCursorInHotArea())
            m_session.OnRepairPressed();
        return TRUE;
    case IDC_BTN_MORE_TOOLS:
        m_feedback.OpenUrl(KB_ARTICLE_URL);
        return TRUE;
    default:
        return CSkinContentDlg::OnCommand(wParam, lParam);
    }
}

LRESULT CLumbraDlg::OnNcHitTest(POINT screen)
{
    if (m_lblFeedback.m_hWnd)
        m_lblFeedback.UpdateHover(screen);
    if (m_lblAgreement.m_hWnd)
        m_lblAgreement.UpdateHover(screen);
    return CSkinContentDlg::OnNcHitTest(screen);
}

void CLumbraDlg::OnTimer(UINT_PTR id)
{
    if (id == TIMER_STARTUP_CHECK) {
        KillTimer(TIMER_STARTUP_CHECK);
        m_session.CheckForNewerVersion();
        return;
    }
    if (id == TIMER_LINK_HOVER) {
        // Hit tests stop when the cursor leaves the panel; this puts the link's colour back.
        POINT cursor;
        if (::GetCursorPos(&cursor))
            m_lblAgreement.UpdateHover(cursor);
    }
    Default();
}

void CLumbraDlg::OnLButtonDown(UINT, POINT point)
{
    POINT screen = point;
    ClientToScreen(&screen);
    if (m_lblFeedback.HitTest(screen))
        m_feedback.FeedbackQuestion(TOOL_ID, TOOL_VERSION);
    m_agreement.OnPanelPress(screen);
    Default();
}

void CLumbraDlg::OnAgreeClicked()
{
    // The box's new state is read on another thread: the button follows a moment later.
    auto* buttons = new AgreeButtons{m_chkAgree.m_hWnd, m_btnRepair.m_hWnd};
    HANDLE thread = ::CreateThread(nullptr, 0, UpdateRepairButton, buttons, 0, nullptr);
    if (thread)
        ::CloseHandle(thread);
    else
        delete buttons;
}

void CLumbraDlg::ShowPrompt(const wchar_t* text)
{
    RunConfirmPrompt(text, m_fScale);
}

void CLumbraDlg::AskWhetherSolved()
{
    RunSolvedQuestion(m_feedback, CORVINA_TOOL);
}

void CLumbraDlg::ShowProgress(const wchar_t* text)
{
    m_progress.Run(text, m_fScale);
}

void CLumbraDlg::CloseProgress()
{
    m_progress.Close();
}

void CLumbraDlg::RaisePanel()
{
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

void CLumbraDlg::EndProcess(SessionEnd how)
{
    if (how == SessionEnd::WithoutCleanup)
        EndProcessWithoutCleanup();
    // The frame's own end: its modal loop returns and the windows are destroyed.
    if (auto* frame = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(GetParent())))
        frame->EndDialog(IDCANCEL);
}

void CLumbraDlg::OnDestroy()
{
    CSkinContentDlg::OnDestroy();
    KillTimer(TIMER_LINK_HOVER);
    m_agreement.Destroy();
    m_clickHook.Uninstall();
}
