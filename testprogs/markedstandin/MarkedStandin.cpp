// The stand-in feedback library with two additions for the signature tests: its DllMain leaves
// standin-loaded.txt beside it, so that any code of it that ran shows; and it imports
// winhttp.dll, a system library that is not a known DLL, as the maker's library might.
#include <windows.h>
#include <winhttp.h>

#include "LoadMark.h"

// Never called: it is there so that the library imports winhttp.dll.
extern "C" BOOL MarkedStandinHttpAvailable()
{
    return ::WinHttpCheckPlatform();
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        LeaveLoadMark(instance, L"standin-loaded.txt");
    return TRUE;
}
