// Which folders the self-removal keeps even when it leaves them empty: the known folders under
// any spelling, and drive roots; never an ordinary folder.
#include "ToolRun.h"
#include "app/KnownFolder.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cwctype>

namespace {

std::wstring KnownFolderPath(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)))
        result = path;
    ::CoTaskMemFree(path);
    return result;
}

std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

std::wstring ShortName(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH];
    DWORD length = ::GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

struct FolderCase {
    const char* name;
    std::wstring folder;
    bool kept;
};

}  // namespace

TEST(KnownFolder, KnownFoldersAndDriveRootsAreKeptOrdinaryFoldersNot)
{
    const std::wstring savedGames = KnownFolderPath(FOLDERID_SavedGames);
    const std::wstring ordinary = TempRoot() + L"\\ordinary" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(TempRoot().c_str(), nullptr);
    ASSERT_TRUE(::CreateDirectoryW(ordinary.c_str(), nullptr));
    const std::wstring savedGamesShort = ShortName(savedGames);
    ASSERT_NE(savedGamesShort, savedGames) << "a short name of its own";

    const FolderCase cases[] = {
        {"Downloads", KnownFolderPath(FOLDERID_Downloads), true},
        {"Desktop", KnownFolderPath(FOLDERID_Desktop), true},
        {"Documents", KnownFolderPath(FOLDERID_Documents), true},
        {"the profile", KnownFolderPath(FOLDERID_Profile), true},
        {"all profiles", KnownFolderPath(FOLDERID_UserProfiles), true},
        {"Public", KnownFolderPath(FOLDERID_Public), true},
        {"Public Documents", KnownFolderPath(FOLDERID_PublicDocuments), true},
        {"ProgramData", KnownFolderPath(FOLDERID_ProgramData), true},
        {"Windows", KnownFolderPath(FOLDERID_Windows), true},
        {"Saved Games", savedGames, true},
        {"Saved Games in capitals", Upper(savedGames), true},
        {"Saved Games by its short name", savedGamesShort, true},
        {"drive C: as left of C:\\Corvina.exe", L"C:", true},
        {"drive Z:", L"Z:", true},
        {"an ordinary folder", ordinary, false},
        {"a folder inside Saved Games", savedGames + L"\\mine", false},
        {"a folder that is not there", ordinary + L"\\missing", false},
    };
    ::CreateDirectoryW((savedGames + L"\\mine").c_str(), nullptr);
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.folder.empty());
        EXPECT_EQ(IsKnownFolderOrDriveRoot(c.folder), c.kept);
    }
    ::RemoveDirectoryW((savedGames + L"\\mine").c_str());
    ::RemoveDirectoryW(ordinary.c_str());
}
