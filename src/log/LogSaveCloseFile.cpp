#include "log/LogSaveCloseFile.h"

#include "framework/StdioFile.h"
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

    CStdioFile file;
    if (!file.Open(path.c_str(), CStdioFile::modeReadWrite | CStdioFile::shareDenyNone |
                                     CStdioFile::modeCreate | CStdioFile::modeNoTruncate))
        return;
    if (!file.SeekToEnd())
        return;

    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string line = FormatLogLine(now, packet.GetContent());
    file.Write(line.data(), static_cast<unsigned>(line.size()));

    if (file.GetLength() > kRotateLimit) {
        file.Close();
        std::wstring backup = path + L"bak";
        MoveFileExW(path.c_str(), backup.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
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
