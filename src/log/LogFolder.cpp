#include "log/LogFolder.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "log/FileIdentity.h"

namespace {

// Owned by Administrators; SYSTEM and Administrators full control, Users read; protected, so
// nothing is inherited from the all-users folder, where every user may create and write.
const wchar_t kLogFolderSddl[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FR;;;BU)";
const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A copy of the owner SID of what the handle opened; empty when it cannot be read.
std::vector<BYTE> OwnerOf(HANDLE handle)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(handle, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
        return std::vector<BYTE>();
    CLocalSecurityDescriptor hold(descriptor);
    if (!owner || !IsValidSid(owner))
        return std::vector<BYTE>();
    const BYTE* bytes = static_cast<const BYTE*>(owner);
    return std::vector<BYTE>(bytes, bytes + GetLengthSid(owner));
}

void CreateLogFolder(const std::wstring& folder)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kLogFolderSddl, SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return;
    CLocalSecurityDescriptor hold(descriptor);
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
    CreateDirectoryW(folder.c_str(), &attributes);
}

} // namespace

bool IsTrustedLogFolderOwner(PSID owner, PSID parentOwner)
{
    if (!owner || !IsValidSid(owner))
        return false;
    return IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
           IsWellKnownSid(owner, WinLocalSystemSid) ||
           (parentOwner && IsValidSid(parentOwner) && EqualSid(owner, parentOwner));
}

LogFolder OpenLogFolder(const std::wstring& baseFolder)
{
    LogFolder result;
    // No base, no log: a folder relative to wherever the tool was started is the user's.
    if (baseFolder.empty())
        return result;
    result.path = baseFolder + L"ToolLog\\";

    // The base is trusted as the system found it, links included; ToolLog is judged against
    // the base's own final path.
    CFileHandle parent(CreateFileW(baseFolder.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                   kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                   nullptr));
    std::wstring parentPath = parent.IsValid() ? FinalPathOf(parent.Get()) : std::wstring();
    if (parentPath.empty())
        return result;
    std::vector<BYTE> parentOwner = OwnerOf(parent.Get());
    if (parentPath.back() != L'\\')
        parentPath += L'\\';
    std::wstring folder = parentPath + L"ToolLog";
    result.path = folder + L"\\";

    if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND)
        CreateLogFolder(folder);

    CFileHandle handle = OpenPlainFolder(folder, READ_CONTROL);
    std::vector<BYTE> owner = handle.IsValid() ? OwnerOf(handle.Get()) : std::vector<BYTE>();
    PSID parentSid = parentOwner.empty() ? nullptr : parentOwner.data();
    result.usable = !owner.empty() && IsTrustedLogFolderOwner(owner.data(), parentSid);
    return result;
}
