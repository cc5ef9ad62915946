#include "PlantedFiles.h"

#include <windows.h>

#include <cstring>

#include "support/TestFiles.h"

bool CopyWithOneByteChanged(const std::wstring& source, const std::wstring& target)
{
    std::string bytes = ReadFileBytes(source);
    if (bytes.size() < sizeof(IMAGE_DOS_HEADER))
        return false;
    IMAGE_DOS_HEADER dos;
    memcpy(&dos, bytes.data(), sizeof dos);
    size_t headers = static_cast<size_t>(dos.e_lfanew);
    if (headers + sizeof(IMAGE_NT_HEADERS32) > bytes.size())
        return false;
    IMAGE_NT_HEADERS32 nt;
    memcpy(&nt, bytes.data() + headers, sizeof nt);
    size_t sections = headers + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                      nt.FileHeader.SizeOfOptionalHeader;
    if (sections + sizeof(IMAGE_SECTION_HEADER) > bytes.size())
        return false;
    IMAGE_SECTION_HEADER first;
    memcpy(&first, bytes.data() + sections, sizeof first);
    size_t at = first.PointerToRawData + 16;
    if (first.SizeOfRawData <= 16 || at >= bytes.size())
        return false;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
    return WriteFileBytes(target, bytes);
}

bool RemoveSymbolicLink(const std::wstring& link)
{
    using ToUnix = char*(CDECL*)(const wchar_t*);
    using Spawn = LONG(WINAPI*)(char* const* argv, int wait);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll"), ntdll = GetModuleHandleW(L"ntdll.dll");
    auto toUnix = reinterpret_cast<ToUnix>(GetProcAddress(kernel, "wine_get_unix_file_name"));
    auto spawn = reinterpret_cast<Spawn>(GetProcAddress(ntdll, "__wine_unix_spawnvp"));
    if (!toUnix || !spawn)
        return false;
    char* argv[] = {const_cast<char*>("/bin/rm"), const_cast<char*>("-f"), toUnix(link.c_str()), nullptr};
    bool removed = argv[2] && spawn(argv, TRUE) == 0;
    HeapFree(GetProcessHeap(), 0, argv[2]);
    return removed;
}
