#include "framework/StdioFile.h"

#include <cstring>

bool CStdioFile::Open(const wchar_t* path, unsigned flags)
{
    Close();
    DWORD access = GENERIC_READ;
    if (flags & modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    else if (flags & modeWrite)
        access = GENERIC_WRITE;
    DWORD share = (flags & shareDenyNone) ? (FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE) : 0;
    DWORD disposition = OPEN_EXISTING;
    if (flags & modeCreate)
        disposition = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    m_hFile = CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    m_used = 0;
    m_bFailed = false;
    return IsOpen();
}

bool CStdioFile::SeekToEnd()
{
    if (!Flush())
        return false;
    LARGE_INTEGER zero = {};
    return SetFilePointerEx(m_hFile, zero, nullptr, FILE_END) != FALSE;
}

bool CStdioFile::Write(const void* data, unsigned length)
{
    if (!IsOpen())
        return false;
    const char* bytes = static_cast<const char*>(data);
    while (length > 0) {
        if (m_used == kBufferSize && !Flush())
            return false;
        unsigned room = kBufferSize - m_used;
        unsigned part = length < room ? length : room;
        memcpy(m_buffer + m_used, bytes, part);
        m_used += part;
        bytes += part;
        length -= part;
    }
    return !m_bFailed;
}

bool CStdioFile::Flush()
{
    if (!IsOpen())
        return false;
    unsigned done = 0;
    while (done < m_used) {
        DWORD written = 0;
        if (!WriteFile(m_hFile, m_buffer + done, m_used - done, &written, nullptr) || written == 0) {
            m_bFailed = true;
            break;
        }
        done += written;
    }
    m_used = 0;
    return !m_bFailed;
}

long long CStdioFile::GetLength()
{
    if (!IsOpen())
        return -1;
    Flush();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size))
        return -1;
    return size.QuadPart;
}

void CStdioFile::Close()
{
    if (!IsOpen())
        return;
    Flush();
    CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_used = 0;
}
