// The removal after a normal close, run for real: the system's command interpreter, our
// timeout stand-in in the system folder, a desktop shell whose token the deleter takes, folders
// whose names hold the interpreter's own signs, and things a user put in place of our files.
#include "DesktopShell.h"
#include "ToolRun.h"
#include "app/OwnFolderRemoval.h"
#include "log/FileIdentity.h"
#include "support/GuiInput.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using guitest::WaitUntil;

const wchar_t* const kOwnFiles[] = {L"Corvina.exe", L"HalvexFeedbackInformation.dll",
                                    L"HalvexFeedbackInformation.ini"};

// Something put at a path in a tool's folder; each plant leaves "keep" at that path or in
// keep.txt inside it. outside holds keep.txt.
typedef bool (*Plant)(const std::wstring& at, const std::wstring& outside);

struct RemovalCase {
    std::wstring folder;
    const wchar_t* planted;  // the name at which something is planted, if any
    Plant plant;
    DeleterTokenSource token;
    bool knownFolder = false;  // folder is a full path: a known folder, kept though left empty
};

std::string Utf8Of(const std::wstring& text)
{
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
    return out;
}

typedef const std::wstring& Path;
const Plant kUserFile = [](Path at, Path) { return WriteFileBytes(at, "keep"); };
const Plant kFolder = [](Path at, Path) {
    return ::CreateDirectoryW(at.c_str(), nullptr) && WriteFileBytes(at + L"\\keep.txt", "keep");
};
const Plant kFolderLink = [](Path at, Path outside) { return MakeSymbolicLink(outside, at); };
const Plant kFileLink = [](Path at, Path outside) { return MakeSymbolicLink(outside + L"\\keep.txt", at); };
const Plant kHardLink = [](Path at, Path outside) {
    return ::CreateHardLinkW(at.c_str(), (outside + L"\\keep.txt").c_str(), nullptr) != FALSE;
};
const DeleterTokenSource kNoToken = [] { return HANDLE(nullptr); };

bool IsElevated(HANDLE token)
{
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return ::GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size) &&
           elevation.TokenIsElevated;
}

}  // namespace

TEST(OwnFilesRemoval, DeleterTakesTheDesktopUsersTokenOrNone)
{
    // Wine's desktop has no shell window until a shell makes one.
    ASSERT_EQ(::GetShellWindow(), nullptr);
    EXPECT_EQ(DesktopUserToken(), nullptr);
    HANDLE token = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token));
    EXPECT_TRUE(IsElevated(token));
    ::CloseHandle(token);

    CDesktopShell shell;
    ASSERT_TRUE(shell.IsShown());
    token = DesktopUserToken();
    EXPECT_FALSE(IsElevated(token)) << "the desktop's token, never this process's";
    ::CloseHandle(token);
}

TEST(OwnFilesRemoval, PathsAreNotInTheCommandText)
{
    OwnFiles files;
    ASSERT_TRUE(OwnFilesOf(L"C:\\Users\\a\\Downloads\\Corvina.exe", files));
    EXPECT_EQ(files.folder, L"C:\\Users\\a\\Downloads");
    EXPECT_EQ(files.executable, L"C:\\Users\\a\\Downloads\\Corvina.exe");
    EXPECT_EQ(files.library, L"C:\\Users\\a\\Downloads\\HalvexFeedbackInformation.dll");
    EXPECT_EQ(files.libraryConfig, L"C:\\Users\\a\\Downloads\\HalvexFeedbackInformation.ini");
    EXPECT_EQ(OwnFilesRemovalArguments({true, false, true, true}),
              L"/D /V:OFF /C timeout /t 3 /nobreak & del /f /q \"%CORVINA_OWN_EXE%\" & del /f /q "
              L"\"%CORVINA_OWN_DLL_INI%\" & rmdir \"%CORVINA_OWN_FOLDER%\"");

    EXPECT_FALSE(OwnFilesOf(L"Corvina.exe", files));
    EXPECT_FALSE(OwnFilesOf(L"C:\\folder\\", files));
    EXPECT_FALSE(ScheduleOwnFilesRemoval(L"no folder"));
}

