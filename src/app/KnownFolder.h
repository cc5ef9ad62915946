// Folders that Windows and its user rely on by name, which the tool must never remove even when
// it leaves one of them empty.
#pragma once

#include <string>

// True when the folder is a drive's root (or a volume mounted in a folder), or one of the
// user's or the system's known folders: the profile, Desktop, Downloads, Documents, the public
// folders, the program and system folders and the like. The folder is compared with each
// known folder as the file system sees them, so another spelling of the same folder (case,
// short name, a link to it) counts too.
bool IsKnownFolderOrDriveRoot(const std::wstring& folder);
