#include "app/OwnFolderRemoval.h"

#include "app/KnownFolder.h"
#include "log/FileIdentity.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

const wchar_t kFolderVar[] = L"CORVINA_OWN_FOLDER";
const wchar_t kExecutableVar[] = L"CORVINA_OWN_EXE";
const wchar_t kLibraryVar[] = L"CORVINA_OWN_DLL";
const wchar_t kLibraryConfigVar[] = L"CORVINA_OWN_DLL_INI";

bool IsVariable(const wchar_t* entry, const wchar_t* name)
{
    size_t length = wcslen(name);
    return _wcsnicmp(entry, name, length) == 0 && entry[length] == L'=';
}

// This process's environment with the four path variables set; a double-null-terminated block.
std::vector<wchar_t> ChildEnvironment(const OwnFiles& files)
{
    std::vector<wchar_t> block;
    if (wchar_t* strings = ::GetEnvironmentStringsW()) {
        for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
            if (IsVariable(entry, kFolderVar) || IsVariable(entry, kExecutableVar) ||
                IsVariable(entry, kLibraryVar) || IsVariable(entry, kLibraryConfigVar))
                continue;
            block.insert(block.end(), entry, entry + wcslen(entry) + 1);
        }
        ::FreeEnvironmentStringsW(strings);
    }
    auto add = [&block](const wchar_t* name, const std::wstring& value) {
        std::wstring entry = std::wstring(name) + L'=' + value;
        block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    };
    add(kFolderVar, files.folder);
    add(kExecutableVar, files.executable);
    add(kLibraryVar, files.library);
    add(kLibraryConfigVar, files.libraryConfig);
    block.push_back(L'\0');
    return block;
}

