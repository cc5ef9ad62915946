// Seeing and working the tool's windows from another process, as a user would.
#pragma once

#include "support/GuiInput.h"
#include "support/ScreenCapture.h"

#include <windows.h>

#include <string>
#include <vector>

struct CWindowInfo {
    HWND hWnd = nullptr;
    HWND owner = nullptr;
    int id = 0;  // control id of a child window
    std::wstring className;
    std::wstring text;
    RECT rect{};  // screen coordinates
    bool visible = false;
    bool enabled = false;
    bool iconic = false;
    bool layered = false;
    int checked = -1;  // BM_GETCHECK of a check box, else -1
};

// The id of a running process with that executable name ("Corvina.exe"); 0 when none.
DWORD FindProcessByName(const std::wstring& exeName);

// The process's top-level windows, in z-order (topmost first).
std::vector<CWindowInfo> TopLevelWindows(DWORD processId);
// The child windows of a window, in z-order.
std::vector<CWindowInfo> ChildWindows(HWND parent);
CWindowInfo DescribeWindow(HWND hWnd);

// The visible top-level windows of the process that hold a child with this text.
std::vector<CWindowInfo> WindowsWithChildText(DWORD processId, const std::wstring& text);
// A visible top-level window of the process with this title; null when none.
HWND FindVisibleWindow(DWORD processId, const std::wstring& title);
// The child of parent with that control id; null when none.
HWND ChildById(HWND parent, int id);

// Real input: the pointer moves there in a few steps, then the left button goes down and up.
void MoveMouse(int x, int y);
void ClickAt(int x, int y);
using guitest::LeftDown;
using guitest::LeftUp;
using guitest::PressKey;
using guitest::WaitUntil;
// A press at from, moves to to, a release there.
inline void DragFromTo(POINT from, POINT to)
{
    guitest::Drag(from, to);
}
inline POINT CentreOf(const RECT& r)
{
    return guitest::CenterOf(r);
}

// The full path of the module of that name loaded in the process; empty when none.
std::wstring LoadedModulePath(DWORD processId, const std::wstring& moduleName);

// A window's description as one JSON object; a list of them as a JSON array.
std::string ToJson(const CWindowInfo& info);
std::string ToJson(const std::vector<CWindowInfo>& infos);
std::string Utf8(const std::wstring& text);

// The whole screen as a PNG file (SaveScreenPng(path)); false when it could not be written.
// GDI+ must be started.
using guitest::SaveScreenPng;
using guitest::ScreenRect;
using guitest::WaitOnScreen;
using guitest::WaitScreenSettled;
// The colour of a screen pixel (0x00BBGGRR), once drawing has settled.
inline COLORREF ScreenPixel(int x, int y)
{
    return guitest::ScreenPixel(POINT{x, y});
}
