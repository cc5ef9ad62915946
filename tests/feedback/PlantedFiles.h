// Files put in the feedback library's place, as an attacker or an accident would leave them.
#pragma once

#include <string>

// Copies source to target with one byte of its first section's code changed.
bool CopyWithOneByteChanged(const std::wstring& source, const std::wstring& target);

// Removes a symbolic link itself, from the Linux side: Wine's DeleteFileW on a link to a file
// deletes its target and leaves the link, and cannot delete a dangling one.
bool RemoveSymbolicLink(const std::wstring& link);
