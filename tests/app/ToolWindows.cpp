#include "ToolWindows.h"

#include <algorithm>

void Screenshot(const wchar_t* name)
{
    static guitest::GdiplusSession gdiplus;
    ::CreateDirectoryW(BuildPath(L"screenshots").c_str(), nullptr);
    ::Sleep(300);
    SaveScreenPng(BuildPath(std::wstring(L"screenshots\\") + name + L".png"));
}

HWND PanelAfterNotice(CToolRun& tool)
{
    if (!ClosePrompt(tool, WaitPrompt(tool, kNotice)))
        return nullptr;
    return FindPanel(tool.ProcessId());
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
