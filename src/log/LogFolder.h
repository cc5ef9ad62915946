#pragma once

#include <windows.h>

#include <memory>
#include <string>

// The log folder "ToolLog" lies where every user may create folders, and the elevated tool
// writes and renames in it: it writes only to a folder that no standard user can have made or
// redirected.

struct LogFolder {
    std::wstring path;  // ending in a backslash, as the system names it once the base is found
    bool usable = false;
};

// Finds, or creates with the security below, the folder "ToolLog" in baseFolder (ending in a
// backslash). Usable only when it is a real folder, no reparse point, reached by its own path,
// and owned by a trusted owner. An empty baseFolder is never usable.
LogFolder OpenLogFolder(const std::wstring& baseFolder);

// An owner that may hold the log folder: Administrators, SYSTEM, or the owner of the folder it
// lies in, who could replace it anyway. On Windows the all-users folder belongs to SYSTEM, so
// that adds nobody; under Wine every file belongs to the one user the prefix runs as.
bool IsTrustedLogFolderOwner(PSID owner, PSID parentOwner);

struct LocalFreeDeleter {
    void operator()(void* memory) const { LocalFree(memory); }
};
using CLocalSecurityDescriptor = std::unique_ptr<void, LocalFreeDeleter>;
