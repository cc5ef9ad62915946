#include "app/LumbraDlg.h"

#include "app/LumbraLayout.h"
#include "app/ToolIdentity.h"
#include "dialogs/ExecutePromptDlg.h"
#include "dialogs/PromptDlg.h"
#include "feedback/KnowledgeBase.h"
#include "feedback/ProblemSolvingFeedbackDlg.h"
#include "repair/RepairMessages.h"
#include "res/resource.h"
#include "dialogs/TooltipDlg.h"
#include "skin/SkinScale.h"
#include "skin/TextMeasure.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>

namespace {

const wchar_t kInitFailedText[] = L"工具初始化失败";
const wchar_t kUnsupportedText[] = L"此工具不支持当前系统";
const wchar_t kNewVersionText[] = L"检测到当前工具有新的版本更新，请下载最新版本使用。";
const wchar_t kUsageNoticeText[] =
    L"本工具仅适用于重置后所有按键都无法使用的情况。本工具不能解决个别按键失效的问题。";
const wchar_t kRepairingText[] = L"正在修复，请稍等";
const wchar_t kRepairSucceededText[] = L"键盘无法使用修复成功。";
const wchar_t kRepairFailedText[] = L"键盘无法使用修复失败！";
const wchar_t kNotApplicableText[] = L"本工具不适用当前系统！";
const wchar_t kAgreeMeasureText[] = L"同意《Halvex服务工具使用许可协议》";
const wchar_t kFeedbackMeasureText[] = L"反馈问题";

const COLORREF kWhite = 0xFFFFFF;
const COLORREF kLinkNormal = 0xFF5C5C;
const COLORREF kLinkHover = 0xFF0000;

void ConfigureLink(CDrawTextStatic& link)
{
    link.CreateFontFromParent();
    link.SetAlignment(1);
    link.SetBackColor(kWhite);
    link.SetTextColors(kLinkNormal, kLinkHover);
}

}  // namespace

CLumbraDlg::CLumbraDlg(CWnd* parent) : CSkinContentDlg(IDD_LUMBRA_DIALOG, IDB_MAIN_PANEL, parent)
{
    m_bDragsPair = TRUE;
    // Unlike other content windows: the moves made while the frame places the panel at
    // start-up already pull the frame around it.
    m_bDragging = TRUE;
    // The band stops short of the minimise and close buttons.
    m_nDragBandRightExclusion = 86;
}

CLumbraDlg::~CLumbraDlg()
{
    delete m_pProgressDlg;
    delete m_pAgreementDlg;
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
    if (!EnsureBackground())
        return TRUE;
    InitPanelServices();
    LayoutControls(TRUE);
    SetTimer(TIMER_LINK_HOVER, 100);
    SetTimer(TIMER_STARTUP_CHECK, 100);
    m_bLayoutDone = TRUE;
    return TRUE;
}

void CLumbraDlg::ShowPrompt(const wchar_t* text)
{
    CPromptDlg prompt;
    prompt.m_fScale = m_fScale;
    prompt.SetText(text);
    prompt.SetMode(PROMPT_CONFIRM);
    prompt.DoModal();
}

void CLumbraDlg::InitPanelServices()
{
    const wchar_t* failure = nullptr;
    if (!m_repair.SetNotifyWindow(m_hWnd))
        failure = kInitFailedText;
    else if (!m_repair.IsSupportedWindows())
        failure = kUnsupportedText;
    else if (!m_clickHook.SetTargetWindow(m_hWnd))
        failure = kInitFailedText;
    else if (!m_clickHook.Install())
        failure = kInitFailedText;
    else if (!m_feedback.Load())
        failure = kInitFailedText;
    else if (!m_feedback.InitFreedbackDll())
        failure = kInitFailedText;
    if (!failure)
        return;
    ShowPrompt(failure);
    exit(0);
}

