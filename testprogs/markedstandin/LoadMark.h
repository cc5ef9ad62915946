// A library of the tests leaves a mark when the system runs its DllMain: a line with the
// loading program's path, appended to a file of the given name beside the library.
#pragma once

#include <windows.h>

#include <string>

inline void LeaveLoadMark(HMODULE self, const wchar_t* markName)
{
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    std::wstring mark(path, length);
    mark.resize(mark.find_last_of(L'\\') + 1);
    mark += markName;

    wchar_t host[MAX_PATH];
    DWORD hostLength = ::GetModuleFileNameW(nullptr, host, MAX_PATH);
    HANDLE file = ::CreateFileW(mark.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char line[MAX_PATH * 3 + 2];
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, host, static_cast<int>(hostLength), line,
                                      MAX_PATH * 3, nullptr, nullptr);
    line[bytes++] = '\n';
    DWORD written = 0;
    ::WriteFile(file, line, static_cast<DWORD>(bytes), &written, nullptr);
    ::CloseHandle(file);
}
