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

// The command interpreter of the system folder and the Windows folder to start it in. The
// system's Windows folder, not GetWindowsDirectoryW: on a terminal server that names a folder
// of the user's, where the interpreter would look first.
bool GetInterpreterPaths(CInterpreterPaths& paths)
{
    UINT length = GetSystemDirectoryW(paths.application, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    wcscat(paths.application, L"\\cmd.exe");
    length = GetSystemWindowsDirectoryW(paths.folder, MAX_PATH + 1);
    return length != 0 && length <= MAX_PATH;
}

// The machine's environment, as a service would get it: the tool's own comes from the user's
// settings (HKCU\Environment may set PATH, windir, PSModulePath, ...), which must not reach an
// elevated child. userenv is taken from the system folder only, never from beside the tool.
class CSystemEnvironment {
public:
    CSystemEnvironment() = default;
    ~CSystemEnvironment()
    {
        if (m_pBlock)
            m_pfnDestroy(m_pBlock);
    }
    CSystemEnvironment(const CSystemEnvironment&) = delete;
    CSystemEnvironment& operator=(const CSystemEnvironment&) = delete;

    bool Create()
    {
        typedef BOOL(WINAPI * CreateFn)(LPVOID*, HANDLE, BOOL);
        HMODULE userenv = LoadLibraryExW(L"userenv.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!userenv)
            return false;
        auto create = reinterpret_cast<CreateFn>(
            reinterpret_cast<void*>(GetProcAddress(userenv, "CreateEnvironmentBlock")));
        m_pfnDestroy = reinterpret_cast<DestroyFn>(
            reinterpret_cast<void*>(GetProcAddress(userenv, "DestroyEnvironmentBlock")));
        if (!create || !m_pfnDestroy || !create(&m_pBlock, nullptr, FALSE)) {
            m_pBlock = nullptr;
            return false;
        }
        return true;
    }
    LPVOID Block() const { return m_pBlock; }

private:
    typedef BOOL(WINAPI * DestroyFn)(LPVOID);
    DestroyFn m_pfnDestroy = nullptr;
    LPVOID m_pBlock = nullptr;
};

// A job that the child, and so everything it starts, belongs to. Closing the job's last
// handle ends whatever is still in it, also when this process itself is ended.
class CChildJob {
public:
    CChildJob() = default;
    ~CChildJob()
    {
        if (m_hJob)
            CloseHandle(m_hJob);
    }
    CChildJob(const CChildJob&) = delete;
    CChildJob& operator=(const CChildJob&) = delete;

    bool Create()
    {
        m_hJob = CreateJobObjectW(nullptr, nullptr);
        if (!m_hJob)
            return false;
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        return SetInformationJobObject(m_hJob, JobObjectExtendedLimitInformation, &limits,
                                       sizeof(limits)) != FALSE;
    }
    bool Adopt(HANDLE process) { return AssignProcessToJobObject(m_hJob, process) != FALSE; }
    void EndAll() { TerminateJobObject(m_hJob, 1); }

private:
    HANDLE m_hJob = nullptr;
};

// The child's standard handles and nothing else: the list keeps every other inheritable
// handle of the process (the feedback library's, the log's, another thread's) from reaching
// the child. Without an output, all three standard handles are the NUL device.
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

    bool Prepare(HANDLE output, bool show, STARTUPINFOEXW& startup)
    {
        SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
        m_hNul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0,
                             nullptr);
        if (m_hNul == INVALID_HANDLE_VALUE)
            return false;
        DWORD count = 1;
        m_handles[0] = m_hNul;
        if (output) {
            if (!SetHandleInformation(output, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT))
                return false;
            m_handles[count++] = output;
        } else {
            output = m_hNul;
        }
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        m_listBuffer.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_listBuffer.data());
        if (size == 0 || !InitializeProcThreadAttributeList(list, 1, 0, &size))
            return false;
        m_pList = list;
        if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, m_handles,
                                       count * sizeof(HANDLE), nullptr, nullptr))
            return false;
        memset(&startup, 0, sizeof(startup));
        startup.StartupInfo.cb = sizeof(startup);
        startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
        // Hidden means no console window, not SW_HIDE: a show state given to the interpreter
        // can be handed on to what it starts, whose first ShowWindow takes it, and the
        // installer's question would never be seen.
        if (show) {
            startup.StartupInfo.dwFlags |= STARTF_USESHOWWINDOW;
            startup.StartupInfo.wShowWindow = SW_SHOW;
        } else {
            m_dwCreationFlags = CREATE_NO_WINDOW;
        }
        startup.StartupInfo.hStdInput = m_hNul;
        startup.StartupInfo.hStdOutput = output;
        startup.StartupInfo.hStdError = output;
        startup.lpAttributeList = list;
        return true;
    }
    // What CreateProcessW must add for the window asked for.
    DWORD CreationFlags() const { return m_dwCreationFlags; }