std::wstring SystemPath(UINT (WINAPI* folderOf)(LPWSTR, UINT), const wchar_t* leaf)
{
    wchar_t folder[MAX_PATH];
    UINT length = folderOf(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    std::wstring path(folder, length);
    if (leaf)
        path += std::wstring(L"\\") + leaf;
    return path;
}

// What either way of starting the interpreter needs.
struct DeleterStart {
    std::wstring interpreter;
    std::wstring commandLine;
    std::wstring workingFolder;
    std::vector<wchar_t> environment;
};

bool StartWithToken(HANDLE token, DeleterStart& start)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    // An administrator seldom holds the privilege that CreateProcessAsUserW can ask for with
    // another process's token; CreateProcessWithTokenW needs only impersonation, which
    // administrators hold, and takes fewer flags (its console is hidden by SW_HIDE). Both run
    // with the desktop user's token, or not at all.
    if (!::CreateProcessAsUserW(token, start.interpreter.c_str(), &start.commandLine[0], nullptr,
                                nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW,
                                start.environment.data(), start.workingFolder.c_str(), &startup,
                                &process) &&
        !::CreateProcessWithTokenW(token, 0, start.interpreter.c_str(), &start.commandLine[0],
                                   CREATE_UNICODE_ENVIRONMENT, start.environment.data(),
                                   start.workingFolder.c_str(), &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

// True when path names a plain file with one name, with no link on the way. The object itself
// is opened, never a link's target.
bool IsPlainFileAt(const std::wstring& path)
{
    CFileHandle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return file.IsValid() && IsPlainFile(file.Get(), path);
}

}  // namespace

bool OwnFilesOf(const std::wstring& exePath, OwnFiles& files)
{
    size_t slash = exePath.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash == 0 || slash + 1 >= exePath.size())
        return false;
    files.folder = exePath.substr(0, slash);
    files.executable = exePath;
    files.library = files.folder + L"\\HalvexFeedbackInformation.dll";
    files.libraryConfig = files.folder + L"\\HalvexFeedbackInformation.ini";
    return true;
}

RemovalPlan PlanOwnFilesRemoval(const OwnFiles& files, HANDLE desktopUserToken)
{
    RemovalPlan plan;
    plan.executable = IsPlainFileAt(files.executable);
    plan.library = IsPlainFileAt(files.library);
    plan.libraryConfig = IsPlainFileAt(files.libraryConfig);
    // Someone who ran the tool from Downloads or the Desktop keeps that folder, empty or not,
    // also when an administrator's password made the tool run as another account.
    plan.folder = OpenPlainFolder(files.folder, 0).IsValid() &&
                  !IsKnownFolderOrDriveRoot(files.folder, desktopUserToken);
    return plan;
}

std::wstring OwnFilesRemovalArguments(const RemovalPlan& plan)
{
    // /D: no AutoRun commands; /V:OFF: a "!" in a path is never expanded. rmdir without /s
    // removes the folder only when nothing is left in it.
    std::wstring arguments = L"/D /V:OFF /C timeout /t 3 /nobreak";
    if (plan.executable)
        arguments += L" & del /f /q \"%CORVINA_OWN_EXE%\"";
    if (plan.library)
        arguments += L" & del /f /q \"%CORVINA_OWN_DLL%\"";
    if (plan.libraryConfig)
        arguments += L" & del /f /q \"%CORVINA_OWN_DLL_INI%\"";
    if (plan.folder)
        arguments += L" & rmdir \"%CORVINA_OWN_FOLDER%\"";
    return arguments;
}

HANDLE DesktopUserToken()
{
    DWORD processId = 0;
    HWND shell = ::GetShellWindow();
    if (!shell || !::GetWindowThreadProcessId(shell, &processId) || processId == 0)
        return nullptr;
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return nullptr;
    HANDLE shellToken = nullptr;
    HANDLE token = nullptr;
    if (::OpenProcessToken(process, TOKEN_DUPLICATE, &shellToken)) {
        // The shell answers for another user's known folders only with a token that may be
        // queried and impersonated.
        const DWORD access = TOKEN_QUERY | TOKEN_IMPERSONATE | TOKEN_DUPLICATE |
                             TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_DEFAULT | TOKEN_ADJUST_SESSIONID;
        if (!::DuplicateTokenEx(shellToken, access, nullptr, SecurityImpersonation, TokenPrimary,
                                &token))
            token = nullptr;
        ::CloseHandle(shellToken);
    }
    ::CloseHandle(process);
    return token;
}

namespace {

// Plans the removal as the desktop user sees the folder and starts the deleter with that
// user's token; false when there is nothing to remove or it did not start.
bool StartDeleter(const OwnFiles& files, HANDLE token)
{
    RemovalPlan plan = PlanOwnFilesRemoval(files, token);
    if (!plan.executable && !plan.library && !plan.libraryConfig && !plan.folder)
        return false;
    DeleterStart start;
    // The interpreter from the system folder only (never one planted beside the tool), and
    // a working folder other than the one it is to remove: the system's Windows folder, not
    // the per-user one a terminal server gives through GetWindowsDirectoryW.
    start.interpreter = SystemPath(::GetSystemDirectoryW, L"cmd.exe");
    start.workingFolder = SystemPath(::GetSystemWindowsDirectoryW, nullptr);
    if (start.interpreter.empty() || start.workingFolder.empty())
        return false;
    start.commandLine = L"\"" + start.interpreter + L"\" " + OwnFilesRemovalArguments(plan);
    start.environment = ChildEnvironment(files);
    return StartWithToken(token, start);
}

}  // namespace

bool ScheduleOwnFilesRemoval(const std::wstring& exePath, DeleterTokenSource tokenSource)
{
    OwnFiles files;
    if (!OwnFilesOf(exePath, files))
        return false;
    // The tool is elevated and its folder belongs to the user, who may put anything there while
    // the deleter waits. So the deleter runs as the desktop user and can only ever remove what
    // that user may remove; without such a token nothing is removed. What can be checked without
    // a race is checked now, by handle: a folder, a link or a second name in place of one of our
    // files, or a link in place of the folder, is left alone.
    HANDLE token = tokenSource();
    if (!token)
        return false;
    const bool started = StartDeleter(files, token);
    ::CloseHandle(token);
    return started;
}

void RemoveOwnFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    // A cut path would name some other file or folder.
    if (length == 0 || length >= MAX_PATH)
        return;
    ScheduleOwnFilesRemoval(std::wstring(path, length));
}
