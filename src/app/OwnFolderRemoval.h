// After a normal close the tool removes what it brought with it, and its folder when that
// is left empty: a user's own files beside it are never touched.
#pragma once

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

// The command interpreter's arguments. The paths are not in the text: they reach the
// interpreter as variables of its environment, quoted where they are used, so no character
// of a path (blanks, & ^ ( ) % !) is ever read as part of the command.
std::wstring OwnFilesRemovalArguments();

// Starts the hidden interpreter from the system folder, in the Windows folder, that waits
// three seconds and then removes the files and the empty folder. False when it did not start.
bool ScheduleOwnFilesRemoval(const std::wstring& exePath);

// The same for the running executable.
void RemoveOwnFolder();
