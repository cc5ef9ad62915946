// The tool's workflow, without its windows: the start-up checks, the new-version question and
// the usage notice; a repair from the press to the success report; and the two ways it ends.
// The panel shows what the session asks for and forwards the presses and the worker's messages.
#pragma once

#include "app/ClickHook.h"
#include "feedback/FeedbackDll.h"
#include "repair/RepairEngine.h"

#include <windows.h>

enum class SessionEnd {
    WithCleanup,     // the windows close normally; the tool's files are removed afterwards
    WithoutCleanup,  // at once, exit code 0: no window destroyed, nothing removed
};

// What the session needs of the windows.  Every prompt is modal: the call returns when the
// user has closed it.
class IRepairWindows {
public:
    virtual void ShowPrompt(const wchar_t* text) = 0;
    // The question whether the problem was solved, answered to the feedback service.
    virtual void AskWhetherSolved() = 0;
    // Returns once CloseProgress has ended it.
    virtual void ShowProgress(const wchar_t* text) = 0;
    virtual void CloseProgress() = 0;
    virtual void RaisePanel() = 0;
    // Without cleanup it does not return in the tool.
    virtual void EndProcess(SessionEnd how) = 0;

protected:
    ~IRepairWindows() = default;
};

class CRepairSession {
public:
    CRepairSession(IRepairWindows& windows, CRepairEngine& engine, CClickHook& clickHook,
                   CFeedbackDll& feedback, const ToolIdentity& tool);

    // The six checks, in order, with the window the worker and the click hook report to.  On
    // the first failure its message is shown and the process ends; then false.
    bool StartUp(HWND notifyWindow);
    // Once, shortly after the panel shows: a newer version ends the tool, else the notice.
    void CheckForNewerVersion();
    void OnRepairPressed();
    // The worker's WM_CLOSE_PROGRESS and WM_REPAIR_RESULT; false for any other message.
    bool OnWorkerMessage(UINT msg, WPARAM wParam);
    // Every close of the tool: the feedback question, then the normal end.  Ignored while a
    // prompt or a repair is running, or once the session has ended.
    void RequestClose();

    bool IsRepairRunning() const { return m_bRepairRunning; }

private:
    void OnRepairResult(WPARAM result);
    void ShowPrompt(const wchar_t* text);
    void End(SessionEnd how);

    IRepairWindows& m_windows;
    CRepairEngine& m_engine;
    CClickHook& m_clickHook;
    CFeedbackDll& m_feedback;
    ToolIdentity m_tool;
    bool m_bVersionChecked = false;
    // From the press that started a worker until its result has been shown.
    bool m_bRepairRunning = false;
    int m_nPromptsShown = 0;  // prompts up now, nested ones included
    bool m_bEnded = false;
};
