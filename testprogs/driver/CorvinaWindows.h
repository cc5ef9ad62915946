// The tool's own windows as a user finds them: its texts and control ids, its prompts, the
// panel, the agreement bubble, the feedback dialog.  Shared by the end-to-end tests and the
// driver's play of the whole repair.
#pragma once

#include "Driver.h"

#include <string>

extern const wchar_t kNotice[];
extern const wchar_t kInitFailed[];
extern const wchar_t kSucceeded[];
extern const wchar_t kFailed[];
extern const wchar_t kNotApplicable[];
extern const wchar_t kProgress[];

const int IDC_BTN_OK = 1006;
const int IDC_BTN_SOLVED = 1002;
const int IDC_BTN_CLOSE = 1004;
const int IDC_RICHEDIT_AGREEMENT = 1008;
const int IDC_BTN_MINIMIZE = 1010;
const int IDC_STATIC_VERSION = 1011;
const int IDC_CHECK_AGREE = 1012;
const int IDC_BTN_REPAIR = 1013;
const int IDC_STATIC_AGREEMENT_LINK = 1014;
const int IDC_STATIC_FEEDBACK_LINK = 1015;
const int IDC_BTN_MORE_TOOLS = 1017;

// Whether the process runs.
bool ProcessRunning(DWORD pid);

// The content window of a visible prompt that shows the text; null when none.
HWND PromptWithText(DWORD pid, const std::wstring& text);
// Waits for that prompt while the process runs; null when it did not come.
HWND WaitPrompt(DWORD pid, const std::wstring& text, DWORD timeoutMs = 60000);
// Clicks its OK button once it is on the screen; whether the prompt went away.
bool ClosePrompt(HWND prompt);

HWND FindPanel(DWORD pid);
// The visible problem-solving feedback dialog's content window; null when none.
HWND FindFeedbackDialog(DWORD pid);
// Clicks the centre of a child once it is on the screen.
void ClickChild(HWND parent, int id);
RECT RectOf(HWND hWnd);
// A child's rectangle relative to the panel's client origin.
RECT ClientRectOf(HWND panel, int id);
inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }

// Hiding a window makes X report its own pointer position, which SendInput does not move: the
// pointer would jump between a press and its release.  This puts X's pointer where the press
// goes first.
void ClickWithPointerAt(int x, int y);
void ClickControl(HWND parent, int id);

// The agreement bubble the panel owns: a layered window whose own content window holds the text.
struct CBubble {
    HWND background = nullptr;
    HWND content = nullptr;
    HWND edit = nullptr;
    HWND bar = nullptr;  // the skinned vertical bar over the text
};
CBubble FindBubble(DWORD pid, HWND panel);
bool IsOpen(const CBubble& b);
bool IsClosed(const CBubble& b);
