#pragma once

#include <string>

#include "log/LogBase.h"

// The process's log: where the files live, the "print" switch of logCfg.ini and the writer.
// Without a usable log folder (see LogFolder.h) there is no writer and nothing is logged.
class CLogSave {
public:
    // The log folder "ToolLog" in the all-users application-data folder.
    CLogSave();
    // The log folder "ToolLog" in baseFolder (ending in a backslash); empty: no log.
    explicit CLogSave(const std::wstring& baseFolder);
    virtual ~CLogSave();
    CLogSave(const CLogSave&) = delete;
    CLogSave& operator=(const CLogSave&) = delete;

    // text and fileName are code page 936 bytes; force writes whatever the switch says.
    void WriteLog(std::string text, std::string fileName, bool force);

    const std::wstring& GetLogDir() const { return m_strLogDir; }

private:
    void Init(const std::wstring& baseFolder);

    bool m_bPrint = false;
    std::wstring m_strLogDir;
    CLogBase* m_pLogWriter = nullptr;
};

CLogSave& GetLogSave();
