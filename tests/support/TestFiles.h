// Whole-file reads and writes for tests: fixtures, journals, logs.
#pragma once

#include <string>
#include <vector>

// The whole file, opened with full sharing so that a writer may still hold it; "" when absent.
std::string ReadFileBytes(const std::wstring& path);
// Replaces the file with exactly these bytes.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// A Unix symbolic link at link to target, as a standard user may plant one: Wine makes no link
// of its own (CreateSymbolicLinkW does nothing). Wine shows a link to a folder as a reparse
// point and a link to a file as a plain file.
bool MakeSymbolicLink(const std::wstring& target, const std::wstring& link);
// The text's non-empty lines, without their line ends (LF or CR LF).
std::vector<std::string> TextLines(const std::string& text);
// The file's non-empty lines, without their line ends (journals, fixtures).
std::vector<std::string> JournalLines(const std::wstring& path);
// Installed updates in a stand-ins' fixture file, as the stand-ins see them now.
std::vector<std::string> InstalledUpdates(const std::wstring& fixture);
