#pragma once

#include <windows.h>

#include <string>

// Both runners start "cmd /C <command>" with the system folder's command interpreter and
// the Windows folder as its current folder, so the console tools come from the PATH only
// and never from the program's folder. Under WOW64 the file-system redirection is off for
// the calling thread while the child runs, so the native 64-bit tools are used. Both block
// until the child has ended and return false only when it was not started.

// Longest command line passed to the command interpreter, "cmd /C " included.
const size_t kMaxCommandLine = 1023;

bool IsWow64();

// exitCode, when given, receives the exit code of the command interpreter, which is that of
// the command it ran.
bool RunCommand(std::wstring command, bool show, DWORD* exitCode = nullptr);

// Appends everything the child writes to standard output and standard error to output, as
// bytes. Each chunk read is cut at its first zero byte.
bool RunCommandCapture(std::wstring command, std::string& output);