private:
    HANDLE m_hNul = INVALID_HANDLE_VALUE;
    DWORD m_dwCreationFlags = 0;
    std::vector<char> m_listBuffer;
    LPPROC_THREAD_ATTRIBUTE_LIST m_pList = nullptr;
    HANDLE m_handles[2] = {};
};

// Starts the interpreter suspended. Under WOW64 the redirection is off for the CreateProcessW
// call alone, on this thread: while it is off, loading a library fails on 64-bit Windows (the
// loader opens the 64-bit file of the system folder) and a delay-load that failed so stays
// failed. So nothing between the two switches may load one: no log, no first call of anything.
bool StartInterpreter(const CInterpreterPaths& paths, wchar_t* commandLine, LPVOID environment,
                      STARTUPINFOEXW& startup, DWORD creationFlags, PROCESS_INFORMATION& process)
{
    // Looked up before the switch: kernel32 is loaded, so the look-up loads nothing.
    const bool wow64 = IsWow64();
    PVOID oldValue = nullptr;
    if (wow64 && Wow64DisableWow64FsRedirection(&oldValue) != TRUE)
        return false;
    BOOL created = CreateProcessW(paths.application, commandLine, nullptr, nullptr, TRUE,
                                  CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT |
                                      EXTENDED_STARTUPINFO_PRESENT | creationFlags,
                                  environment, paths.folder, &startup.StartupInfo, &process);
    if (wow64)
        Wow64RevertWow64FsRedirection(oldValue);
    return created != FALSE;
}

// A started child: the interpreter, in its job.
class CChild {
public:
    CChild() = default;
    ~CChild()
    {
        if (m_process.hProcess) {
            CloseHandle(m_process.hThread);
            CloseHandle(m_process.hProcess);
        }
    }
    CChild(const CChild&) = delete;
    CChild& operator=(const CChild&) = delete;

    // output: the pipe's write end for standard output and error, or null for none.
    bool Start(const std::wstring& command, HANDLE output, bool show)
    {
        wchar_t commandLine[kMaxCommandLine + 1];
        CInterpreterPaths paths;
        CSystemEnvironment environment;
        CChildHandles handles;
        STARTUPINFOEXW startup;
        if (!FormatCommandLine(command, commandLine, kMaxCommandLine + 1) ||
            !GetInterpreterPaths(paths) || !environment.Create() || !m_job.Create() ||
            !handles.Prepare(output, show, startup))
            return false;
        // Suspended until it is in the job, so nothing it starts can get away.
        if (!StartInterpreter(paths, commandLine, environment.Block(), startup,
                              handles.CreationFlags(), m_process)) {
            m_process = {};
            return false;
        }
        if (!m_job.Adopt(m_process.hProcess)) {
            TerminateProcess(m_process.hProcess, 1);
            return false;
        }
        ResumeThread(m_process.hThread);
        return true;
    }

