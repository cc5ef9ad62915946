#pragma once

#include <windows.h>

#include <string>

// Finds the first of five known faulty updates and removes it, on a worker thread of its
// own, then tells the notify window: WM_CLOSE_PROGRESS, then WM_REPAIR_RESULT.
class CRepairEngine {
public:
    // Runs the update listing and captures its output; false when it could not be started.
    typedef bool (*ListingRunner)(std::wstring command, std::string& output);

    bool SetNotifyWindow(HWND hWnd);
    bool IsSupportedWindows();
    bool StartRepair();
    static DWORD WINAPI RepairThreadProc(LPVOID param);
    DWORD RunRepair();

    // Lets a test stand in for the listing step; the default is RunCommandCapture.
    void SetListingRunner(ListingRunner runner);

private:
    void Report(int result);

    HWND m_hNotifyWnd = nullptr;
    ListingRunner m_pfnRunListing = nullptr;
};

// The update of the listing to remove: the index of the first known update found, searched
// in the fixed order, or -1 when none is there. An id followed by a digit is not found.
int FindKnownUpdate(const std::string& listing);

// The removal command of the known update at index ("wusa /uninstall /kb:4515384").
std::wstring RemovalCommand(int index);

// True for the installer's exit codes that mean the update is gone or goes at the restart.
bool IsRemovalSuccess(DWORD exitCode);
