#include "ProbeFolder.h"

#include <windows.h>

namespace {

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L'\\' + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
            {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

// Quoted so that the probe's start-up code hands back exactly this text as one argument.
std::wstring QuoteArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    for (size_t i = 0;; ++i)
    {
        size_t backslashes = 0;
        while (i < argument.size() && argument[i] == L'\\')
        {
            ++i;
            ++backslashes;
        }
        if (i == argument.size())
        {
            quoted.append(backslashes * 2, L'\\');
            break;
        }
        if (argument[i] == L'"')
            quoted.append(backslashes * 2 + 1, L'\\');
        else
            quoted.append(backslashes, L'\\');
        quoted += argument[i];
    }
    return quoted + L'"';
}

std::wstring LibraryBuild(const std::wstring& variant)
{
    std::wstring root = TestFolder() + L"\\" FEEDBACK_BUILD_ROOT;
    if (variant.empty())
        return root + L"\\deliver\\HalvexFeedbackInformation.dll";
    return root + L"\\standin-variants\\" + variant + L"\\HalvexFeedbackInformation.dll";
}

} // namespace

std::wstring TestFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

CProbeFolder::CProbeFolder(const std::wstring& name)
{
    std::wstring runs = TestFolder() + L"\\runs";
    CreateDirectoryW(runs.c_str(), nullptr);
    m_path = runs + L'\\' + name;
    RemoveTree(m_path);
    CreateDirectoryW(m_path.c_str(), nullptr);
    CopyFileW((TestFolder() + L"\\feedback-probe.exe").c_str(),
              (m_path + L"\\feedback-probe.exe").c_str(), FALSE);
}

bool CProbeFolder::AddLibrary(const std::wstring& variant)
{
    return CopyFileW(LibraryBuild(variant).c_str(),
                     (m_path + L"\\HalvexFeedbackInformation.dll").c_str(), FALSE) != 0;
}

bool CProbeFolder::WriteConfig(const std::string& text)
{
    return WriteBytes(L"HalvexFeedbackInformation.ini", text);
}

bool CProbeFolder::WriteBytes(const std::wstring& name, const std::string& bytes)
{
    HANDLE file = CreateFileW((m_path + L'\\' + name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(file);
    return ok;
}

std::string CProbeFolder::Run(const std::vector<std::wstring>& arguments,
                              const std::wstring& currentFolder, const std::wstring& pathFront) const
{
    std::wstring program = m_path + L"\\feedback-probe.exe";
    std::wstring report = m_path + L"\\probe-report.txt";
    DeleteFileW(report.c_str());
    std::wstring commandLine = QuoteArgument(program);
    for (const std::wstring& argument : arguments)
        commandLine += L' ' + QuoteArgument(argument);

    // The child inherits the PATH; set it for the start only.
    wchar_t savedPath[32768];
    DWORD savedLength = GetEnvironmentVariableW(L"PATH", savedPath, 32768);
    if (!pathFront.empty())
        SetEnvironmentVariableW(L"PATH", (pathFront + L';' + savedPath).c_str());

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                                  CREATE_NO_WINDOW, nullptr,
                                  currentFolder.empty() ? m_path.c_str() : currentFolder.c_str(),
                                  &startup, &process);
    if (!pathFront.empty())
        SetEnvironmentVariableW(L"PATH", savedLength ? savedPath : nullptr);
    if (!started)
        return std::string();
    DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (waited != WAIT_OBJECT_0 || exitCode != 0)
        return std::string();
    return ReadFileBytes(report);
}

std::string CProbeFolder::Journal() const
{
    return ReadFileBytes(m_path + L"\\journal.txt");
}
