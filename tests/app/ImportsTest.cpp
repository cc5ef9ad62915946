// What the delivered program makes the loader find before its first line runs. The loader
// looks for a library that is not one of the system's known DLLs in the program's own folder
// first, which is the user's Downloads: every such import would be a door for a planted file
// to run elevated.
#include "ToolRun.h"

#include <gtest/gtest.h>
#include <imagehlp.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

// A 32-bit PE image as its file holds it: the headers, and where in the file an RVA lies.
struct PeFile {
    PeFile(const PeFile&) = delete;  // the pointers lead into image
    explicit PeFile(std::string bytes) : image(std::move(bytes))
    {
        auto dos = At<IMAGE_DOS_HEADER>(0);
        if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE)
            return;
        auto headers = At<IMAGE_NT_HEADERS32>(dos->e_lfanew);
        if (!headers || headers->Signature != IMAGE_NT_SIGNATURE)
            return;
        sections = At<IMAGE_SECTION_HEADER>(
            dos->e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + headers->FileHeader.SizeOfOptionalHeader,
            headers->FileHeader.NumberOfSections);
        nt = sections ? headers : nullptr;
    }

    // count Ts at offset, or null when the file ends before.
    template <typename T>
    const T* At(size_t offset, size_t count = 1) const
    {
        return offset + count * sizeof(T) <= image.size() ? reinterpret_cast<const T*>(image.data() + offset) : nullptr;
    }

    // Where size bytes at rva lie in the file; past its end when they are not all in one section's data.
    size_t FileOffset(DWORD rva, DWORD size = 1) const
    {
        for (WORD i = 0; nt && i < nt->FileHeader.NumberOfSections; ++i)
            if (rva >= sections[i].VirtualAddress && size <= sections[i].SizeOfRawData &&
                rva - sections[i].VirtualAddress <= sections[i].SizeOfRawData - size)
                return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
        return image.size();
    }

    const IMAGE_DATA_DIRECTORY& Directory(int entry) const { return nt->OptionalHeader.DataDirectory[entry]; }

    std::string image;
    const IMAGE_NT_HEADERS32* nt = nullptr;  // null when the file is no PE image
    const IMAGE_SECTION_HEADER* sections = nullptr;
};

PeFile DeliveredProgram()
{
    return PeFile(ReadFileBytes(BuildPath(L"deliver\\Corvina.exe")));
}

// The names in the import directory, lower case.
std::vector<std::string> ImportedLibraries(const PeFile& pe)
{
    std::vector<std::string> names;
    const std::string& image = pe.image;
    for (size_t offset = pe.FileOffset(pe.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress);;
         offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        auto entry = pe.At<IMAGE_IMPORT_DESCRIPTOR>(offset);
        if (!entry || entry->Name == 0)
            break;
        const char* name = pe.At<char>(pe.FileOffset(entry->Name));
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
    PeFile pe = DeliveredProgram();
    ASSERT_TRUE(pe.nt) << "the program is a 32-bit PE image";
    std::vector<std::string> imports = ImportedLibraries(pe);
    ASSERT_TRUE(std::find(imports.begin(), imports.end(), "kernel32.dll") != imports.end())
        << "the program's import directory was read";
    for (const std::string& name : imports)
        EXPECT_TRUE(std::find(std::begin(known), std::end(known), name) != std::end(known))
            << name << " would be looked for beside the tool before its first line";
}

// Even an import added later comes from the system folder, on Windows 10 1607 and later: the
// loader takes the program's load configuration, and nothing else in it may ask for more.
TEST(DeliveredProgram, TakesItsImportsFromTheSystemFolderOnly)
{
    PeFile pe = DeliveredProgram();
    ASSERT_TRUE(pe.nt) << "the program is a 32-bit PE image";
    const IMAGE_DATA_DIRECTORY& directory = pe.Directory(IMAGE_DIRECTORY_ENTRY_LOAD_CONFIG);
    // Of x86 images the loader takes 64 here; the structure's first field says how long it is.
    EXPECT_EQ(64u, directory.Size);
    auto configuration = pe.At<IMAGE_LOAD_CONFIG_DIRECTORY32>(
        pe.FileOffset(directory.VirtualAddress, sizeof(IMAGE_LOAD_CONFIG_DIRECTORY32)));
    ASSERT_TRUE(configuration) << "the directory (RVA " << directory.VirtualAddress << ") lies in a section's data";
    EXPECT_EQ(sizeof *configuration, configuration->Size);
    EXPECT_EQ(LOAD_LIBRARY_SEARCH_SYSTEM32, configuration->Reserved1) << "DependentLoadFlags";
    EXPECT_EQ(0u, configuration->SecurityCookie) << "no cookie for the loader to set up";
    EXPECT_EQ(0u, configuration->SEHandlerTable) << "no table of safe exception handlers";
    EXPECT_EQ(0u, configuration->SEHandlerCount);
    IMAGE_LOAD_CONFIG_DIRECTORY32 rest = *configuration, none{};
    rest.Size = 0;
    rest.Reserved1 = 0;
    EXPECT_EQ(0, memcmp(&none, &rest, sizeof rest)) << "no other setting of the loader's";

    // Changed after the link, the file still matches the checksum in its header.
    DWORD headerSum = 0, fileSum = 0;
    ASSERT_NE(nullptr, CheckSumMappedFile(const_cast<char*>(pe.image.data()), pe.image.size(), &headerSum, &fileSum));
    EXPECT_EQ(fileSum, headerSum);
}
