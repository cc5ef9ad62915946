// The main panel: every control of the tool.  It places them, shows what the repair session
// asks for and forwards the presses to it; the workflow itself is the session's.
#pragma once

#include "app/AgreementBubble.h"
#include "app/ClickHook.h"
#include "app/RepairSession.h"
#include "app/SessionPrompts.h"
#include "feedback/FeedbackDll.h"
#include "repair/RepairEngine.h"
#include "skin/CheckBoxBtn.h"
#include "skin/DrawTextStatic.h"
#include "skin/ImageButton.h"
#include "skin/PngButton.h"
#include "skin/SkinDialog.h"

class CLumbraDlg : public CSkinContentDlg, private IRepairWindows {
public:
    explicit CLumbraDlg(CWnd* parent = nullptr);

    // Every close of the tool comes here: the close button, the frame's close and Alt+F4.
    void RequestClose() { m_session.RequestClose(); }

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void LayoutControls(BOOL first) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNcHitTest(POINT screen) override;
    void OnTimer(UINT_PTR id) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    // The second press of a quick pair on a link is one more press, not a double click.
    void OnLButtonDblClk(UINT flags, POINT point) override { OnLButtonDown(flags, point); }
    void OnCancel() override { RequestClose(); }
    void OnDestroy() override;

private:
    void ShowPrompt(const wchar_t* text) override;
    void AskWhetherSolved() override;
    void ShowProgress(const wchar_t* text) override;
    void CloseProgress() override;
    void RaisePanel() override;
    void EndProcess(SessionEnd how) override;

    void OnAgreeClicked();

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
    CRepairSession m_session;
    CAgreementBubble m_agreement;
    CProgressPrompt m_progress;
};
