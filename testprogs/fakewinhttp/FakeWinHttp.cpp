// A winhttp.dll of ours, planted beside the tool in a test: loaded into a process, it leaves
// winhttp-loaded.txt beside itself.
#include <windows.h>

#include "../markedstandin/LoadMark.h"

extern "C" __declspec(dllexport) BOOL WINAPI WinHttpCheckPlatform()
{
    return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        LeaveLoadMark(instance, L"winhttp-loaded.txt");
    return TRUE;
}
