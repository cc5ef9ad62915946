// After a normal close the tool removes what it brought with it, and its folder when that
// is left empty and is no known folder or drive root: a user's own files beside it are never
// touched.
#pragma once

#include <windows.h>

#include <string>

// The files the tool brought, beside the executable at exePath, in the order they go.
struct OwnFiles {
    std::wstring folder;  // no trailing backslash
    std::wstring executable;
    std::wstring library;
    std::wstring libraryConfig;
};

// False when exePath names no file inside a folder.
bool OwnFilesOf(const std::wstring& exePath, OwnFiles& files);

// What the deleter may remove: each file only when it is a plain file with one name, the
// folder only when it is a plain folder and none of the known folders, of this account or of
// the desktop's user, each found at exactly its own path (no link on the way).
struct RemovalPlan {
    bool executable = false;
    bool library = false;
    bool libraryConfig = false;
    bool folder = false;
};

// Looks at the files and the folder as they are now; desktopUserToken as for
// IsKnownFolderOrDriveRoot.
RemovalPlan PlanOwnFilesRemoval(const OwnFiles& files, HANDLE desktopUserToken);

// The command interpreter's arguments for a plan. The paths are not in the text: they reach
// the interpreter as variables of its environment, quoted where they are used, so no character
// of a path (blanks, & ^ ( ) % !) is ever read as part of the command.
std::wstring OwnFilesRemovalArguments(const RemovalPlan& plan);

// The token the deleter is started with, owned by the caller; null when there is none.
typedef HANDLE (*DeleterTokenSource)();

// The desktop user's token: that of the shell window's process, duplicated as a primary
// token that the shell may also be asked that user's known folders with. Null when there is
// no shell window or its token cannot be had.
HANDLE DesktopUserToken();

// Starts the hidden interpreter from the system folder, in the Windows folder, with the token
// of tokenSource, that waits three seconds and then removes what the plan allows. False when
// it did not start: no token, nothing to remove, or the start failed.
bool ScheduleOwnFilesRemoval(const std::wstring& exePath,
                             DeleterTokenSource tokenSource = DesktopUserToken);

// The same for the running executable.
void RemoveOwnFolder();
