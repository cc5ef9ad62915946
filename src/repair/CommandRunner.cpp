#include "repair/CommandRunner.h"

#include <atomic>
#include <cstring>
#include <cwchar>

namespace {

typedef BOOL(WINAPI* IsWow64ProcessFn)(HANDLE, PBOOL);

// Every thread that looks the function up stores the same value.
std::atomic<IsWow64ProcessFn> g_pfnIsWow64Process{nullptr};

// Turns WOW64 redirection off for the calling thread until destroyed.
class CRedirectionOff {
public:
    CRedirectionOff() = default;
    ~CRedirectionOff()
    {
        if (m_bOff)
            Wow64RevertWow64FsRedirection(m_pOldValue);
    }
    CRedirectionOff(const CRedirectionOff&) = delete;
    CRedirectionOff& operator=(const CRedirectionOff&) = delete;

    // True when the redirection is off or not needed.
    bool TurnOff()
    {
        if (!IsWow64())
            return true;
        if (Wow64DisableWow64FsRedirection(&m_pOldValue) != TRUE)
            return false;
        m_bOff = true;
        return true;
    }

private:
    bool m_bOff = false;
    PVOID m_pOldValue = nullptr;
};

// "cmd /C <command>" into buffer, or false when it does not fit.
bool FormatCommandLine(const std::wstring& command, wchar_t* buffer, size_t size)
{
    static const wchar_t kPrefix[] = L"cmd /C ";
    const size_t prefixLength = wcslen(kPrefix);
    const size_t commandLength = wcslen(command.c_str());
    if (prefixLength + commandLength + 1 > size)
        return false;
    wmemcpy(buffer, kPrefix, prefixLength);
    wmemcpy(buffer + prefixLength, command.c_str(), commandLength);
    buffer[prefixLength + commandLength] = L'\0';
    return true;
}

struct CInterpreterPaths {
    wchar_t application[MAX_PATH + 16];
    wchar_t folder[MAX_PATH + 1];
};

// The command interpreter of the system folder and the Windows folder to start it in.
bool GetInterpreterPaths(CInterpreterPaths& paths)
{
    UINT length = GetSystemDirectoryW(paths.application, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    wcscat(paths.application, L"\\cmd.exe");
    length = GetWindowsDirectoryW(paths.folder, MAX_PATH + 1);
    return length != 0 && length <= MAX_PATH;
}

void PrepareStartupInfo(STARTUPINFOW& info, bool show)
{
    memset(&info, 0, sizeof(info));
    info.cb = sizeof(info);
    GetStartupInfoW(&info);
    info.wShowWindow = show ? SW_SHOW : SW_HIDE;
    info.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
}

// What every run needs first: the command line, the redirection off for as long as redirection
// lives, and the interpreter's paths.
bool PrepareRun(const std::wstring& command, wchar_t (&commandLine)[kMaxCommandLine + 1],
                CRedirectionOff& redirection, CInterpreterPaths& paths)
{
    return FormatCommandLine(command, commandLine, kMaxCommandLine + 1) && redirection.TurnOff() &&
           GetInterpreterPaths(paths);
}

DWORD WaitAndClose(PROCESS_INFORMATION& process)
{
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.hProcess, &exitCode))
        exitCode = static_cast<DWORD>(-1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

}  // namespace

bool IsWow64()
{
    IsWow64ProcessFn isWow64Process = g_pfnIsWow64Process.load(std::memory_order_relaxed);
    if (!isWow64Process) {
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        if (!kernel)
            return false;
        isWow64Process =
            reinterpret_cast<IsWow64ProcessFn>(GetProcAddress(kernel, "IsWow64Process"));
        if (!isWow64Process)
            return false;
        g_pfnIsWow64Process.store(isWow64Process, std::memory_order_relaxed);
    }
    BOOL wow64 = FALSE;
    return isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

bool RunCommand(std::wstring command, bool show, DWORD* exitCode)
{
    wchar_t commandLine[kMaxCommandLine + 1];
    CRedirectionOff redirection;
    CInterpreterPaths paths;
    if (!PrepareRun(command, commandLine, redirection, paths))
        return false;

    STARTUPINFOW startup;
    PrepareStartupInfo(startup, show);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(paths.application, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                        paths.folder, &startup, &process))
        return false;

    DWORD code = WaitAndClose(process);
    if (exitCode)
        *exitCode = code;
    return true;
}

bool RunCommandCapture(std::wstring command, std::string& output)
{
    wchar_t commandLine[kMaxCommandLine + 1];
    CRedirectionOff redirection;
    CInterpreterPaths paths;
    if (!PrepareRun(command, commandLine, redirection, paths))
        return false;

    SECURITY_ATTRIBUTES security = {};
    security.nLength = sizeof(security);
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = TRUE;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &security, 0))
        return false;
    // Only the write end belongs to the child.
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup;
    PrepareStartupInfo(startup, false);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(paths.application, commandLine, nullptr, nullptr, TRUE, 0, nullptr,
                        paths.folder, &startup, &process)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        return false;
    }
    // The pipe ends once the child and everything it started have closed their copies.
    CloseHandle(writeEnd);

    char chunk[1024];
    for (;;) {
        memset(chunk, 0, sizeof(chunk));
        DWORD read = 0;
        if (!ReadFile(readEnd, chunk, sizeof(chunk) - 1, &read, nullptr))
            break;
        output.append(chunk, strlen(chunk));
        Sleep(10);
    }
    CloseHandle(readEnd);
    WaitAndClose(process);
    return true;
}
