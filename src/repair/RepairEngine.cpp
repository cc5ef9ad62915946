#include "repair/RepairEngine.h"

#include "log/LogSave.h"
#include "repair/CommandRunner.h"
#include "repair/RepairMessages.h"

namespace {

struct CKnownUpdate {
    const char* id;
    const wchar_t* removalArguments;
};

const CKnownUpdate kKnownUpdates[] = {
    {"KB4515384", L"/uninstall /kb:4515384"},
    {"KB4512578", L"/uninstall /kb:4512578"},
    {"KB4516058", L"/uninstall /kb:4516058"},
    {"KB4516066", L"/uninstall /kb:4516066"},
    {"KB4516068", L"/uninstall /kb:4516068"},
};
const int kKnownUpdateCount = sizeof(kKnownUpdates) / sizeof(kKnownUpdates[0]);

const char kLogFile[] = "Tovrane.txt";
// "键盘无法使用修复失败" and "创建键盘无法使用修复线程失败" in code page 936.
const char kRepairFailedText[] =
    "\xBC\xFC\xC5\xCC\xCE\xDE\xB7\xA8\xCA\xB9\xD3\xC3\xD0\xDE\xB8\xB4\xCA\xA7\xB0\xDC";
const char kThreadFailedText[] =
    "\xB4\xB4\xBD\xA8\xBC\xFC\xC5\xCC\xCE\xDE\xB7\xA8\xCA\xB9\xD3\xC3\xD0\xDE\xB8\xB4"
    "\xCF\xDF\xB3\xCC\xCA\xA7\xB0\xDC";

// Exit codes of the update installer that mean the update is gone or goes at the restart.
const DWORD kRemoved = 0;
const DWORD kRemovedRestartNeeded = 3010;
const DWORD kRemovedRestarting = 1641;
const DWORD kRemovedPendingRestart = 0x00240007;

}  // namespace

int FindKnownUpdate(const std::string& listing)
{
    for (int i = 0; i < kKnownUpdateCount; ++i) {
        const std::string id = kKnownUpdates[i].id;
        for (size_t at = listing.find(id); at != std::string::npos; at = listing.find(id, at + 1)) {
            // "KB45153840" is another update, not KB4515384.
            size_t after = at + id.size();
            if (after == listing.size() || listing[after] < '0' || listing[after] > '9')
                return i;
        }
    }
    return -1;
}

std::wstring ListingCommand(const std::wstring& systemFolder)
{
    // PowerShell builds its module path at its start from the user's own settings, whatever
    // environment it is given: the user's Documents folder, or the user's own PSModulePath,
    // comes first. A module of the user's could then answer to get-hotfix, elevated. So the
    // path is cut down to PowerShell's own module folder ($PSHOME, fixed by the engine), and
    // the command is named with its module, which auto-loading takes from that path only.
    return L"\"" + systemFolder + L"\\WindowsPowerShell\\v1.0\\powershell.exe\" -NoProfile "
           L"-NonInteractive -command \"$env:PSModulePath = $PSHOME + '\\Modules'; "
           L"Microsoft.PowerShell.Management\\get-hotfix\"";
}

std::wstring RemovalCommand(int index, const std::wstring& systemFolder)
{
    if (index < 0 || index >= kKnownUpdateCount)
        return std::wstring();
    return L"\"" + systemFolder + L"\\wusa.exe\" " + kKnownUpdates[index].removalArguments;
}

bool IsRemovalSuccess(DWORD exitCode)
{
    return exitCode == kRemoved || exitCode == kRemovedRestartNeeded ||
           exitCode == kRemovedRestarting || exitCode == kRemovedPendingRestart;
}

bool CRepairEngine::SetNotifyWindow(HWND hWnd)
{
    if (!hWnd)
        return false;
    m_hNotifyWnd = hWnd;
    return true;
}

void CRepairEngine::SetListingRunner(ListingRunner runner)
{
    m_pfnRunListing = runner;
}

bool CRepairEngine::StartRepair()
{
    HANDLE thread = CreateThread(nullptr, 0, RepairThreadProc, this, 0, nullptr);
    if (!thread) {
        GetLogSave().WriteLog(kThreadFailedText, kLogFile, true);
        return false;
    }
    CloseHandle(thread);
    return true;
}

DWORD WINAPI CRepairEngine::RepairThreadProc(LPVOID param)
{
    static_cast<CRepairEngine*>(param)->RunRepair();
    return 1;
}

void CRepairEngine::Report(int result)
{
    SendMessageW(m_hNotifyWnd, WM_CLOSE_PROGRESS, 0, 0);
    SendMessageW(m_hNotifyWnd, WM_REPAIR_RESULT, static_cast<WPARAM>(result), 0);
}

void CRepairEngine::ReportFailure()
{
    Report(REPAIR_FAILED);
    GetLogSave().WriteLog(kRepairFailedText, kLogFile, true);
}

DWORD CRepairEngine::RunRepair()
{
    wchar_t systemFolder[MAX_PATH];
    UINT length = GetSystemDirectoryW(systemFolder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        ReportFailure();
        return 1;
    }

    // A listing that did not run to a clean end checked nothing: that is no reason to call the
    // system unsuitable, and the user may try again.
    ListingRunner runListing = m_pfnRunListing ? m_pfnRunListing : RunCommandCapture;
    std::string listing;
    DWORD listingExit = 0;
    if (!runListing(ListingCommand(systemFolder), listing, &listingExit, m_dwListingTimeLimit) ||
        listingExit != 0) {
        ReportFailure();
        return 1;
    }

    int found = FindKnownUpdate(listing);
    if (found < 0) {
        Report(REPAIR_NOT_APPLICABLE);
        return 1;
    }

    // One run removes at most one update; the next run lists afresh. The installer asks the
    // user in a window of its own. It is started by the interpreter, not by us, so the
    // foreground lock would keep its window behind ours while the user, who has just pressed
    // our button, waits on our progress prompt: we are in the foreground, and may pass that on.
    AllowSetForegroundWindow(ASFW_ANY);
    DWORD exitCode = 0;
    bool ran = RunCommand(RemovalCommand(found, systemFolder), false, &exitCode);
    if (ran && IsRemovalSuccess(exitCode)) {
        Report(REPAIR_SUCCEEDED);
        return 1;
    }
    ReportFailure();
    return 1;
}
