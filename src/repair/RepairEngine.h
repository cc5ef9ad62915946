#pragma once

#include <windows.h>

#include <string>

// Finds the first of five known faulty updates and removes it, on a worker thread of its
// own, then tells the notify window: WM_CLOSE_PROGRESS, then WM_REPAIR_RESULT.
// get-hotfix can hang for good on a damaged system (a broken WMI repository); past this the
// listing is ended and counts as not obtained.
const DWORD kListingTimeLimitMs = 5 * 60 * 1000;

class CRepairEngine {
public:
    // Runs the update listing and captures its output and exit code; false when it could not
    // be started or was ended at the time limit.
    typedef bool (*ListingRunner)(std::wstring command, std::string& output, DWORD* exitCode,
                                  DWORD timeLimitMs);

    bool SetNotifyWindow(HWND hWnd);
    bool IsSupportedWindows();
    bool StartRepair();
    static DWORD WINAPI RepairThreadProc(LPVOID param);
    DWORD RunRepair();

    // Lets a test stand in for the listing step; the default is RunCommandCapture.
    void SetListingRunner(ListingRunner runner);
    // Lets a test shorten the listing's time limit.
    void SetListingTimeLimit(DWORD timeLimitMs) { m_dwListingTimeLimit = timeLimitMs; }

private:
    void Report(int result);
    void ReportFailure();

    HWND m_hNotifyWnd = nullptr;
    ListingRunner m_pfnRunListing = nullptr;
    DWORD m_dwListingTimeLimit = kListingTimeLimitMs;
};

// The update of the listing to remove: the index of the first known update found, searched
// in the fixed order, or -1 when none is there. An id followed by a digit is not found.
int FindKnownUpdate(const std::string& listing);

// The system's own tools by their full paths in systemFolder, quoted, so that nothing found
// through a PATH or in the current folder runs. No profile script of the user's runs in the
// elevated PowerShell, and no module of the user's answers to get-hotfix:
// "<system>\WindowsPowerShell\v1.0\powershell.exe" -NoProfile -NonInteractive -command
//   "$env:PSModulePath = $PSHOME + '\Modules'; Microsoft.PowerShell.Management\get-hotfix"
std::wstring ListingCommand(const std::wstring& systemFolder);
// The removal command of the known update at index:
// "<system>\wusa.exe" /uninstall /kb:4515384 ; empty for an index out of range.
std::wstring RemovalCommand(int index, const std::wstring& systemFolder);

// True for the installer's exit codes that mean the update is gone or goes at the restart.
bool IsRemovalSuccess(DWORD exitCode);
