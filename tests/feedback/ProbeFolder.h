// A folder of its own for one run of the feedback probe, with the library variant under test
// beside it, the way the tool lies beside its library.
#pragma once

#include <string>
#include <vector>

#include "support/TestFiles.h"

class CProbeFolder
{
public:
    // A fresh, empty folder under the test's own folder, holding a copy of the probe.
    explicit CProbeFolder(const std::wstring& name);

    // Copies in a build of the stand-in: L"" the delivered one, else a folder of the test
    // builds (L"omit-3", L"recording").
    bool AddLibrary(const std::wstring& variant = L"");
    bool WriteConfig(const std::string& text);
    bool WriteBytes(const std::wstring& name, const std::string& bytes);

    // Runs the probe with these arguments and returns its report; "" when it did not finish.
    // currentFolder and pathFront, when given, become its current folder and lead its PATH.
    std::string Run(const std::vector<std::wstring>& arguments,
                    const std::wstring& currentFolder = L"",
                    const std::wstring& pathFront = L"") const;
    // The journal the stand-in keeps here when configured with "journal = journal.txt".
    std::string Journal() const;

    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

std::wstring TestFolder();