void CLumbraDlg::LayoutControls(BOOL first)
{
    GetClientRect(&m_rcClient);

    int agreeUnit = 0;
    int feedbackWidth = 0;
    if (HDC dc = ::GetDC(m_hWnd)) {
        // The frame has the same dialog font as the panel.
        HWND frame = GetParent();
        agreeUnit = MeasureTextWidth(frame, dc, kAgreeMeasureText) / 14;
        feedbackWidth = MeasureTextWidth(frame, dc, kFeedbackMeasureText);
        ::ReleaseDC(m_hWnd, dc);
    }
    LumbraLayout layout = ComputeLumbraLayout(m_rcClient, m_fScale, agreeUnit, feedbackWidth);

    m_btnClose.MoveWindow(layout.close, TRUE);
    if (first) {
        m_btnClose.m_fScale = m_fScale;
        m_btnClose.SetStateImages(IDB_MAIN_CLOSE_NORMAL, IDB_MAIN_CLOSE_HOVER,
                                  IDB_MAIN_CLOSE_PRESSED, IDB_MAIN_CLOSE_DISABLED);
    }

    m_btnMinimize.MoveWindow(layout.minimize, TRUE);
    if (first) {
        m_btnMinimize.m_fScale = m_fScale;
        m_btnMinimize.SetStateImages(IDB_MAIN_MIN_NORMAL, IDB_MAIN_MIN_HOVER, IDB_MAIN_MIN_PRESSED,
                                     IDB_MAIN_MIN_DISABLED);
    }

    m_lblVersion.MoveWindow(layout.version, TRUE);
    if (first) {
        m_lblVersion.SetWindowText(TOOL_VERSION);
        m_lblVersion.SetBackdrop(m_pBackground);
        m_lblVersion.SetBackdropRect(188, 16, 228, 31);
        m_lblVersion.CreateFontFromParent();
        m_lblVersion.SetAlignment(1);
        m_lblVersion.SetBackColor(kWhite);
        m_lblVersion.SetTextColors(kWhite, kWhite);
    }

    m_btnRepair.MoveWindow(layout.repair, TRUE);
    if (first) {
        m_btnRepair.SetBackdrop(m_pBackground);
        m_btnRepair.SetBackdropRect(58, 240, 342, 325);
        int margin = layout.repairHotMargin;
        m_btnRepair.SetHotMargins(margin, margin, margin, margin);
        m_btnRepair.SetStateImages(IDB_REPAIR_NORMAL, IDB_REPAIR_HOVER, IDB_REPAIR_PRESSED,
                                   IDB_REPAIR_DISABLED);
    }

    m_btnMoreTools.MoveWindow(layout.moreTools, TRUE);
    if (first) {
        const RECT& backdrop = layout.moreToolsBackdrop;
        m_btnMoreTools.SetBackdrop(m_pBackground);
        m_btnMoreTools.SetBackdropRect(backdrop.left, backdrop.top, backdrop.right, backdrop.bottom);
        m_btnMoreTools.SetHotMargins(0, 0, 0, 0);
        m_btnMoreTools.SetStateImages(IDB_MORE_TOOLS_NORMAL, IDB_MORE_TOOLS_HOVER,
                                      IDB_MORE_TOOLS_PRESSED, IDB_MORE_TOOLS_DISABLED);
    }

    m_chkAgree.MoveWindow(layout.agree, TRUE);
    if (first) {
        m_chkAgree.CreateFontFromParent();
        m_chkAgree.m_fScale = m_fScale;
        m_chkAgree.SetCheck(BST_CHECKED);
    }

    m_lblAgreement.MoveWindow(layout.agreementLink, TRUE);
    if (first)
        ConfigureLink(m_lblAgreement);

    m_lblFeedback.MoveWindow(layout.feedbackLink, TRUE);
    if (first)
        ConfigureLink(m_lblFeedback);
}

LRESULT CLumbraDlg::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CLOSE_PROGRESS:
        return OnCloseProgress();
    case WM_REPAIR_RESULT:
        return OnRepairResult(wParam);
    case WM_GLOBAL_CLICK:
        return OnGlobalClick();
    default:
        return CSkinContentDlg::WindowProc(msg, wParam, lParam);
    }
}

