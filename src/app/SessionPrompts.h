// The modal prompts the panel shows for the repair session, each run until it is closed.
#pragma once

#include "feedback/FeedbackDll.h"

class CExecutePromptDlg;

// A confirm prompt with the text, owned by the main window.
void RunConfirmPrompt(const wchar_t* text, float scale);
// The question whether the problem was solved; the answer goes to the feedback binding.
void RunSolvedQuestion(CFeedbackDll& feedback, const ToolIdentity& tool);

// The progress prompt: Run returns once Close, called meanwhile, has ended it.
class CProgressPrompt {
public:
    void Run(const wchar_t* text, float scale);
    void Close();

private:
    CExecutePromptDlg* m_pShown = nullptr;
};
