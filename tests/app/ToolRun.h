// Runs the real tool from a folder of its own, as a user who downloaded it would, with our
// stand-ins for the system's console tools (at the system paths) and the maker's library.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "repair/MachineVariable.h"
#include "support/TestFiles.h"

// Build outputs, as paths the tool under test can use.
std::wstring BuildPath(const std::wstring& relative);
std::wstring TempRoot();
std::wstring Widen(const std::string& utf8);
// Removes a folder tree; harmless when it does not exist.
void RemoveTree(const std::wstring& folder);
// Has the driver, copied into the folder and started there, load a library by its name, as a
// program that searches its own folder would; whether the driver ran and ended.
bool LoadByNameFrom(const std::wstring& folder, const std::wstring& library);

struct ToolOptions {
    std::wstring library = L"deliver\\HalvexFeedbackInformation.dll";  // empty: no library
    std::vector<std::string> updates;         // installed updates the listing shows
    std::string powershellMode = "table";
    std::string wusaMode = "quiet";           // "window": the installer asks in a window of its own
    std::string newestVersion;                // published version of tool 10056, if any
    bool initFails = false;
    std::wstring windowsVersion;              // per-executable Wine version setting, if any
    std::wstring dllOverrides;                // Wine's load order of dllOverridden for Corvina.exe and driver.exe
    std::wstring dllOverridden = L"riched20";
    bool noChildProcesses = false;            // a job that lets the tool start no program
};

class CToolRun {
public:
    // folderName may hold any characters a folder name can.
    CToolRun(const std::wstring& folderName, const ToolOptions& options);
    ~CToolRun();

    bool Start();
    DWORD ProcessId() const { return m_process.dwProcessId; }
    // Waits for the process to end; its exit code, or STILL_ACTIVE after the timeout.
    DWORD WaitExit(DWORD timeoutMs);
    bool Running();
    // Runs the tool's main thread only runMs of every periodMs, for totalMs: a machine that is
    // slow at everything while the clock runs on as usual.
    void Throttle(DWORD totalMs, DWORD runMs, DWORD periodMs);

    const std::wstring& Folder() const { return m_folder; }
    std::wstring Executable() const { return m_folder + L"\\Corvina.exe"; }
    // Calls the tool made into the feedback library, and the console tools it ran.
    std::vector<std::string> FeedbackJournal() const { return JournalLines(m_feedbackJournal); }
    std::vector<std::string> ToolJournal() const { return JournalLines(m_toolJournal); }
    std::wstring FixturePath() const { return m_fixture; }

private:
    std::wstring m_root;
    std::wstring m_folder;
    std::wstring m_feedbackJournal;
    std::wstring m_toolJournal;
    std::wstring m_fixture;
    ToolOptions m_options;
    PROCESS_INFORMATION m_process{};
    HANDLE m_hJob = nullptr;
    std::unique_ptr<CMachineVariable> m_pFixtureVariable;
};
