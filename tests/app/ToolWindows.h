// Finding and working the running tool's windows from the test process.
#pragma once

#include "Driver.h"
#include "ToolRun.h"

#include <string>
#include <vector>

extern const wchar_t kNotice[];
extern const wchar_t kInitFailed[];
extern const wchar_t kSucceeded[];
extern const wchar_t kFailed[];
extern const wchar_t kNotApplicable[];
extern const wchar_t kProgress[];

const int IDC_BTN_OK = 1006;
const int IDC_BTN_SOLVED = 1002;
const int IDC_BTN_CLOSE = 1004;
const int IDC_BTN_MINIMIZE = 1010;
const int IDC_STATIC_VERSION = 1011;
const int IDC_CHECK_AGREE = 1012;
const int IDC_BTN_REPAIR = 1013;
const int IDC_STATIC_AGREEMENT_LINK = 1014;
const int IDC_STATIC_FEEDBACK_LINK = 1015;
const int IDC_BTN_MORE_TOOLS = 1017;

// The whole screen into <build>/screenshots/<name>.png, after a moment for painting.
void Screenshot(const wchar_t* name);

// The content window of a visible prompt that shows the text; null when none.
HWND PromptWithText(DWORD pid, const std::wstring& text);
HWND WaitPrompt(CToolRun& tool, const std::wstring& text, DWORD timeoutMs = 10000);
// Clicks its OK button; whether it went away.
bool ClosePrompt(CToolRun& tool, HWND prompt);
// Closes the usage notice that follows every normal start; the panel, or null.
HWND PanelAfterNotice(CToolRun& tool);

void ClickChild(HWND parent, int id);
HWND FindPanel(DWORD pid);
RECT RectOf(HWND hWnd);
// A child's rectangle relative to the panel's client origin.
RECT ClientRectOf(HWND panel, int id);
inline int Width(const RECT& r) { return r.right - r.left; }
inline int Height(const RECT& r) { return r.bottom - r.top; }

// The resolution the next program started reports (HKCU LogPixels).
void SetLogPixels(DWORD dpi);

size_t CountContaining(const std::vector<std::string>& lines, const std::string& text);