BOOL CLumbraDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_CHECK_AGREE:
            OnAgreeClicked();
            return TRUE;
        case IDC_BTN_CLOSE:
            OnCloseClicked();
            return TRUE;
        case IDC_BTN_MINIMIZE:
            OnMinimizeClicked();
            return TRUE;
        case IDC_BTN_REPAIR:
            OnRepairClicked();
            return TRUE;
        case IDC_BTN_MORE_TOOLS:
            OnMoreToolsClicked();
            return TRUE;
        default:
            break;
        }
    }
    return CSkinContentDlg::OnCommand(wParam, lParam);
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
        RunStartupCheck();
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

void CLumbraDlg::RunStartupCheck()
{
    KillTimer(TIMER_STARTUP_CHECK);
    if (m_feedback.GetToolIsNewVersion(TOOL_ID, TOOL_VERSION) == FEEDBACK_NEWER_VERSION) {
        // The old version cannot be used once a newer one is published.
        auto* prompt = new CPromptDlg(this);
        prompt->m_fScale = m_fScale;
        prompt->SetText(kNewVersionText);
        prompt->SetMode(PROMPT_CONFIRM);
        prompt->DoModal();
        delete prompt;
        m_feedback.OpenToolDownUrl();
        exit(0);
    }
    ShowPrompt(kUsageNoticeText);
}

void CLumbraDlg::OnLButtonDown(UINT, POINT point)
{
    POINT screen = point;
    ClientToScreen(&screen);
    if (m_lblFeedback.HitTest(screen))
        m_feedback.FeedbackQuestion(TOOL_ID, TOOL_VERSION);
    HandleAgreementLinkClick(screen);
    Default();
}

void CLumbraDlg::HandleAgreementLinkClick(POINT screen)
{
    if (!m_lblAgreement.HitTest(screen)) {
        HideAgreement();
        return;
    }
    if (!m_pAgreementDlg) {
        auto* agreement = new CTooltipDlg();
        agreement->m_fScale = m_fScale;
        if (!agreement->Create(IDD_TOOLTIP, this)) {
            delete agreement;
            return;
        }
        m_pAgreementDlg = agreement;
    }
    // Placed on every click: the panel may have been dragged since the last one.
    RECT p;
    GetWindowRect(&p);
    const double s = m_fScale;
    m_pAgreementDlg->MoveWindow(Truncated(p.left + 2 * s), Truncated(p.top + 108 * s),
                                Truncated((p.right - p.left) - 2 * s),
                                Truncated((p.bottom - p.top) - 128 * s), TRUE);
    if (m_pAgreementDlg->IsWindowVisible()) {
        m_pAgreementDlg->ShowWindow(SW_HIDE);
        m_pAgreementDlg->ShowContent(false);
    } else {
        m_pAgreementDlg->ShowWindow(SW_SHOW);
        m_pAgreementDlg->ShowContent(true);
    }
}

void CLumbraDlg::HideAgreement()
{
    if (!m_pAgreementDlg)
        return;
    m_pAgreementDlg->ShowWindow(SW_HIDE);
    m_pAgreementDlg->ShowContent(false);
}

LRESULT CLumbraDlg::OnGlobalClick()
{
    // The hook's record behind the parameters is gone by now; the cursor tells where it was.
    POINT cursor;
    if (!m_pAgreementDlg || !::GetCursorPos(&cursor))
        return 1;
    RECT panel;
    GetWindowRect(&panel);
    if (::PtInRect(&panel, cursor)) {
        // A press on the link is the panel's own to toggle.
        if (m_lblAgreement.HitTest(cursor))
            return 1;
        RECT bubble;
        m_pAgreementDlg->GetWindowRect(&bubble);
        if (!::PtInRect(&bubble, cursor) && m_pAgreementDlg->IsWindowVisible())
            HideAgreement();
    } else {
        HideAgreement();
    }
    return 1;
}

void CLumbraDlg::OnAgreeClicked()
{
    // The box's new state is read on another thread: the button follows a moment later.
    HANDLE thread = ::CreateThread(nullptr, 0, UpdateRepairButtonThread, this, 0, nullptr);
    if (thread)
        ::CloseHandle(thread);
}

