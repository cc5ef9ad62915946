// Finding and working the running tool's windows from the test process: the driver's helpers,
// with the tool given as the run that started it.
#pragma once

#include "CorvinaWindows.h"
#include "ToolRun.h"

#include <string>
#include <vector>

// The whole screen into <build>/screenshots/<name>.png, after a moment for painting.
void Screenshot(const wchar_t* name);

inline HWND WaitPrompt(CToolRun& tool, const std::wstring& text, DWORD timeoutMs = 60000)
{
    return WaitPrompt(tool.ProcessId(), text, timeoutMs);
}
inline bool ClosePrompt(CToolRun&, HWND prompt)
{
    return ClosePrompt(prompt);
}
// Closes the usage notice that follows every normal start; the panel, or null.
HWND PanelAfterNotice(CToolRun& tool);

// The resolution the next program started reports (HKCU LogPixels).
void SetLogPixels(DWORD dpi);

size_t CountContaining(const std::vector<std::string>& lines, const std::string& text);
