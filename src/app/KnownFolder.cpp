#include "app/KnownFolder.h"

#include "log/FileIdentity.h"

#include <windows.h>
#include <initguid.h>
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

namespace {

const KNOWNFOLDERID* const kKnownFolders[] = {
    // The user's own.
    &FOLDERID_Profile, &FOLDERID_Desktop, &FOLDERID_Downloads, &FOLDERID_Documents,
    &FOLDERID_Music, &FOLDERID_Pictures, &FOLDERID_Videos, &FOLDERID_Favorites, &FOLDERID_Links,
    &FOLDERID_Contacts, &FOLDERID_SavedGames, &FOLDERID_SavedSearches, &FOLDERID_SkyDrive,
    &FOLDERID_RoamingAppData, &FOLDERID_LocalAppData, &FOLDERID_LocalAppDataLow,
    &FOLDERID_Templates, &FOLDERID_StartMenu, &FOLDERID_Programs, &FOLDERID_Startup,
    &FOLDERID_Recent, &FOLDERID_SendTo, &FOLDERID_CameraRoll, &FOLDERID_Screenshots,
    &FOLDERID_Objects3D, &FOLDERID_UserProgramFiles,
    // Everyone's.
    &FOLDERID_UserProfiles, &FOLDERID_Public, &FOLDERID_PublicDesktop, &FOLDERID_PublicDocuments,
    &FOLDERID_PublicDownloads, &FOLDERID_PublicMusic, &FOLDERID_PublicPictures,
    &FOLDERID_PublicVideos, &FOLDERID_ProgramData, &FOLDERID_CommonStartMenu,
    &FOLDERID_CommonPrograms, &FOLDERID_CommonStartup, &FOLDERID_CommonTemplates,
    // The system's.
    &FOLDERID_Windows, &FOLDERID_System, &FOLDERID_SystemX86, &FOLDERID_ProgramFiles,
    &FOLDERID_ProgramFilesX86, &FOLDERID_ProgramFilesCommon, &FOLDERID_ProgramFilesCommonX86,
};

// What a folder is to the file system, whatever name reached it.
struct FolderIdentity {
    bool known = false;
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    std::wstring finalPath;
};

FolderIdentity IdentityOf(const std::wstring& folder)
{
    FolderIdentity identity;
    CFileHandle handle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!handle.IsValid() || !::GetFileInformationByHandle(handle.Get(), &info))
        return identity;
    identity.known = true;
    identity.volume = info.dwVolumeSerialNumber;
    identity.indexHigh = info.nFileIndexHigh;
    identity.indexLow = info.nFileIndexLow;
    identity.finalPath = FinalPathOf(handle.Get());
    return identity;
}

// Wine gives one folder a different volume on each drive that reaches it; its final path is
// the same.
bool IsSameFolder(const FolderIdentity& a, const FolderIdentity& b)
{
    if (!a.known || !b.known)
        return false;
    if (a.volume == b.volume && a.indexHigh == b.indexHigh && a.indexLow == b.indexLow)
        return true;
    return !a.finalPath.empty() && _wcsicmp(a.finalPath.c_str(), b.finalPath.c_str()) == 0;
}

bool IsDriveRoot(const std::wstring& folder)
{
    // "C:" is what is left of "C:\Corvina.exe" without its name.
    if (folder.size() == 2 && folder[1] == L':')
        return true;
    std::wstring withSlash = folder + L"\\";
    std::vector<wchar_t> volume(withSlash.size() + MAX_PATH);
    if (!::GetVolumePathNameW(withSlash.c_str(), volume.data(), static_cast<DWORD>(volume.size())))
        return false;
    return _wcsicmp(volume.data(), withSlash.c_str()) == 0;
}

// The shell library is looked up from the system folder when the tool closes, rather than
// loaded at every start.
typedef HRESULT(WINAPI* KnownFolderPathFn)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);

KnownFolderPathFn KnownFolderPathFunction()
{
    HMODULE shell = ::LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return shell ? reinterpret_cast<KnownFolderPathFn>(reinterpret_cast<void*>(
                       ::GetProcAddress(shell, "SHGetKnownFolderPath")))
                 : nullptr;
}

// Whether the folder is one of the known folders of token's user (null: this process's).
enum class KnownMatch { No, Yes, CannotTell };

KnownMatch MatchKnownFolders(const std::wstring& folder, const FolderIdentity& identity, HANDLE token,
                             KnownFolderPathFn knownFolderPath)
{
    for (const KNOWNFOLDERID* id : kKnownFolders) {
        PWSTR path = nullptr;
        if (FAILED(knownFolderPath(*id, KF_FLAG_DONT_VERIFY, token, &path))) {
            ::CoTaskMemFree(path);
            // Some known folders are missing on some systems; a user without a profile folder
            // is one the shell cannot answer for (a token without the rights it needs, say).
            if (id == &FOLDERID_Profile)
                return KnownMatch::CannotTell;
            continue;
        }
        const bool same = _wcsicmp(path, folder.c_str()) == 0 || IsSameFolder(identity, IdentityOf(path));
        ::CoTaskMemFree(path);
        if (same)
            return KnownMatch::Yes;
    }
    return KnownMatch::No;
}

}  // namespace

bool IsKnownFolderOrDriveRoot(const std::wstring& folder, HANDLE desktopUserToken,
                              KnownFolderPathFn knownFolderPath)
{
    if (IsDriveRoot(folder))
        return true;
    if (!knownFolderPath)
        knownFolderPath = KnownFolderPathFunction();
    // Without the shell's answers no folder can be told apart from a known one.
    if (!knownFolderPath)
        return true;
    const FolderIdentity identity = IdentityOf(folder);
    const KnownMatch own = MatchKnownFolders(folder, identity, nullptr, knownFolderPath);
    if (own != KnownMatch::No || !desktopUserToken)
        return own != KnownMatch::No;
    return MatchKnownFolders(folder, identity, desktopUserToken, knownFolderPath) != KnownMatch::No;
}
