// Formatting into std::wstring / std::string, always bounded by the result's own buffer.
#pragma once

#include <string>

std::wstring FormatString(const wchar_t* format, ...);
std::string FormatStringA(const char* format, ...);
