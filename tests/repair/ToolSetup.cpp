#include "repair/ToolSetup.h"

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

std::wstring StandinsFolder()
{
    // A Unix path of the build; Wine's drive Z: is the root.
    std::string unixPath = CORVINA_STANDINS_DIR;
    std::wstring path = L"Z:";
    for (char c : unixPath)
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path + L"\\";
}

std::wstring SystemFolder()
{
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    return std::wstring(system, length);
}

std::wstring SystemPowerShell()
{
    return SystemFolder() + L"\\WindowsPowerShell\\v1.0\\powershell.exe";
}

std::wstring SystemWusa()
{
    return SystemFolder() + L"\\wusa.exe";
}

size_t ProcessesNamed(const wchar_t* name)
{
    size_t count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, name) == 0)
            ++count;
    CloseHandle(snapshot);
    return count;
}

std::wstring MakeTempFolder(const wchar_t* prefix)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    std::wstring folder = std::wstring(temp) + prefix + std::to_wstring(GetCurrentProcessId()) +
                          L"-" + std::to_wstring(++counter);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

void RemoveFolder(const std::wstring& folder)
{
    std::wstring from = folder;
    if (!from.empty() && from.back() == L'\\')
        from.pop_back();
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

std::string Utf8(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string narrow(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0], size,
                        nullptr, nullptr);
    return narrow;
}

namespace {

std::wstring Wide(const std::string& text)
{
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

}  // namespace

CToolSetup::CToolSetup()
{
    m_folder = MakeTempFolder(L"corvina-tools-");
    m_pFixture.reset(new CMachineVariable(L"CORVINA_HOTFIX_FIXTURE", m_folder + L"hotfix.txt"));
    m_pJournal.reset(new CMachineVariable(L"CORVINA_TOOL_JOURNAL", m_folder + L"journal.txt"));
    WriteFixture("");
}

CToolSetup::~CToolSetup()
{
    m_pJournal.reset();
    m_pFixture.reset();
    RemoveFolder(m_folder);
}

void CToolSetup::WriteFixture(const std::string& text)
{
    WriteFileBytes(m_folder + L"hotfix.txt", text);
}

std::string CToolSetup::ReadFixture() const
{
    return ReadFileBytes(m_folder + L"hotfix.txt");
}

std::vector<CToolSetup::Call> CToolSetup::Journal() const
{
    std::vector<Call> calls;
    std::string text = ReadFileBytes(m_folder + L"journal.txt");
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        size_t tab = line.find('\t');
        if (tab != std::string::npos)
            calls.push_back({Wide(line.substr(0, tab)), line.substr(tab + 1)});
        start = end + 2;
    }
    return calls;
}
