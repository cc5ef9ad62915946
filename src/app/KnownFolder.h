// Folders that Windows and its user rely on by name, which the tool must never remove even when
// it leaves one of them empty.
#pragma once

#include <windows.h>
#include <shtypes.h>

#include <string>

// How a user's known folder is asked for: SHGetKnownFolderPath's form. Null means the shell's own.
typedef HRESULT(WINAPI* KnownFolderPathFn)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);

// True when the folder is a drive's root (or a volume mounted in a folder), or one of the
// known folders of this process's account or of the user of desktopUserToken (null: no other
// user): the profile, Desktop, Downloads, Documents, the public folders, the program and system
// folders and the like. An elevated tool may run as an administrator who is not the desktop's
// user, and that user's folders are then others. The folder is compared with each known folder
// as the file system sees them, so another spelling of the same folder (case, short name, a
// link to it) counts too. When a user's profile folder cannot be had, nothing can be told
// apart from that user's folders: true.
bool IsKnownFolderOrDriveRoot(const std::wstring& folder, HANDLE desktopUserToken = nullptr,
                              KnownFolderPathFn knownFolderPath = nullptr);
