// Loaded into a process, this library appends the process's executable path to
// riched20-loaded.txt beside itself: the mark that a planted library got in.
#include <windows.h>

#include "../markedstandin/LoadMark.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        LeaveLoadMark(instance, L"riched20-loaded.txt");
    return TRUE;
}
