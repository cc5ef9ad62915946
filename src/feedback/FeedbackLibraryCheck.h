// The feedback library's check, started when the process starts on a thread of its own, so
// that opening the file and verifying its signature run beside the window creation. The file
// stays held from the check until the library is loaded.
#pragma once

#include <string>

#include "feedback/LibrarySignature.h"

// The library's full path beside the running executable; "" when that path is unknown.
std::wstring FeedbackLibraryPath();

// Opens and checks the library beside the executable on a thread of its own.  Call once,
// before anything takes the verdict.  Without a thread the check runs when taken.
void StartFeedbackLibraryCheck();

// Waits for the started check and returns its verdict; checks here when none was started.
LibraryTrust WaitFeedbackLibraryCheck();

// The checked library: its path and the file held open since the check, valid only when the
// verdict was Trusted.  Hands the started check's file out once; later calls check anew.
CFileHandle TakeCheckedFeedbackLibrary(std::wstring& path);

// Waits for a started check and closes a file nobody took: before the process ends.
void EndFeedbackLibraryCheck();
