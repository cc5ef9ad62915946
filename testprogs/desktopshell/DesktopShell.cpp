#include "DesktopShell.h"

#include <string>

namespace {

// The limited token linked to this process's token, as a primary token; null when none.
HANDLE LinkedPrimaryToken()
{
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own))
        return nullptr;
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    HANDLE primary = nullptr;
    if (GetTokenInformation(own, TokenLinkedToken, &linked, sizeof(linked), &size)) {
        if (!DuplicateTokenEx(linked.LinkedToken, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation,
                              TokenPrimary, &primary))
            primary = nullptr;
        CloseHandle(linked.LinkedToken);
    }
    CloseHandle(own);
    return primary;
}

}  // namespace

CDesktopShell::CDesktopShell()
{
    HANDLE token = LinkedPrimaryToken();
    if (!token)
        return;
    std::string unixPath = CORVINA_DESKTOP_SHELL;
    std::wstring program = L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
    for (wchar_t& c : program)
        c = c == L'/' ? L'\\' : c;
    std::wstring commandLine = L"desktopshell " + std::to_wstring(GetCurrentProcessId());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessAsUserW(token, program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &m_process))
        m_process = PROCESS_INFORMATION{};
    CloseHandle(token);
    // Until its window is the shell window or it has ended; a minute only bounds a hang.
    const DWORD started = GetTickCount();
    while (m_process.hProcess && !IsShown() && GetTickCount() - started < 60000 &&
           WaitForSingleObject(m_process.hProcess, 50) == WAIT_TIMEOUT) {
    }
}

CDesktopShell::~CDesktopShell()
{
    if (!m_process.hProcess)
        return;
    TerminateProcess(m_process.hProcess, 0);
    WaitForSingleObject(m_process.hProcess, 5000);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

bool CDesktopShell::IsShown() const
{
    DWORD processId = 0;
    HWND shell = GetShellWindow();
    return shell && GetWindowThreadProcessId(shell, &processId) &&
           processId == m_process.dwProcessId;
}
