#pragma once

#include <windows.h>

// A small buffered file for appending text bytes: writes collect in memory and reach the
// file on Flush, on a length query and on Close. Bytes are written exactly as given.
class CStdioFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyNone = 0x0040,
        modeNoTruncate = 0x1000,
        modeCreate = 0x2000,
    };

    CStdioFile() = default;
    ~CStdioFile() { Close(); }
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    bool Open(const wchar_t* path, unsigned flags);
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    bool SeekToEnd();
    bool Write(const void* data, unsigned length);
    bool Flush();
    // Length in bytes, including everything written so far; -1 on failure.
    long long GetLength();
    void Close();

private:
    static const unsigned kBufferSize = 4096;

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    char m_buffer[kBufferSize];
    unsigned m_used = 0;
    bool m_bFailed = false;
};
