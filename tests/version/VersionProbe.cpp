// Reports, on one line of its standard output, what this process sees of the Windows version:
//   peb=<major>.<minor> query=<major>.<minor> supported=<0|1>
// "query" is what GetVersionExW tells this executable; "supported" is the repair engine's answer.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "repair/RepairEngine.h"
#include "repair/WindowsVersion.h"

int wmain()
{
    DWORD major = 0;
    DWORD minor = 0;
    ReadPebVersion(&major, &minor);

    OSVERSIONINFOW query = {};
    query.dwOSVersionInfoSize = sizeof query;
    if (!GetVersionExW(&query))
        return 2;

    CRepairEngine engine;
    _setmode(_fileno(stdout), _O_BINARY);
    printf("peb=%lu.%lu query=%lu.%lu supported=%d\n", major, minor, query.dwMajorVersion,
           query.dwMinorVersion, engine.IsSupportedWindows() ? 1 : 0);
    return 0;
}
