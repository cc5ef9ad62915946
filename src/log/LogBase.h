#pragma once

#include <string>

#include "log/PacketLog.h"

// A log writer: puts entries into files of one log folder.
class CLogBase {
public:
    // logDir ends in a backslash.
    explicit CLogBase(const std::wstring& logDir) : m_strLogDir(logDir) {}
    virtual ~CLogBase() = default;
    CLogBase(const CLogBase&) = delete;
    CLogBase& operator=(const CLogBase&) = delete;

    virtual void WritePacket(const CPacketLog& packet) = 0;
    virtual void WriteHex(const unsigned char* data, int length, std::string fileName) = 0;
    virtual void WriteText(std::string text, std::string fileName) = 0;

protected:
    const std::wstring m_strLogDir;
};