    HANDLE Process() const { return m_process.hProcess; }
    // Ends whatever the child left running, or the child itself when it has not ended.
    void EndAll() { m_job.EndAll(); }
    DWORD ExitCode() const
    {
        DWORD exitCode = 0;
        if (!GetExitCodeProcess(m_process.hProcess, &exitCode))
            exitCode = static_cast<DWORD>(-1);
        return exitCode;
    }

private:
    CChildJob m_job;
    PROCESS_INFORMATION m_process = {};
};

// How long the output left in the pipe is read once the child has ended.
const DWORD kOutputDrainMs = 2000;

// Reads one chunk of at most 1023 bytes and appends it, cut at its first zero byte, as far as
// limit allows; false once the pipe has ended.
bool ReadChunk(HANDLE readEnd, std::string& output, size_t limit)
{
    char chunk[1024] = {};
    DWORD read = 0;
    if (!ReadFile(readEnd, chunk, sizeof(chunk) - 1, &read, nullptr))
        return false;
    if (output.size() < limit)
        output.append(chunk, std::min(strlen(chunk), limit - output.size()));
    return true;
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
    CChild child;
    if (!child.Start(command, nullptr, show))
        return false;
    WaitForSingleObject(child.Process(), INFINITE);
    child.EndAll();
    if (exitCode)
        *exitCode = child.ExitCode();
    return true;
}

bool RunCommandCapture(std::wstring command, std::string& output, DWORD* exitCode,
                       DWORD timeLimitMs)
{
    // Neither end is inheritable; only the write end is made so, and handed to this child only.
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0))
        return false;
    CChild child;
    bool started = child.Start(command, writeEnd, false);
    // The pipe ends once everything in the child's job has closed its copy.
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return false;
    }

    // The pipe is only read when it holds something, so that the child's end, and the time
    // limit, are seen even while a process it left behind keeps the pipe open; both are looked
    // at before every chunk, so a child that writes without pause meets them too. Past the size
    // limit the child is still read, so it never blocks on a full pipe. Once the child has
    // ended, what is left is read for kOutputDrainMs at most: a writer the job does not hold
    // could keep the pipe open, or full, for ever.
    const ULONGLONG deadline = timeLimitMs == INFINITE ? ~0ULL : GetTickCount64() + timeLimitMs;
    const size_t limit = output.size() + kMaxCapturedOutput;
    ULONGLONG drainEnd = 0;
    bool ended = false;
    bool timedOut = false;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) {
            // Every writer has gone: whatever is left is read without waiting.
            while (ReadChunk(readEnd, output, limit)) {
            }
            break;
        }
        const ULONGLONG now = GetTickCount64();
        if (ended) {
            if (now >= drainEnd)
                break;
        } else {
            if (WaitForSingleObject(child.Process(), 0) == WAIT_OBJECT_0) {
                ended = true;
            } else if (now >= deadline) {
                ended = true;
                timedOut = true;
            }
            if (ended) {
                child.EndAll();
                drainEnd = now + kOutputDrainMs;
            }
        }
        if (available > 0) {
            if (!ReadChunk(readEnd, output, limit))
                break;
        } else if (ended) {
            Sleep(10);
        } else {
            WaitForSingleObject(child.Process(), 10);
        }
    }
    CloseHandle(readEnd);
    if (!ended) {
        // The output was closed before the child ended: it still has the rest of its time.
        ULONGLONG now = GetTickCount64();
        DWORD rest = timeLimitMs == INFINITE ? INFINITE
                     : now >= deadline       ? 0
                                             : static_cast<DWORD>(deadline - now);
        timedOut = WaitForSingleObject(child.Process(), rest) != WAIT_OBJECT_0;
    }
    child.EndAll();
    WaitForSingleObject(child.Process(), INFINITE);
    if (timedOut)
        return false;
    if (exitCode)
        *exitCode = child.ExitCode();
    return true;
}

std::wstring InterpreterCommandLine(const std::wstring& command)
{
    // /D: no AutoRun command of the registry runs before ours. /S and the outer quotes: the
    // interpreter takes off exactly that pair, whatever the command holds, so a quoted program
    // path at its start keeps its own quotes.
    return L"cmd /D /S /C \"" + command + L"\"";
}
