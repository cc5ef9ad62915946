#include "log/LogSaveCloseFile.h"

#include "log/FileIdentity.h"
#include "log/LogLine.h"

void CLogSaveCloseFile::WritePacket(const CPacketLog& packet)
{
    // Content and file name are code page 936 already: the bytes go to the file as they
    // are, so the system's ANSI code page never touches them.
    CScopedLock hold(m_lock);

    std::wstring name = WideFromGbk(packet.GetFileName());
    if (name.empty())
        return;
    std::wstring path = m_strLogDir + name;

    CFileHandle file = OpenOwnFile(path);
    LARGE_INTEGER zero = {};
    if (!file.IsValid() || !SetFilePointerEx(file.Get(), zero, nullptr, FILE_END))
        return;

    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string line = FormatLogLine(now, packet.GetContent());
    DWORD written = 0;
    if (!WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
        return;

    LARGE_INTEGER size;
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > kRotateLimit)
        RenameByHandle(file.Get(), path + L"bak");
}

void CLogSaveCloseFile::WriteHex(const unsigned char* data, int length, std::string fileName)
{
    CPacketLog packet;
    packet.SetContent(data ? FormatHexDump(data, length) : std::string());
    packet.SetFileName(fileName);
    WritePacket(packet);
}

void CLogSaveCloseFile::WriteText(std::string text, std::string fileName)
{
    CPacketLog packet;
    packet.SetContent(text);
    packet.SetFileName(fileName);
    WritePacket(packet);
}