DWORD WINAPI CLumbraDlg::UpdateRepairButtonThread(LPVOID param)
{
    static_cast<CLumbraDlg*>(param)->UpdateRepairButton();
    return 1;
}

void CLumbraDlg::UpdateRepairButton()
{
    HWND agree = m_chkAgree.m_hWnd;
    HWND repair = m_btnRepair.m_hWnd;
    LRESULT state = ::SendMessageW(agree, BM_GETCHECK, 0, 0);
    ::EnableWindow(repair, state == BST_CHECKED);
    ::InvalidateRect(repair, nullptr, TRUE);
}

void CLumbraDlg::OnCloseClicked()
{
    CProblemSolvingFeedbackDlg feedback;
    feedback.SetFeedback(&m_feedback);
    feedback.DoModal();
    ::SendMessageW(GetParent(), WM_CLOSE, 0, 0);
}

void CLumbraDlg::OnMinimizeClicked()
{
    ::PostMessageW(GetParent(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CLumbraDlg::OnMoreToolsClicked()
{
    m_feedback.OpenUrl(KB_ARTICLE_URL);
}

void CLumbraDlg::OnRepairClicked()
{
    if (!m_btnRepair.IsCursorInHotArea())
        return;
    // One repair at a time: a press while a worker runs or its prompts are up does nothing,
    // so no second worker starts and the shown progress prompt is never deleted.
    if (m_bRepairRunning || (m_pProgressDlg && m_pProgressDlg->IsWindow()))
        return;
    if (!m_repair.StartRepair()) {
        ShowPrompt(kRepairFailedText);
        return;
    }
    m_bRepairRunning = true;
    delete m_pProgressDlg;
    m_pProgressDlg = new CExecutePromptDlg(nullptr);
    m_pProgressDlg->SetText(kRepairingText);
    m_pProgressDlg->m_fScale = m_fScale;
    m_pProgressDlg->DoModal();
}

LRESULT CLumbraDlg::OnCloseProgress()
{
    if (m_pProgressDlg && m_pProgressDlg->IsWindow())
        ::SendMessageW(m_pProgressDlg->m_hWnd, WM_CLOSE_PROGRESS, 0, 0);
    return 1;
}

LRESULT CLumbraDlg::OnRepairResult(WPARAM result)
{
    const UINT toTop = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
    switch (result) {
    case REPAIR_SUCCEEDED: {
        ShowPrompt(kRepairSucceededText);
        // The seconds since 1970 as a signed 32-bit number, as the service expects them.
        wchar_t timeText[16];
        swprintf(timeText, 16, L"%d", static_cast<int>(_time64(nullptr)));
        m_feedback.CustomerFeedbackEx(TOOL_ID, TOOL_VERSION, FEEDBACK_SOLVED, timeText);
        SetWindowPos(HWND_TOP, 0, 0, 0, 0, toTop);
        break;
    }
    case REPAIR_FAILED:
        ShowPrompt(kRepairFailedText);
        SetWindowPos(HWND_TOP, 0, 0, 0, 0, toTop);
        break;
    case REPAIR_NOT_APPLICABLE:
        ShowPrompt(kNotApplicableText);
        SetWindowPos(HWND_TOP, 0, 0, 0, 0, toTop);
        exit(0);
    default:
        return 1;
    }
    m_bRepairRunning = false;
    return 1;
}

void CLumbraDlg::OnDestroy()
{
    CSkinContentDlg::OnDestroy();
    m_btnClose.ReleaseStateImages();
    m_btnMinimize.ReleaseStateImages();
    m_btnRepair.ReleaseStateImages();
    m_btnMoreTools.ReleaseStateImages();
    KillTimer(TIMER_LINK_HOVER);
    delete m_pProgressDlg;
    m_pProgressDlg = nullptr;
    delete m_pAgreementDlg;
    m_pAgreementDlg = nullptr;
    m_clickHook.Uninstall();
}
