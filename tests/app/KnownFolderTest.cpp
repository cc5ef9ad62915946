// Which folders the self-removal keeps even when it leaves them empty: the known folders under
// any spelling, of this account and of the desktop's user, and drive roots; never an ordinary
// folder.
#include "DesktopShell.h"
#include "ToolRun.h"
#include "app/KnownFolder.h"
#include "app/OwnFolderRemoval.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <winternl.h>

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
    HANDLE desktopUser;
};

// Under Wine every token is the one user of the prefix, whose folders the shell gives for any
// token. So the shell's answers stand in for a desktop user who is not this account: for a
// token that is not elevated, Downloads is g_desktopUsersDownloads. And as Windows documents,
// another user's folders need a token opened for query and impersonation.
std::wstring g_desktopUsersDownloads;

bool MayAskForUser(HANDLE token)
{
    typedef NTSTATUS(NTAPI * QueryObjectFn)(HANDLE, OBJECT_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    auto queryObject = reinterpret_cast<QueryObjectFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
    PUBLIC_OBJECT_BASIC_INFORMATION info{};
    const ACCESS_MASK needed = TOKEN_QUERY | TOKEN_IMPERSONATE;
    return queryObject && queryObject(token, ObjectBasicInformation, &info, sizeof(info), nullptr) == 0 &&
           (info.GrantedAccess & needed) == needed;
}

HRESULT WINAPI DesktopUserElsewhere(REFKNOWNFOLDERID id, DWORD flags, HANDLE token, PWSTR* path)
{
    *path = nullptr;
    if (!token)
        return ::SHGetKnownFolderPath(id, flags, nullptr, path);
    if (!MayAskForUser(token))
        return E_ACCESSDENIED;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!::GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size))
        return E_FAIL;
    if (elevation.TokenIsElevated || !::IsEqualGUID(id, FOLDERID_Downloads))
        return ::SHGetKnownFolderPath(id, flags, token, path);
    const size_t bytes = (g_desktopUsersDownloads.size() + 1) * sizeof(wchar_t);
    *path = static_cast<PWSTR>(::CoTaskMemAlloc(bytes));
    memcpy(*path, g_desktopUsersDownloads.c_str(), bytes);
    return S_OK;
}

}  // namespace

TEST(KnownFolder, KnownFoldersAndDriveRootsAreKeptOrdinaryFoldersNot)
{
    const std::wstring savedGames = KnownFolderPath(FOLDERID_SavedGames);
    const std::wstring ordinary = TempRoot() + L"\\ordinary" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(TempRoot().c_str(), nullptr);
    ASSERT_TRUE(::CreateDirectoryW(ordinary.c_str(), nullptr));
    const std::wstring savedGamesShort = ShortName(savedGames);
    ASSERT_NE(savedGamesShort, savedGames) << "a short name of its own";
    g_desktopUsersDownloads = ordinary + L"\\Downloads";
    ASSERT_TRUE(::CreateDirectoryW(g_desktopUsersDownloads.c_str(), nullptr));
    CDesktopShell shell;
    ASSERT_TRUE(shell.IsShown());
    HANDLE desktop = DesktopUserToken();
    ASSERT_TRUE(desktop);
    HANDLE queryOnly = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &queryOnly));

    const FolderCase cases[] = {
        {"Downloads", KnownFolderPath(FOLDERID_Downloads), true, nullptr},
        {"Desktop", KnownFolderPath(FOLDERID_Desktop), true, nullptr},
        {"Documents", KnownFolderPath(FOLDERID_Documents), true, nullptr},
        {"the profile", KnownFolderPath(FOLDERID_Profile), true, nullptr},
        {"all profiles", KnownFolderPath(FOLDERID_UserProfiles), true, nullptr},
        {"Public", KnownFolderPath(FOLDERID_Public), true, nullptr},
        {"Public Documents", KnownFolderPath(FOLDERID_PublicDocuments), true, nullptr},
        {"ProgramData", KnownFolderPath(FOLDERID_ProgramData), true, nullptr},
        {"Windows", KnownFolderPath(FOLDERID_Windows), true, nullptr},
        {"Saved Games", savedGames, true, nullptr},
        {"Saved Games in capitals", Upper(savedGames), true, nullptr},
        {"Saved Games by its short name", savedGamesShort, true, nullptr},
        {"drive C: as left of C:\\Corvina.exe", L"C:", true, nullptr},
        {"drive Z:", L"Z:", true, nullptr},
        {"an ordinary folder", ordinary, false, nullptr},
        {"a folder inside Saved Games", savedGames + L"\\mine", false, nullptr},
        {"a folder that is not there", ordinary + L"\\missing", false, nullptr},
        {"the desktop user's Downloads, not this account's", g_desktopUsersDownloads, true, desktop},
        {"the same folder with no desktop user", g_desktopUsersDownloads, false, nullptr},
        {"this account's Downloads, with the desktop user", KnownFolderPath(FOLDERID_Downloads), true, desktop},
        {"an ordinary folder, with the desktop user", ordinary, false, desktop},
        {"a folder inside the desktop user's Downloads", g_desktopUsersDownloads + L"\\mine", false, desktop},
        {"an ordinary folder, with a token the shell cannot answer for", ordinary, true, queryOnly},
    };
    ::CreateDirectoryW((savedGames + L"\\mine").c_str(), nullptr);
    ::CreateDirectoryW((g_desktopUsersDownloads + L"\\mine").c_str(), nullptr);
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.folder.empty());
        EXPECT_EQ(IsKnownFolderOrDriveRoot(c.folder, c.desktopUser, DesktopUserElsewhere), c.kept);
    }
    ::CloseHandle(queryOnly);
    ::CloseHandle(desktop);
    ::RemoveDirectoryW((g_desktopUsersDownloads + L"\\mine").c_str());
    ::RemoveDirectoryW(g_desktopUsersDownloads.c_str());
    ::RemoveDirectoryW((savedGames + L"\\mine").c_str());
    ::RemoveDirectoryW(ordinary.c_str());
}
