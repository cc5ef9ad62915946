#pragma once

#include <memory>
#include <string>
#include <vector>

#include "repair/MachineVariable.h"
#include "support/TestFiles.h"

// The stand-in tools for a test: a fresh folder with the fixture and the journal, named to
// the stand-ins (installed at the system paths) by machine variables. Everything is undone
// when the object goes.
class CToolSetup {
public:
    CToolSetup();
    ~CToolSetup();
    CToolSetup(const CToolSetup&) = delete;
    CToolSetup& operator=(const CToolSetup&) = delete;

    void WriteFixture(const std::string& text);
    std::string ReadFixture() const;
    // One entry per started stand-in: the program's full path and its command line.
    struct Call {
        std::wstring program;
        std::string commandLine;
    };
    std::vector<Call> Journal() const;

    const std::wstring& Folder() const { return m_folder; }

private:
    std::wstring m_folder;
    std::unique_ptr<CMachineVariable> m_pFixture;
    std::unique_ptr<CMachineVariable> m_pJournal;
};

// The system folder as the tool names it, without a trailing backslash.
std::wstring SystemFolder();
// Where the tool finds PowerShell and wusa (our stand-ins in the test prefix).
std::wstring SystemPowerShell();
std::wstring SystemWusa();
// The Windows path of the built stand-ins' folder, with a trailing backslash.
std::wstring StandinsFolder();
std::wstring MakeTempFolder(const wchar_t* prefix);
void RemoveFolder(const std::wstring& folder);
std::string Utf8(const std::wstring& text);
// Running processes of that executable name ("powershell.exe").
size_t ProcessesNamed(const wchar_t* name);
