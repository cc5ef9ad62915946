// The main panel: every control of the tool, the start-up checks, and the repair.
#pragma once

#include "app/ClickHook.h"
#include "feedback/FeedbackDll.h"
#include "repair/RepairEngine.h"
#include "skin/CheckBoxBtn.h"
#include "skin/DrawTextStatic.h"
#include "skin/ImageButton.h"
#include "skin/PngButton.h"
#include "skin/SkinDialog.h"

#define TIMER_LINK_HOVER 33
#define TIMER_STARTUP_CHECK 38

class CExecutePromptDlg;
class CTooltipDlg;

class CLumbraDlg : public CSkinContentDlg {
public:
    explicit CLumbraDlg(CWnd* parent = nullptr);
    ~CLumbraDlg() override;

    void UpdateRepairButton();

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void LayoutControls(BOOL first) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNcHitTest(POINT screen) override;
    void OnTimer(UINT_PTR id) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnDestroy() override;

private:
    // Ends the process when a check fails, after telling the user.
    void InitPanelServices();
    void RunStartupCheck();
    // A modal confirm prompt with the text, owned by the main window.
    void ShowPrompt(const wchar_t* text);

    void OnAgreeClicked();
    void OnCloseClicked();
    void OnMinimizeClicked();
    void OnRepairClicked();
    void OnMoreToolsClicked();
    LRESULT OnCloseProgress();
    LRESULT OnRepairResult(WPARAM result);
    LRESULT OnGlobalClick();
    void HandleAgreementLinkClick(POINT screen);
    // Hides the agreement window, background and content together, if it exists.
    void HideAgreement();

    static DWORD WINAPI UpdateRepairButtonThread(LPVOID param);

    RECT m_rcClient{};
    CDrawTextStatic m_lblVersion;
    CPngButton m_btnClose;
    CPngButton m_btnMinimize;
    CImageButton m_btnRepair;
    CImageButton m_btnMoreTools;
    CCheckBoxBtn m_chkAgree;
    CDrawTextStatic m_lblAgreement;
    CDrawTextStatic m_lblFeedback;
    CFeedbackDll m_feedback;
    CClickHook m_clickHook;
    CRepairEngine m_repair;
    CExecutePromptDlg* m_pProgressDlg = nullptr;
    CTooltipDlg* m_pAgreementDlg = nullptr;
    // From the press that started a worker until its result has been shown.
    bool m_bRepairRunning = false;
};
