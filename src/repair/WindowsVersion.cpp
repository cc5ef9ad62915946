#include "repair/WindowsVersion.h"

#include <winternl.h>

#include "repair/RepairEngine.h"

namespace {

// Offsets of OSMajorVersion and OSMinorVersion in the environment block.
#ifdef _WIN64
const size_t kPebMajorOffset = 0x118;
const size_t kPebMinorOffset = 0x11C;
#else
const size_t kPebMajorOffset = 0xA4;
const size_t kPebMinorOffset = 0xA8;
#endif

struct KnownVersion
{
    DWORD major;
    DWORD minor;
    bool supported;
};

// Every system the repair knows of; a pair not listed is not supported either.
const KnownVersion kKnownVersions[] = {
    {5, 0, false},   // Windows 2000
    {5, 1, false},   // Windows XP
    {5, 2, false},   // Windows Server 2003
    {6, 0, false},   // Windows Vista
    {6, 1, false},   // Windows 7
    {6, 2, false},   // Windows 8
    {6, 3, false},   // Windows 8.1
    {10, 0, true},   // Windows 10
};

} // namespace

// GCC takes the fs-relative read inside NtCurrentTeb for an access through a null pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
void ReadPebVersion(DWORD* pMajor, DWORD* pMinor)
{
    // The thread information block leads to the process environment block.
    const BYTE* peb = reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    *pMajor = *reinterpret_cast<const DWORD*>(peb + kPebMajorOffset);
    *pMinor = *reinterpret_cast<const DWORD*>(peb + kPebMinorOffset);
}
#pragma GCC diagnostic pop

bool IsSupportedVersion(DWORD major, DWORD minor)
{
    for (const KnownVersion& known : kKnownVersions)
    {
        if (known.major == major && known.minor == minor)
            return known.supported;
    }
    return false;
}

bool CRepairEngine::IsSupportedWindows()
{
    DWORD major = 0;
    DWORD minor = 0;
    ReadPebVersion(&major, &minor);
    return IsSupportedVersion(major, minor);
}
