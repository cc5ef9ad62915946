#include "app/RepairSession.h"

#include "repair/RepairMessages.h"

#include <time.h>

#include <cstdio>

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

}  // namespace

CRepairSession::CRepairSession(IRepairWindows& windows, CRepairEngine& engine,
                               CClickHook& clickHook, CFeedbackDll& feedback,
                               const ToolIdentity& tool)
    : m_windows(windows), m_engine(engine), m_clickHook(clickHook), m_feedback(feedback),
      m_tool(tool)
{
}

void CRepairSession::ShowPrompt(const wchar_t* text)
{
    ++m_nPromptsShown;
    m_windows.ShowPrompt(text);
    --m_nPromptsShown;
}

void CRepairSession::End(SessionEnd how)
{
    m_bEnded = true;
    m_windows.EndProcess(how);
}

bool CRepairSession::StartUp(HWND notifyWindow)
{
    const wchar_t* failure = nullptr;
    if (!m_engine.SetNotifyWindow(notifyWindow))
        failure = kInitFailedText;
    else if (!m_engine.IsSupportedWindows())
        failure = kUnsupportedText;
    else if (!m_clickHook.SetTargetWindow(notifyWindow))
        failure = kInitFailedText;
    else if (!m_clickHook.Install())
        failure = kInitFailedText;
    else if (!m_feedback.Load())
        failure = kInitFailedText;
    else if (!m_feedback.InitFreedbackDll())
        failure = kInitFailedText;
    if (!failure)
        return true;
    ShowPrompt(failure);
    End(SessionEnd::WithoutCleanup);
    return false;
}

void CRepairSession::CheckForNewerVersion()
{
    if (m_bVersionChecked || m_bEnded)
        return;
    m_bVersionChecked = true;
    if (m_feedback.GetToolIsNewVersion(m_tool.id, m_tool.version) == FEEDBACK_NEWER_VERSION) {
        // The old version cannot be used once a newer one is published.
        ShowPrompt(kNewVersionText);
        m_feedback.OpenToolDownUrl();
        End(SessionEnd::WithoutCleanup);
        return;
    }
    ShowPrompt(kUsageNoticeText);
}

void CRepairSession::OnRepairPressed()
{
    // One repair at a time: no second worker while one runs or its prompts are up.
    if (m_bRepairRunning || m_bEnded)
        return;
    if (!m_engine.StartRepair()) {
        ShowPrompt(kRepairFailedText);
        return;
    }
    m_bRepairRunning = true;
    m_windows.ShowProgress(kRepairingText);
}

bool CRepairSession::OnWorkerMessage(UINT msg, WPARAM wParam)
{
    if (msg == WM_CLOSE_PROGRESS) {
        m_windows.CloseProgress();
        return true;
    }
    if (msg == WM_REPAIR_RESULT) {
        OnRepairResult(wParam);
        return true;
    }
    return false;
}

void CRepairSession::OnRepairResult(WPARAM result)
{
    switch (result) {
    case REPAIR_SUCCEEDED: {
        ShowPrompt(kRepairSucceededText);
        // The seconds since 1970 as a signed 32-bit number, as the service expects them.
        wchar_t timeText[16];
        swprintf(timeText, 16, L"%d", static_cast<int>(_time64(nullptr)));
        m_feedback.CustomerFeedbackEx(m_tool.id, m_tool.version, FEEDBACK_SOLVED, timeText);
        break;
    }
    case REPAIR_NOT_APPLICABLE:
        ShowPrompt(kNotApplicableText);
        m_windows.RaisePanel();
        End(SessionEnd::WithoutCleanup);
        return;
    default:
        // A code the worker does not send counts as a failure, so the button works again.
        ShowPrompt(kRepairFailedText);
        break;
    }
    m_windows.RaisePanel();
    m_bRepairRunning = false;
}

void CRepairSession::RequestClose()
{
    if (m_bEnded || m_bRepairRunning || m_nPromptsShown > 0)
        return;
    m_bEnded = true;
    m_windows.AskWhetherSolved();
    m_windows.EndProcess(SessionEnd::WithCleanup);
}
