#include "log/FileIdentity.h"

#include <cstring>
#include <vector>

namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, wcslen(prefix), prefix) == 0;
}

std::wstring PlainPath(const std::wstring& path)
{
    if (StartsWith(path, L"\\\\?\\UNC\\"))
        return L"\\" + path.substr(7);
    if (StartsWith(path, L"\\\\?\\"))
        return path.substr(4);
    return path;
}

// Case is ignored: Windows names one file in any case.
bool IsSamePath(const std::wstring& finalPath, const std::wstring& path)
{
    return CompareStringOrdinal(finalPath.c_str(), static_cast<int>(finalPath.size()), path.c_str(),
                                static_cast<int>(path.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

void CFileHandle::Reset(HANDLE handle)
{
    if (IsValid())
        CloseHandle(m_hFile);
    m_hFile = handle;
}

std::wstring FinalPathOf(HANDLE handle)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(),
                                                 static_cast<DWORD>(buffer.size()), 0);
        if (length == 0)
            return std::wstring();
        if (length < buffer.size())
            return PlainPath(std::wstring(buffer.data(), length));
        buffer.resize(length + 1);
    }
    return std::wstring();
}

CFileHandle OpenPlainFolder(const std::wstring& folder, DWORD access)
{
    // Wine shows a linked folder as a reparse point only by its name; Windows also by the handle.
    DWORD nameAttributes = GetFileAttributesW(folder.c_str());
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
    CFileHandle handle(CreateFileW(folder.c_str(), access | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                   OPEN_EXISTING, flags, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (nameAttributes == INVALID_FILE_ATTRIBUTES || !handle.IsValid() ||
        !GetFileInformationByHandle(handle.Get(), &info))
        return CFileHandle();
    DWORD attributes = nameAttributes | info.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !IsSamePath(FinalPathOf(handle.Get()), folder))
        handle.Reset();
    return handle;
}

CFileHandle OpenOwnFile(const std::wstring& path)
{
    const DWORD access = GENERIC_READ | GENERIC_WRITE;
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    CFileHandle file;
    // Open what is there, and create only where nothing is: creating with OPEN_ALWAYS would
    // make the target of a dangling link. A file made by another process in between is opened
    // on the second round.
    for (int attempt = 0; attempt < 2 && !file.IsValid(); ++attempt) {
        file.Reset(CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, 0));
        if (!file.IsValid() && GetLastError() == ERROR_FILE_NOT_FOUND &&
            OpenPlainFolder(path.substr(0, path.find_last_of(L'\\')), 0).IsValid())
            file.Reset(CreateFileW(path.c_str(), access, kShareAll, nullptr, CREATE_NEW, flags, 0));
    }
    if (file.IsValid() && !IsPlainFile(file.Get(), path))
        file.Reset();
    return file;
}

bool IsPlainFile(HANDLE file, const std::wstring& path)
{
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileInformationByHandle(file, &info) &&
           !(info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) &&
           info.nNumberOfLinks == 1 &&
           // Wine opens through a link to a file despite FILE_FLAG_OPEN_REPARSE_POINT.
           IsSamePath(FinalPathOf(file), path);
}

bool RenameByHandle(HANDLE file, const std::wstring& newPath)
{
    // Wine takes no RootDirectory here, so the new name is a full path: it must lie beside the
    // file as the file is now, or a folder moved away since the open would send it elsewhere.
    std::wstring current = FinalPathOf(file);
    if (!IsSamePath(current.substr(0, current.find_last_of(L'\\') + 1),
                    newPath.substr(0, newPath.find_last_of(L'\\') + 1)))
        return false;
    // Renaming needs delete access; a second handle to the same file object asks for it, so that
    // a reader that does not share deletion only delays the rename, never the write.
    CFileHandle mover(ReOpenFile(file, DELETE | SYNCHRONIZE, kShareAll, 0));
    if (!mover.IsValid())
        return false;
    const DWORD nameBytes = static_cast<DWORD>(newPath.size() * sizeof(wchar_t));
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = nameBytes;
    memcpy(info->FileName, newPath.data(), nameBytes);
    return SetFileInformationByHandle(mover.Get(), FileRenameInfo, info,
                                      static_cast<DWORD>(buffer.size())) != FALSE;
}
