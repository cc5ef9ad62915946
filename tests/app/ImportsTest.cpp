// What the delivered program makes the loader find before its first line runs. The loader
// looks for a library that is not one of the system's known DLLs in the program's own folder
// first, which is the user's Downloads: every such import would be a door for a planted file
// to run elevated.
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

// The names in the import directory of a PE image, lower case; empty when it is not one.
std::vector<std::string> ImportedLibraries(const std::string& image)
{
    std::vector<std::string> names;
    auto at = [&image](size_t offset, size_t size) {
        return offset + size <= image.size() ? image.data() + offset : nullptr;
    };
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0, sizeof(IMAGE_DOS_HEADER)));
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return names;
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(at(dos->e_lfanew, sizeof(IMAGE_NT_HEADERS32)));
    if (!nt || nt->Signature != IMAGE_NT_SIGNATURE)
        return names;
    auto sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
        at(dos->e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader,
           nt->FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER)));
    auto fileOffset = [&](DWORD rva) -> size_t {
        for (WORD i = 0; sections && i < nt->FileHeader.NumberOfSections; ++i)
            if (rva >= sections[i].VirtualAddress && rva < sections[i].VirtualAddress + sections[i].SizeOfRawData)
                return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
        return image.size();
    };
    DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (size_t offset = fileOffset(rva);; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        auto entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(offset, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
        if (!entry || entry->Name == 0)
            break;
        const char* name = at(fileOffset(entry->Name), 1);
        std::string lower = name ? std::string(name, strnlen(name, image.data() + image.size() - name)) : "?";
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        names.push_back(lower);
    }
    return names;
}

}  // namespace

TEST(DeliveredProgram, ImportsOnlyKnownSystemLibrariesAtStart)
{
    // The known DLLs of Windows 10 among what a program like ours uses; common controls 6
    // comes from the side-by-side store, as the manifest asks.
    const char* const known[] = {"advapi32.dll", "comctl32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
                                 "ole32.dll",    "oleaut32.dll", "shell32.dll", "shlwapi.dll", "user32.dll"};
    std::vector<std::string> imports = ImportedLibraries(ReadFileBytes(BuildPath(L"deliver\\Corvina.exe")));
    ASSERT_TRUE(std::find(imports.begin(), imports.end(), "kernel32.dll") != imports.end())
        << "the program's import directory was read";
    for (const std::string& name : imports)
        EXPECT_TRUE(std::find(std::begin(known), std::end(known), name) != std::end(known))
            << name << " would be looked for beside the tool before its first line";
}
