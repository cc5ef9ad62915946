#pragma once

#include <windows.h>

#include <string>

// Both runners start "cmd /D /S /C "<command>"" with the system folder's command interpreter,
// the system's Windows folder as its current folder and the machine's environment (never the
// tool's own, which the user's settings shape), so nothing of the user's is found or run.
// Under WOW64 the file-system redirection is off for the calling thread while the child is
// created, and for nothing else, so the native 64-bit tools are started. Each child runs in a job of its own: once it has ended,
// whatever it left running is ended too. Both block until the child has ended and return
// false when it was not started.

// Longest command line passed to the command interpreter, "cmd /D /S /C "..."" included.
const size_t kMaxCommandLine = 1023;
// Most bytes one capture keeps; the rest of a runaway output is read and dropped.
const size_t kMaxCapturedOutput = 4 * 1024 * 1024;

// "cmd /D /S /C "<command>"": the interpreter's command line for a command.
std::wstring InterpreterCommandLine(const std::wstring& command);

bool IsWow64();

// show: the interpreter's console window is shown; else it has none, and no show state is
// given, so a windowed program the command starts shows its window as it would by itself.
// The child's standard handles are the NUL device, and it inherits nothing else. exitCode,
// when given, receives the exit code of the command interpreter, which is that of the command
// it ran. No time limit: the command may wait for its user.
bool RunCommand(std::wstring command, bool show, DWORD* exitCode = nullptr);

// Appends what the child writes to standard output and standard error to output, as bytes,
// up to kMaxCapturedOutput of them. Each chunk read is cut at its first zero byte. The child's
// standard input is the NUL device, and the pipe and NUL are the only handles it inherits.
// The child has no console window.
// Past timeLimitMs the child and everything it started are ended and false is returned, as
// for a child that was not started; the limit holds also while the child writes without pause.
// Once the child has ended, what is left in the pipe is read for a short, bounded time.
bool RunCommandCapture(std::wstring command, std::string& output, DWORD* exitCode = nullptr,
                       DWORD timeLimitMs = INFINITE);
