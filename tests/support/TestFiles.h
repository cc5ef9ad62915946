// Whole-file reads and writes for tests: fixtures, journals, logs.
#pragma once

#include <string>

// The whole file, opened with full sharing so that a writer may still hold it; "" when absent.
std::string ReadFileBytes(const std::wstring& path);
// Replaces the file with exactly these bytes.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
