#include "repair/CommandRunner.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <vector>

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

// The interpreter's command line into buffer, or false when it does not fit.
bool FormatCommandLine(const std::wstring& command, wchar_t* buffer, size_t size)
{
    std::wstring line = InterpreterCommandLine(command.c_str());
    if (line.size() + 1 > size)
        return false;
    wmemcpy(buffer, line.c_str(), line.size() + 1);
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

// The pipe's write end for standard output and error, the NUL device for standard input, and
// nothing else: the list keeps every other inheritable handle of the process (the feedback
// library's, the log's, another thread's) from reaching the child.
class CChildHandles {
public:
    CChildHandles() = default;
    ~CChildHandles()
    {
        if (m_pList)
            DeleteProcThreadAttributeList(m_pList);
        if (m_hNul != INVALID_HANDLE_VALUE)
            CloseHandle(m_hNul);
    }
    CChildHandles(const CChildHandles&) = delete;
    CChildHandles& operator=(const CChildHandles&) = delete;

    bool Prepare(HANDLE output, STARTUPINFOEXW& startup)
    {
        SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
        m_hNul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);
        if (m_hNul == INVALID_HANDLE_VALUE ||
            !SetHandleInformation(output, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT))
            return false;
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        m_listBuffer.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_listBuffer.data());
        if (size == 0 || !InitializeProcThreadAttributeList(list, 1, 0, &size))
            return false;
        m_pList = list;
        m_handles[0] = output;
        m_handles[1] = m_hNul;
        if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, m_handles,
                                       sizeof(m_handles), nullptr, nullptr))
            return false;
        memset(&startup, 0, sizeof(startup));
        startup.StartupInfo.cb = sizeof(startup);
        startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
        startup.StartupInfo.wShowWindow = SW_HIDE;
        startup.StartupInfo.hStdInput = m_hNul;
        startup.StartupInfo.hStdOutput = output;
        startup.StartupInfo.hStdError = output;
        startup.lpAttributeList = list;
        return true;
    }

private:
    HANDLE m_hNul = INVALID_HANDLE_VALUE;
    std::vector<char> m_listBuffer;
    LPPROC_THREAD_ATTRIBUTE_LIST m_pList = nullptr;
    HANDLE m_handles[2] = {};
};

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

    // Neither end is inheritable; only the write end is made so, and handed to this child only.
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0))
        return false;
    PROCESS_INFORMATION process = {};
    bool started = false;
    {
        CChildHandles handles;
        STARTUPINFOEXW startup;
        started = handles.Prepare(writeEnd, startup) &&
                  CreateProcessW(paths.application, commandLine, nullptr, nullptr, TRUE,
                                 EXTENDED_STARTUPINFO_PRESENT, nullptr, paths.folder,
                                 &startup.StartupInfo, &process);
    }
    // The pipe ends once the child and everything it started have closed their copies.
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return false;
    }

    // Past the limit the child is still read to its end, so it never blocks on a full pipe.
    const size_t limit = output.size() + kMaxCapturedOutput;
    char chunk[1024];
    for (;;) {
        memset(chunk, 0, sizeof(chunk));
        DWORD read = 0;
        if (!ReadFile(readEnd, chunk, sizeof(chunk) - 1, &read, nullptr))
            break;
        if (output.size() < limit)
            output.append(chunk, std::min(strlen(chunk), limit - output.size()));
    }
    CloseHandle(readEnd);
    WaitAndClose(process);
    return true;
}

std::wstring InterpreterCommandLine(const std::wstring& command)
{
    // /D: no AutoRun command of the registry runs before ours.
    return L"cmd /D /C " + command;
}
