// Which Windows this process runs on, as the loader recorded it in the process environment block.
#pragma once

#include <windows.h>

// The major and minor version from the environment block of this process. Unlike the version
// query functions, these fields do not depend on what the executable's manifest declares.
void ReadPebVersion(DWORD* pMajor, DWORD* pMinor);

// True only for 10.0, the one system the repair is meant for.
bool IsSupportedVersion(DWORD major, DWORD minor);
