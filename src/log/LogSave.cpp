#include "log/LogSave.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <new>

#include "framework/FileFind.h"
#include "log/LogSaveCloseFile.h"

namespace {

std::wstring CommonAppDataFolder()
{
    wchar_t path[1024] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_COMMON_APPDATA, FALSE))
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
    std::wstring folder = baseFolder + L"ToolLog";
    CFileFind find;
    if (!find.FindFile(folder.c_str()))
        CreateDirectoryW(folder.c_str(), nullptr);
    m_strLogDir = folder + L"\\";

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
