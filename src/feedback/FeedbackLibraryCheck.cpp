#include "feedback/FeedbackLibraryCheck.h"

#include <utility>

namespace {

const wchar_t kLibraryName[] = L"HalvexFeedbackInformation.dll";

// One check's outcome.  The thread writes it before it ends, the taker reads it after waiting
// for that end: no lock.
struct CheckedFile {
    std::wstring path;
    HANDLE file = INVALID_HANDLE_VALUE;
    LibraryTrust trust = LibraryTrust::NotAPlainFile;
};

CheckedFile g_checked;
HANDLE g_hThread = nullptr;
bool g_bTaken = false;

void CheckInto(CheckedFile& checked)
{
    checked = CheckedFile();
    checked.path = FeedbackLibraryPath();
    if (checked.path.empty())
        return;
    // Held open, shared for reading only, until the load: the file loaded is the file checked.
    CFileHandle file = OpenLibraryFile(checked.path);
    if (!file.IsValid())
        return;
    checked.trust = CheckLibrarySigner(file.Get(), checked.path, VendorSignerKeys());
    if (checked.trust != LibraryTrust::Trusted)
        return;
    checked.file = file.Release();
}

DWORD WINAPI CheckThread(LPVOID)
{
    CheckInto(g_checked);
    return 0;
}

// Waits for the thread; true when its outcome is there and nobody has taken it yet.
bool WaitUntaken()
{
    if (!g_hThread)
        return false;
    ::WaitForSingleObject(g_hThread, INFINITE);
    return !g_bTaken;
}

}  // namespace

std::wstring FeedbackLibraryPath()
{
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    // A full buffer means a cut path: a library found through it would be the wrong one.
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    std::wstring folder(path, length);
    size_t slash = folder.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return std::wstring();
    // Only the full path: a library of that name anywhere else (current folder, PATH) is not ours.
    folder.resize(slash + 1);
    return folder + kLibraryName;
}

void StartFeedbackLibraryCheck()
{
    if (g_hThread)
        return;
    g_hThread = ::CreateThread(nullptr, 0, CheckThread, nullptr, 0, nullptr);
}

LibraryTrust WaitFeedbackLibraryCheck()
{
    if (WaitUntaken())
        return g_checked.trust;
    CheckedFile checked;
    CheckInto(checked);
    CFileHandle closed(checked.file);
    return checked.trust;
}

CFileHandle TakeCheckedFeedbackLibrary(std::wstring& path)
{
    CheckedFile checked;
    if (WaitUntaken()) {
        checked = std::move(g_checked);
        g_checked.file = INVALID_HANDLE_VALUE;
        g_bTaken = true;
    } else {
        CheckInto(checked);
    }
    path = checked.path;
    return CFileHandle(checked.file);
}

void EndFeedbackLibraryCheck()
{
    if (!g_hThread)
        return;
    ::WaitForSingleObject(g_hThread, INFINITE);
    ::CloseHandle(g_hThread);
    g_hThread = nullptr;
    CFileHandle untaken(g_checked.file);
    g_checked.file = INVALID_HANDLE_VALUE;
    g_bTaken = true;
}
