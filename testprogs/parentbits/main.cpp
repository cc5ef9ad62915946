// Prints "parent 32-bit" or "parent 64-bit" for the process that started this one, or
// "parent unknown".
#include <windows.h>
#include <winternl.h>

#include <cstdio>

namespace {

typedef NTSTATUS(NTAPI* QueryInformationProcessFn)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

DWORD ParentProcessId()
{
    auto query = reinterpret_cast<QueryInformationProcessFn>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess"));
    if (!query)
        return 0;
    PROCESS_BASIC_INFORMATION info = {};
    if (query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), nullptr) != 0)
        return 0;
    return static_cast<DWORD>(info.InheritedFromUniqueProcessId);
}

}  // namespace

int wmain()
{
    const char* answer = "parent unknown";
    HANDLE parent = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ParentProcessId());
    if (parent) {
        BOOL wow64 = FALSE;
        if (IsWow64Process(parent, &wow64))
            answer = wow64 ? "parent 32-bit" : "parent 64-bit";
        CloseHandle(parent);
    }
    printf("%s\n", answer);
    return 0;
}
