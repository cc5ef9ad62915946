#pragma once

#include <windows.h>

#include <string>

// Both runners start "cmd /D /C <command>" with the system folder's command interpreter and
// the Windows folder as its current folder, so the console tools come from the PATH only
// and never from the program's folder. Under WOW64 the file-system redirection is off for
// the calling thread while the child runs, so the native 64-bit tools are used. Both block
// until the child has ended and return false only when it was not started.

// Longest command line passed to the command interpreter, "cmd /D /C " included.
const size_t kMaxCommandLine = 1023;
// Most bytes one capture keeps; the rest of a runaway output is read and dropped.
const size_t kMaxCapturedOutput = 4 * 1024 * 1024;

// "cmd /D /C <command>": the interpreter's command line for a command.
std::wstring InterpreterCommandLine(const std::wstring& command);

bool IsWow64();

// The child inherits no handle. exitCode, when given, receives the exit code of the command
// interpreter, which is that of the command it ran.
bool RunCommand(std::wstring command, bool show, DWORD* exitCode = nullptr);

// Appends what the child writes to standard output and standard error to output, as bytes,
// up to kMaxCapturedOutput of them. Each chunk read is cut at its first zero byte. The child's
// standard input is the NUL device, and the pipe and NUL are the only handles it inherits.
bool RunCommandCapture(std::wstring command, std::string& output);
