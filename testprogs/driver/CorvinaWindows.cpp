#include "CorvinaWindows.h"


const wchar_t kNotice[] =
    L"本工具仅适用于重置后所有按键都无法使用的情况。本工具不能解决个别按键失效的问题。";
const wchar_t kInitFailed[] = L"工具初始化失败";
const wchar_t kSucceeded[] = L"键盘无法使用修复成功。";
const wchar_t kFailed[] = L"键盘无法使用修复失败！";
const wchar_t kNotApplicable[] = L"本工具不适用当前系统！";
const wchar_t kProgress[] = L"正在修复，请稍等";

namespace {

const int kVerticalBarId = 101;

BOOL CALLBACK FindRichEdit(HWND hWnd, LPARAM param)
{
    wchar_t name[32];
    if (::GetClassNameW(hWnd, name, 32) && _wcsicmp(name, L"RichEdit20W") == 0) {
        *reinterpret_cast<HWND*>(param) = hWnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

bool ProcessRunning(DWORD pid)
{
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process)
        return false;
    bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
}

HWND PromptWithText(DWORD pid, const std::wstring& text)
{
    std::vector<CWindowInfo> found = WindowsWithChildText(pid, text);
    return found.empty() ? nullptr : found.front().hWnd;
}

HWND WaitPrompt(DWORD pid, const std::wstring& text, DWORD timeoutMs)
{
    HWND prompt = nullptr;
    WaitUntil([&] { return (prompt = PromptWithText(pid, text)) != nullptr || !ProcessRunning(pid); },
              timeoutMs);
    return prompt;
}

bool ClosePrompt(HWND prompt)
{
    if (!prompt)
        return false;
    ClickChild(prompt, IDC_BTN_OK);
    return WaitUntil([&] { return !::IsWindow(prompt) || !::IsWindowVisible(prompt); }, 5000);
}

HWND FindPanel(DWORD pid)
{
    for (const CWindowInfo& top : TopLevelWindows(pid)) {
        if (top.visible && ChildById(top.hWnd, IDC_BTN_REPAIR))
            return top.hWnd;
    }
    return nullptr;
}

HWND FindFeedbackDialog(DWORD pid)
{
    for (const CWindowInfo& top : TopLevelWindows(pid)) {
        if (top.visible && ChildById(top.hWnd, IDC_BTN_SOLVED))
            return top.hWnd;
    }
    return nullptr;
}

void ClickChild(HWND parent, int id)
{
    HWND child = ChildById(parent, id);
    WaitOnScreen(child);
    POINT centre = CentreOf(RectOf(child));
    ClickAt(centre.x, centre.y);
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

void ClickWithPointerAt(int x, int y)
{
    ::SetCursorPos(x, y);
    ::Sleep(50);
    ClickAt(x, y);
}

void ClickControl(HWND parent, int id)
{
    HWND child = ChildById(parent, id);
    WaitOnScreen(child);
    POINT centre = CentreOf(RectOf(child));
    ClickWithPointerAt(centre.x, centre.y);
}

CBubble FindBubble(DWORD pid, HWND panel)
{
    CBubble bubble;
    for (const CWindowInfo& top : TopLevelWindows(pid)) {
        if (top.owner == panel && top.layered)
            bubble.background = top.hWnd;
    }
    if (!bubble.background)
        return bubble;
    for (const CWindowInfo& top : TopLevelWindows(pid)) {
        if (top.owner != bubble.background)
            continue;
        HWND edit = nullptr;
        ::EnumChildWindows(top.hWnd, FindRichEdit, reinterpret_cast<LPARAM>(&edit));
        if (edit) {
            bubble.content = top.hWnd;
            bubble.edit = edit;
        }
    }
    // The text lives in the skinning frame (the control's id) through a limiter window.
    for (HWND up = bubble.edit ? ::GetParent(bubble.edit) : nullptr; up; up = ::GetParent(up)) {
        if (::GetDlgCtrlID(up) == IDC_RICHEDIT_AGREEMENT) {
            bubble.bar = ::GetDlgItem(up, kVerticalBarId);
            break;
        }
    }
    return bubble;
}

bool IsOpen(const CBubble& b)
{
    return b.background && ::IsWindowVisible(b.background) && ::IsWindowVisible(b.content);
}

bool IsClosed(const CBubble& b)
{
    return b.background && !::IsWindowVisible(b.background) && !::IsWindowVisible(b.content);
}
