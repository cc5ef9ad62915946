#pragma once

#include <windows.h>

// Looks for files by name or wildcard pattern.
class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // True when something (file or folder) matches the name.
    bool FindFile(const wchar_t* name);
    void Close();

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
};
