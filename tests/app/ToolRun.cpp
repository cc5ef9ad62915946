#include "ToolRun.h"

#include <shellapi.h>

#include <algorithm>

namespace {

int g_runCount = 0;

bool CopyInto(const std::wstring& source, const std::wstring& folder, const std::wstring& name)
{
    return ::CopyFileW(source.c_str(), (folder + L"\\" + name).c_str(), FALSE) != FALSE;
}

std::string Narrow(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                     0, nullptr, nullptr);
    std::string out(size, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size,
                          nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring Widen(const std::string& utf8)
{
    if (utf8.empty())
        return std::wstring();
    int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(size, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], size);
    return out;
}

std::wstring BuildPath(const std::wstring& relative)
{
    std::wstring path = L"Z:" + Widen(CORVINA_BINARY_DIR) + L"\\" + relative;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::wstring TempRoot()
{
    wchar_t temp[MAX_PATH];
    DWORD length = ::GetTempPathW(MAX_PATH, temp);
    std::wstring root(temp, length);
    return root + L"corvina-e2e";
}

bool LoadByNameFrom(const std::wstring& folder, const std::wstring& library)
{
    std::wstring driver = folder + L"\\driver.exe";
    if (!::CopyFileW(BuildPath(L"testprogs\\driver.exe").c_str(), driver.c_str(), FALSE))
        return false;
    std::wstring commandLine = L"\"" + driver + L"\" load " + library;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(driver.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &process))
        return false;
    bool ended = ::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return ended;
}

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            // A link to a folder goes by itself: its target's content is not ours.
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                ::RemoveDirectoryW(path.c_str());
            else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

CToolRun::CToolRun(const std::wstring& folderName, const ToolOptions& options) : m_options(options)
{
    m_root = TempRoot() + L"\\run" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(++g_runCount);
    ::CreateDirectoryW(TempRoot().c_str(), nullptr);
    ::CreateDirectoryW(m_root.c_str(), nullptr);
    m_folder = m_root + L"\\" + folderName;
    ::CreateDirectoryW(m_folder.c_str(), nullptr);
    m_feedbackJournal = m_root + L"\\feedback-journal.txt";
    m_toolJournal = m_root + L"\\tool-journal.txt";
    m_fixture = m_root + L"\\fixture.txt";

    CopyInto(BuildPath(L"deliver\\Corvina.exe"), m_folder, L"Corvina.exe");
    if (!options.library.empty())
        CopyInto(BuildPath(options.library), m_folder, L"HalvexFeedbackInformation.dll");

    std::string config = "[service]\r\nrecord_only=1\r\njournal=" + Narrow(m_feedbackJournal) + "\r\n";
    if (options.initFails)
        config += "init=fail\r\n";
    if (!options.newestVersion.empty())
        config += "[newest]\r\n10056=" + options.newestVersion + "\r\n";
    WriteFileBytes(m_folder + L"\\HalvexFeedbackInformation.ini", config);

    std::string fixture = "powershell " + options.powershellMode + "\r\nwusa " + options.wusaMode + "\r\njournal " +
                          Narrow(m_toolJournal) + "\r\n";
    for (const std::string& update : options.updates)
        fixture += "update " + update + "\r\n";
    WriteFileBytes(m_fixture, fixture);

    if (!options.dllOverrides.empty()) {
        for (const wchar_t* exe : {L"Corvina.exe", L"driver.exe"}) {
            HKEY key = nullptr;
            std::wstring name = std::wstring(L"Software\\Wine\\AppDefaults\\") + exe + L"\\DllOverrides";
            if (::RegCreateKeyExW(HKEY_CURRENT_USER, name.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr) == ERROR_SUCCESS) {
                const std::wstring& value = options.dllOverrides;
                ::RegSetValueExW(key, options.dllOverridden.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
                ::RegCloseKey(key);
            }
        }
    }
    if (!options.windowsVersion.empty()) {
        HKEY key = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Corvina.exe", 0, nullptr,
                              0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            const std::wstring& value = options.windowsVersion;
            ::RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
            ::RegCloseKey(key);
        }
    }
}

CToolRun::~CToolRun()
{
    if (m_process.hProcess) {
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 1);
        ::WaitForSingleObject(m_process.hProcess, 5000);
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }
    if (!m_options.dllOverrides.empty()) {
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Corvina.exe\\DllOverrides");
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\driver.exe\\DllOverrides");
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\driver.exe");
    }
    if (!m_options.windowsVersion.empty() || !m_options.dllOverrides.empty())
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Corvina.exe");
    if (m_hJob)
        ::CloseHandle(m_hJob);
    RemoveTree(m_root);
}

bool CToolRun::Start()
{
    // The fixture our stand-ins at the system paths read, named in the machine's environment:
    // that, not the tool's, is what the tool's children get.
    m_pFixtureVariable.reset(new CMachineVariable(L"CORVINA_HOTFIX_FIXTURE", m_fixture));

    std::wstring commandLine = L"\"" + Executable() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    bool started = ::CreateProcessW(Executable().c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                    nullptr, m_folder.c_str(), &startup, &m_process) != FALSE;
    if (started && m_options.noChildProcesses) {
        m_hJob = ::CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_BASIC_LIMIT_INFORMATION limit{};
        limit.LimitFlags = JOB_OBJECT_LIMIT_ACTIVE_PROCESS;
        limit.ActiveProcessLimit = 1;
        started = m_hJob && ::SetInformationJobObject(m_hJob, JobObjectBasicLimitInformation, &limit, sizeof limit) &&
                  ::AssignProcessToJobObject(m_hJob, m_process.hProcess);
    }
    if (m_process.hThread)
        ::ResumeThread(m_process.hThread);
    return started;
}

DWORD CToolRun::WaitExit(DWORD timeoutMs)
{
    if (!m_process.hProcess || ::WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

bool CToolRun::Running()
{
    return m_process.hProcess && ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

void CToolRun::Throttle(DWORD totalMs, DWORD runMs, DWORD periodMs)
{
    const ULONGLONG end = ::GetTickCount64() + totalMs;
    while (::GetTickCount64() < end && Running()) {
        ::SuspendThread(m_process.hThread);
        ::Sleep(periodMs - runMs);
        ::ResumeThread(m_process.hThread);
        ::Sleep(runMs);
    }
}
