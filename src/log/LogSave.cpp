#include "log/LogSave.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <new>

#include "log/LogFolder.h"
#include "log/LogSaveCloseFile.h"

namespace {

// The shell library is looked up here, from the system folder, rather than imported: the log
// is opened only when there is something to write, and the tool's start need not load it.
std::wstring CommonAppDataFolder()
{
    typedef BOOL(WINAPI * SpecialFolderPathFn)(HWND, LPWSTR, int, BOOL);
    HMODULE shell = LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    auto specialFolderPath = shell ? reinterpret_cast<SpecialFolderPathFn>(reinterpret_cast<void*>(
                                         GetProcAddress(shell, "SHGetSpecialFolderPathW")))
                                   : nullptr;
    wchar_t path[1024] = {};
    if (!specialFolderPath || !specialFolderPath(nullptr, path, CSIDL_COMMON_APPDATA, FALSE))
        return std::wstring();
    return std::wstring(path) + L"\\";
}

}  // namespace

CLogSave::CLogSave()
{
    Init(CommonAppDataFolder());
}

CLogSave::CLogSave(const std::wstring& baseFolder)
{
    Init(baseFolder);
}

void CLogSave::Init(const std::wstring& baseFolder)
{
    LogFolder folder = OpenLogFolder(baseFolder);
    m_strLogDir = folder.path;
    // A folder someone else made or redirected gets nothing, its configuration included: the
    // tool goes on as if logging were off.
    if (!folder.usable)
        return;

    std::wstring config = m_strLogDir + L"logCfg.ini";
    wchar_t value[100] = {};
    GetPrivateProfileStringW(L"Log", L"print", L"-1", value, 100, config.c_str());
    m_bPrint = _wtoi(value) == 1;

    m_pLogWriter = new (std::nothrow) CLogSaveCloseFile(m_strLogDir);
}

CLogSave::~CLogSave()
{
    delete m_pLogWriter;
    m_pLogWriter = nullptr;
}

void CLogSave::WriteLog(std::string text, std::string fileName, bool force)
{
    if (!m_pLogWriter)
        return;
    if (force || m_bPrint)
        m_pLogWriter->WriteText(text, fileName);
}

CLogSave& GetLogSave()
{
    static CLogSave logSave;
    return logSave;
}
