// Loaded into a process, this library appends the process's executable path to
// riched20-loaded.txt beside itself: the mark that a planted library got in.
#include <windows.h>

#include <string>

namespace {

void LeaveMark(HMODULE self)
{
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    std::wstring mark(path, length);
    mark.resize(mark.find_last_of(L'\\') + 1);
    mark += L"riched20-loaded.txt";

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

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        LeaveMark(instance);
    return TRUE;
}
