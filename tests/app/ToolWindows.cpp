#include "ToolWindows.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>

const wchar_t kNotice[] =
    L"本工具仅适用于重置后所有按键都无法使用的情况。本工具不能解决个别按键失效的问题。";
const wchar_t kInitFailed[] = L"工具初始化失败";
const wchar_t kSucceeded[] = L"键盘无法使用修复成功。";
const wchar_t kFailed[] = L"键盘无法使用修复失败！";
const wchar_t kNotApplicable[] = L"本工具不适用当前系统！";
const wchar_t kProgress[] = L"正在修复，请稍等";

namespace {

class GdiplusSession {
public:
    GdiplusSession() { Gdiplus::GdiplusStartup(&m_token, &m_input, nullptr); }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
    Gdiplus::GdiplusStartupInput m_input;
};

}  // namespace

void Screenshot(const wchar_t* name)
{
    static GdiplusSession gdiplus;
    ::CreateDirectoryW(BuildPath(L"screenshots").c_str(), nullptr);
    ::Sleep(300);
    SaveScreenPng(BuildPath(std::wstring(L"screenshots\\") + name + L".png"));
}

HWND PromptWithText(DWORD pid, const std::wstring& text)
{
    std::vector<CWindowInfo> found = WindowsWithChildText(pid, text);
    return found.empty() ? nullptr : found.front().hWnd;
}

HWND WaitPrompt(CToolRun& tool, const std::wstring& text, DWORD timeoutMs)
{
    HWND prompt = nullptr;
    WaitUntil([&] { return (prompt = PromptWithText(tool.ProcessId(), text)) != nullptr || !tool.Running(); },
              timeoutMs);
    return prompt;
}

void ClickChild(HWND parent, int id)
{
    POINT centre = CentreOf(RectOf(ChildById(parent, id)));
    ClickAt(centre.x, centre.y);
}

bool ClosePrompt(CToolRun&, HWND prompt)
{
    if (!prompt)
        return false;
    // A prompt that has only just appeared may not have placed its button yet.
    ::Sleep(250);
    ClickChild(prompt, IDC_BTN_OK);
    return WaitUntil([&] { return !::IsWindow(prompt) || !::IsWindowVisible(prompt); }, 5000);
}

HWND PanelAfterNotice(CToolRun& tool)
{
    if (!ClosePrompt(tool, WaitPrompt(tool, kNotice)))
        return nullptr;
    return FindPanel(tool.ProcessId());
}

HWND FindPanel(DWORD pid)
{
    for (const CWindowInfo& top : TopLevelWindows(pid)) {
        if (top.visible && ChildById(top.hWnd, IDC_BTN_REPAIR))
            return top.hWnd;
    }
    return nullptr;
}

RECT RectOf(HWND hWnd)
{
    RECT r{};
    ::GetWindowRect(hWnd, &r);
    return r;
}

RECT ClientRectOf(HWND panel, int id)
{
    RECT r = RectOf(ChildById(panel, id));
    ::MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

size_t CountContaining(const std::vector<std::string>& lines, const std::string& text)
{
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

void SetLogPixels(DWORD dpi)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        ::RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
        ::RegCloseKey(key);
    }
}
