#include "app/OwnFolderRemoval.h"

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

std::wstring OwnFilesRemovalArguments()
{
    // /D: no AutoRun commands; /V:OFF: a "!" in a path is never expanded. rmdir without /s
    // removes the folder only when nothing is left in it.
    return L"/D /V:OFF /C timeout /t 3 /nobreak"
           L" & del /f /q \"%CORVINA_OWN_EXE%\""
           L" & del /f /q \"%CORVINA_OWN_DLL%\""
           L" & del /f /q \"%CORVINA_OWN_DLL_INI%\""
           L" & rmdir \"%CORVINA_OWN_FOLDER%\"";
}

bool ScheduleOwnFilesRemoval(const std::wstring& exePath)
{
    OwnFiles files;
    if (!OwnFilesOf(exePath, files))
        return false;
    // The interpreter from the system folder only (never one planted beside the tool), and
    // a working folder other than the one it is to remove.
    std::wstring interpreter = SystemPath(::GetSystemDirectoryW, L"cmd.exe");
    std::wstring workingFolder = SystemPath(::GetWindowsDirectoryW, nullptr);
    if (interpreter.empty() || workingFolder.empty())
        return false;

    std::wstring commandLine = L"\"" + interpreter + L"\" " + OwnFilesRemovalArguments();
    std::vector<wchar_t> environment = ChildEnvironment(files);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(interpreter.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                          CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, environment.data(),
                          workingFolder.c_str(), &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
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
