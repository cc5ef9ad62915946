// wusa /uninstall /kb:NNNNNNN, as the fixture says. A windowed program, as the real one is: in
// the "window" mode it asks in a window of its own, and notes in the journal how it was asked
// to show itself and whether its window came to the front.
#include <windows.h>

#include <cwctype>
#include <string>

#include "HotfixFixture.h"

namespace {

// The number after "/kb:" (any case), or empty.
std::string KbNumber(const std::wstring& commandLine)
{
    std::wstring lower;
    for (wchar_t c : commandLine)
        lower += (wchar_t)towlower(c);
    size_t at = lower.find(L"/kb:");
    if (at == std::wstring::npos)
        return std::string();
    std::string number;
    for (size_t i = at + 4; i < lower.size() && iswdigit(lower[i]); ++i)
        number += (char)lower[i];
    return number;
}

bool IsSuccess(unsigned long code)
{
    return code == 0 || code == 3010 || code == 1641 || code == 0x00240007;
}

const wchar_t kWindowClass[] = L"CorvinaWusaStandIn";
// What the user's "No" or closing the window gives.
const int kCancelled = ERROR_CANCELLED;

LRESULT CALLBACK QuestionProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO) {
            PostQuitMessage(LOWORD(wParam));
            return 0;
        }
        break;
    case WM_CLOSE:
        PostQuitMessage(IDNO);
        return 0;
    }
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

// Asks whether to remove the update, in a window shown as Windows tells a program to show its
// first window (nCmdShow comes from the start-up information); true for "Yes".
bool AskInWindow(const CHotfixFixture& fixture, const std::string& number, int nCmdShow)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoW(&startup);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = QuestionProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    const int width = 360, height = 150;
    HWND window = CreateWindowExW(0, kWindowClass, L"wusa", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                  nullptr, nullptr, instance, nullptr);
    std::wstring question = L"Uninstall update KB" + std::wstring(number.begin(), number.end()) + L"?";
    CreateWindowExW(0, L"STATIC", question.c_str(), WS_CHILD | WS_VISIBLE, 20, 20, 320, 20, window,
                    nullptr, instance, nullptr);
    CreateWindowExW(0, L"BUTTON", L"Yes", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 150, 70, 90,
                    28, window, (HMENU)(INT_PTR)IDYES, instance, nullptr);
    CreateWindowExW(0, L"BUTTON", L"No", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 250, 70, 90, 28,
                    window, (HMENU)(INT_PTR)IDNO, instance, nullptr);
    ShowWindow(window, nCmdShow);
    UpdateWindow(window);

    char note[160];
    wsprintfA(note, "wusa window: asked %d show %d visible %d front %d",
              (startup.dwFlags & STARTF_USESHOWWINDOW) ? 1 : 0, startup.wShowWindow,
              IsWindowVisible(window) ? 1 : 0, GetForegroundWindow() == window ? 1 : 0);
    AppendJournalNote(fixture, note);

    // Waits for the user, however long that is, as the real one does.
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    DestroyWindow(window);
    return msg.wParam == IDYES;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int nCmdShow)
{
    CHotfixFixture fixture;
    LoadFixture(fixture);
    AppendJournal(fixture);

    std::wstring commandLine = GetCommandLineW();
    std::string number = KbNumber(commandLine);
    if (commandLine.find(L"/uninstall") == std::wstring::npos || number.empty())
        return 87;
    if (fixture.wusaMode == "window" && !AskInWindow(fixture, number, nCmdShow))
        return kCancelled;
    if (IsSuccess(fixture.wusaExit))
        RemoveUpdate("KB" + number);
    return (int)fixture.wusaExit;
}