TEST(OwnFilesRemoval, RemovesOnlyTheToolsFilesAfterTheWait)
{
    std::wstring root = TempRoot() + L"\\removal" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(TempRoot().c_str(), nullptr);
    ::CreateDirectoryW(root.c_str(), nullptr);
    const DeleterTokenSource desktop = DesktopUserToken;
    // Downloads is a link into the Linux home in Wine's prefix, which the removal leaves alone
    // anyway; Saved Games is a plain folder there, left empty like a fresh Downloads.
    PWSTR known = nullptr;
    ASSERT_TRUE(SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_SavedGames, 0, nullptr, &known)));
    const std::wstring savedGames = known;
    ::CoTaskMemFree(known);
    ASSERT_TRUE(OpenPlainFolder(savedGames, 0).IsValid());
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((savedGames + L"\\*").c_str(), &found);
    int entries = 0;
    while (find != INVALID_HANDLE_VALUE && (++entries, ::FindNextFileW(find, &found))) {}
    ::FindClose(find);
    ASSERT_EQ(entries, 2) << "only . and ..: empty but for what the row puts there";
    auto folderOf = [&root](const RemovalCase& c) { return c.knownFolder ? c.folder : root + L"\\" + c.folder; };
    const RemovalCase cases[] = {
        {L"plain", nullptr, nullptr, desktop},
        {L"with blanks and a user file", L"my notes.txt", kUserFile, desktop},
        {L"a&b ^c (d) 100% e!f!", nullptr, nullptr, desktop},
        {L"!PATH! %CORVINA_NO_SUCH% x", L"my notes.txt", kUserFile, desktop},
        {L"下载 工具 & (1)", nullptr, nullptr, desktop},
        {L"folder as ini", L"HalvexFeedbackInformation.ini", kFolder, desktop},
        {L"folder link as ini", L"HalvexFeedbackInformation.ini", kFolderLink, desktop},
        {L"file link as exe", L"Corvina.exe", kFileLink, desktop},
        {L"hard link as dll", L"HalvexFeedbackInformation.dll", kHardLink, desktop},
        {savedGames, nullptr, nullptr, desktop, true},
        {L"no desktop token", nullptr, nullptr, kNoToken},
    };
    // A sibling that a careless "rmdir /s" of a cut path would take with it.
    std::wstring sibling = root + L"\\a";
    ::CreateDirectoryW(sibling.c_str(), nullptr);
    WriteFileBytes(sibling + L"\\keep.txt", "keep");
    std::wstring outside = root + L"\\outside";
    ::CreateDirectoryW(outside.c_str(), nullptr);
    WriteFileBytes(outside + L"\\keep.txt", "keep");
    CDesktopShell shell;
    ASSERT_TRUE(shell.IsShown());

    DWORD started = ::GetTickCount();
    std::vector<DWORD> scheduledAt;
    for (const RemovalCase& c : cases) {
        std::wstring folder = folderOf(c);
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr) || c.knownFolder) << Utf8Of(c.folder);
        for (const wchar_t* name : kOwnFiles) {
            if (!c.planted || wcscmp(name, c.planted) != 0) {
                ASSERT_TRUE(WriteFileBytes(folder + L"\\" + name, "x"));
            }
        }
        if (c.plant) {
            ASSERT_TRUE(c.plant(folder + L"\\" + c.planted, outside)) << Utf8Of(c.folder);
        }
        scheduledAt.push_back(::GetTickCount());
        EXPECT_EQ(ScheduleOwnFilesRemoval(folder + L"\\Corvina.exe", c.token), c.token != kNoToken);
    }
    // Nothing goes before its three seconds, however long scheduling them all took: a file seen
    // missing must have been scheduled at least that long before it was seen so.
    std::vector<bool> early(scheduledAt.size(), false);
    WaitUntil([&] {
        for (size_t i = 0; i < scheduledAt.size(); ++i) {
            bool there = FileExists(folderOf(cases[i]) + L"\\Corvina.exe");
            if (!there && ::GetTickCount() - scheduledAt[i] < 3000)
                early[i] = true;
        }
        return ::GetTickCount() - scheduledAt.back() >= 3000;
    }, 60000);
    for (size_t i = 0; i < scheduledAt.size(); ++i)
        EXPECT_FALSE(early[i]) << Utf8Of(cases[i].folder) << " went before its three seconds";

    // The case without a deleter is last: the others have waited long enough for it.
    for (const RemovalCase& c : cases) {
        SCOPED_TRACE(Utf8Of(c.folder));
        std::wstring folder = folderOf(c);
        auto stays = [&c](const wchar_t* name) {
            return c.token == kNoToken || (c.planted && wcscmp(name, c.planted) == 0);
        };
        WaitUntil([&] {
            for (const wchar_t* name : kOwnFiles)
                if (!stays(name) && FileExists(folder + L"\\" + name))
                    return false;
            return c.plant || c.knownFolder || !FileExists(folder);
        }, 60000);
        for (const wchar_t* name : kOwnFiles)
            EXPECT_EQ(FileExists(folder + L"\\" + name), stays(name)) << Utf8Of(name);
        EXPECT_EQ(FileExists(folder), c.plant || c.token == kNoToken || c.knownFolder);
        if (c.plant) {
            std::wstring at = folder + L"\\" + c.planted;
            EXPECT_EQ(ReadFileBytes(at) + ReadFileBytes(at + L"\\keep.txt"), "keep");
        }
    }
    EXPECT_GE(::GetTickCount() - started, 3000u);
    EXPECT_EQ(ReadFileBytes(sibling + L"\\keep.txt"), "keep");
    EXPECT_EQ(ReadFileBytes(outside + L"\\keep.txt"), "keep");
    RemoveTree(root);
}
