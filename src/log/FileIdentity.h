#pragma once

#include <windows.h>

#include <string>

// A name can lead elsewhere through a symbolic link, a junction or a second hard link; the
// handle it opened cannot. These tell what a handle really holds.

// Owns one file handle.
class CFileHandle {
public:
    explicit CFileHandle(HANDLE handle = INVALID_HANDLE_VALUE) : m_hFile(handle) {}
    ~CFileHandle() { Reset(); }
    CFileHandle(CFileHandle&& other) noexcept : m_hFile(other.m_hFile)
    {
        other.m_hFile = INVALID_HANDLE_VALUE;
    }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    bool IsValid() const { return m_hFile != INVALID_HANDLE_VALUE && m_hFile != nullptr; }
    HANDLE Get() const { return m_hFile; }
    void Reset(HANDLE handle = INVALID_HANDLE_VALUE);
    // Gives the handle up to the caller, who closes it.
    HANDLE Release()
    {
        HANDLE handle = m_hFile;
        m_hFile = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    HANDLE m_hFile;
};

// The final path of what the handle opened, without the long form's "\\?\" ("C:\x",
// "\\host\share\x"); "" when the system cannot tell.
std::wstring FinalPathOf(HANDLE handle);

// Opens the folder at exactly this path, with the access asked for, when it is a real folder:
// no reparse point, and not reached through a link above it.
CFileHandle OpenPlainFolder(const std::wstring& folder, DWORD access);

// Whether the handle holds a plain file (no folder, no reparse point, one name) whose final
// path is exactly path: under Wine a link to a file shows only in the final path.
bool IsPlainFile(HANDLE file, const std::wstring& path);

// Opens for appending, or creates, the one plain file at exactly this path. Refuses whatever a
// link could make of the name: a reparse point, a file with more than one link, or a handle
// whose final path is not the path (a link in a folder above). Creates only in a plain folder
// (checked just before) and never through a link at the name itself.
CFileHandle OpenOwnFile(const std::wstring& path);

// Renames the opened file itself to newPath, in the folder the file is in, replacing what is
// there: a link already at that name is replaced, not followed.
bool RenameByHandle(HANDLE file, const std::wstring& newPath);
