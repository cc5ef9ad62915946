// The removal after a normal close, run for real: the system's command interpreter, our
// timeout stand-in first on the PATH, folders whose names hold the interpreter's own signs.
#include "ToolRun.h"
#include "app/OwnFolderRemoval.h"

#include <gtest/gtest.h>

namespace {

const wchar_t* const kOwnFiles[] = {L"Corvina.exe", L"HalvexFeedbackInformation.dll",
                                    L"HalvexFeedbackInformation.ini"};

struct RemovalCase {
    std::wstring folder;
    bool userFile;
};

std::string Utf8Of(const std::wstring& text)
{
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    return out;
}

void PutStandinsFirstOnPath()
{
    static bool done = false;
    if (done)
        return;
    wchar_t old[8192];
    DWORD length = ::GetEnvironmentVariableW(L"PATH", old, 8192);
    std::wstring path = BuildPath(L"standins") + L";" + std::wstring(old, length);
    ::SetEnvironmentVariableW(L"PATH", path.c_str());
    done = true;
}

}  // namespace

TEST(OwnFilesRemoval, PathsAreNotInTheCommandText)
{
    OwnFiles files;
    ASSERT_TRUE(OwnFilesOf(L"C:\\Users\\a\\Downloads\\Corvina.exe", files));
    EXPECT_EQ(files.folder, L"C:\\Users\\a\\Downloads");
    EXPECT_EQ(files.executable, L"C:\\Users\\a\\Downloads\\Corvina.exe");
    EXPECT_EQ(files.library, L"C:\\Users\\a\\Downloads\\HalvexFeedbackInformation.dll");
    EXPECT_EQ(files.libraryConfig, L"C:\\Users\\a\\Downloads\\HalvexFeedbackInformation.ini");
    std::wstring arguments = OwnFilesRemovalArguments();
    EXPECT_EQ(arguments.find(L"Downloads"), std::wstring::npos);
    EXPECT_EQ(arguments.find(L"/s"), std::wstring::npos) << "never a whole tree";
    EXPECT_EQ(arguments.find(L"/D /V:OFF /C timeout /t 3 /nobreak"), 0u);

    EXPECT_FALSE(OwnFilesOf(L"Corvina.exe", files));
    EXPECT_FALSE(OwnFilesOf(L"C:\\folder\\", files));
    EXPECT_FALSE(ScheduleOwnFilesRemoval(L"no folder"));
}

TEST(OwnFilesRemoval, RemovesOnlyTheToolsFilesAfterTheWait)
{
    PutStandinsFirstOnPath();
    std::wstring root = TempRoot() + L"\\removal" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(TempRoot().c_str(), nullptr);
    ::CreateDirectoryW(root.c_str(), nullptr);
    const RemovalCase cases[] = {
        {L"plain", false},
        {L"with blanks and a user file", true},
        {L"a&b ^c (d) 100% e!f!", false},
        {L"!PATH! %CORVINA_NO_SUCH% x", true},
        {L"下载 工具 & (1)", false},
    };
    // A sibling that a careless "rmdir /s" of a cut path would take with it.
    std::wstring sibling = root + L"\\a";
    ::CreateDirectoryW(sibling.c_str(), nullptr);
    WriteFileBytes(sibling + L"\\keep.txt", "keep");

    DWORD started = ::GetTickCount();
    for (const RemovalCase& c : cases) {
        std::wstring folder = root + L"\\" + c.folder;
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr)) << Utf8Of(c.folder);
        for (const wchar_t* name : kOwnFiles)
            ASSERT_TRUE(WriteFileBytes(folder + L"\\" + name, "x"));
        if (c.userFile)
            WriteFileBytes(folder + L"\\my notes.txt", "mine");
        ASSERT_TRUE(ScheduleOwnFilesRemoval(folder + L"\\Corvina.exe"));
    }
    // Nothing goes before the three seconds.
    ::Sleep(1500);
    for (const RemovalCase& c : cases)
        EXPECT_TRUE(FileExists(root + L"\\" + c.folder + L"\\Corvina.exe"));

    for (const RemovalCase& c : cases) {
        std::wstring folder = root + L"\\" + c.folder;
        bool settled = false;
        for (int i = 0; i < 80 && !settled; ++i) {
            settled = !FileExists(folder + L"\\Corvina.exe") &&
                      (c.userFile ? !FileExists(folder + L"\\HalvexFeedbackInformation.ini")
                                  : !FileExists(folder));
            if (!settled)
                ::Sleep(100);
        }
        EXPECT_TRUE(settled) << "folder " << testing::PrintToString(Utf8Of(c.folder));
        for (const wchar_t* name : kOwnFiles)
            EXPECT_FALSE(FileExists(folder + L"\\" + name));
        if (c.userFile) {
            EXPECT_EQ(ReadFileBytes(folder + L"\\my notes.txt"), "mine");
        } else {
            EXPECT_FALSE(FileExists(folder));
        }
    }
    EXPECT_GE(::GetTickCount() - started, 3000u);
    EXPECT_EQ(ReadFileBytes(sibling + L"\\keep.txt"), "keep");
    RemoveTree(root);
}
