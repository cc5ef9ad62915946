#pragma once

#include <windows.h>

#include <string>

// One line of a log file: "[yyyy-mm-dd hh:mm:ss mmmms]   " + content + CR LF, in the
// content's own bytes.
std::string FormatLogLine(const SYSTEMTIME& time, const std::string& content);

// The bytes as "%02X " items: "0A FF 00 ".
std::string FormatHexDump(const unsigned char* data, int length);

// A code page 936 name as wide text; empty when it does not convert.
std::wstring WideFromGbk(const std::string& text);
