#pragma once

#include <string>

#include "framework/CriticalSection.h"
#include "log/LogBase.h"

// Opens the target file for every entry and closes it again, so no log file stays open
// between entries. A file that grows past the limit is moved aside to its "bak" name. Only a
// plain file at exactly its own path is written or moved (see OpenOwnFile).
class CLogSaveCloseFile : public CLogBase {
public:
    static const long long kRotateLimit = 6020000;

    explicit CLogSaveCloseFile(const std::wstring& logDir) : CLogBase(logDir) {}
    ~CLogSaveCloseFile() override = default;

    void WritePacket(const CPacketLog& packet) override;
    void WriteHex(const unsigned char* data, int length, std::string fileName) override;
    void WriteText(std::string text, std::string fileName) override;

private:
    CCriticalSection m_lock;
};
