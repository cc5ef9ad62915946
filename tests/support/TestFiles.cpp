#include "support/TestFiles.h"

#include <windows.h>

#include <vector>

std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    std::vector<char> chunk(1 << 16);
    DWORD read = 0;
    while (::ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) && read > 0)
        bytes.append(chunk.data(), read);
    ::CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeSymbolicLink(const std::wstring& target, const std::wstring& link)
{
    using ToUnix = char*(CDECL*)(const wchar_t*);
    using Spawn = LONG(WINAPI*)(char* const* argv, int wait);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll"), ntdll = ::GetModuleHandleW(L"ntdll.dll");
    auto toUnix = reinterpret_cast<ToUnix>(::GetProcAddress(kernel, "wine_get_unix_file_name"));
    auto spawn = reinterpret_cast<Spawn>(::GetProcAddress(ntdll, "__wine_unix_spawnvp"));
    if (!toUnix || !spawn)
        return false;
    char* argv[] = {const_cast<char*>("/bin/ln"), const_cast<char*>("-s"), toUnix(target.c_str()),
                    toUnix(link.c_str()), nullptr};
    bool made = argv[2] && argv[3] && spawn(argv, TRUE) == 0;
    ::HeapFree(::GetProcessHeap(), 0, argv[2]);
    ::HeapFree(::GetProcessHeap(), 0, argv[3]);
    return made;
}

std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> JournalLines(const std::wstring& path)
{
    return TextLines(ReadFileBytes(path));
}

std::vector<std::string> InstalledUpdates(const std::wstring& fixture)
{
    std::vector<std::string> updates;
    for (const std::string& line : JournalLines(fixture)) {
        if (line.compare(0, 7, "update ") == 0)
            updates.push_back(line.substr(7));
    }
    return updates;
}
