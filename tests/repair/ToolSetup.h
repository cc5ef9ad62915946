#pragma once

#include <string>
#include <vector>

#include "support/TestFiles.h"

// The stand-in tools for a test: a fresh folder with the fixture and the journal, the
// stand-ins' folder first on the PATH. Everything is undone when the object goes.
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
    std::wstring m_oldPath;
};

// The Windows path of the stand-ins' folder, with a trailing backslash.
std::wstring StandinsFolder();
std::wstring MakeTempFolder(const wchar_t* prefix);
void RemoveFolder(const std::wstring& folder);
std::string Utf8(const std::wstring& text);
