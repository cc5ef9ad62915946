// The removal after a normal close, run for real: the system's command interpreter, our
// timeout stand-in first on the PATH, a desktop shell whose token the deleter takes, folders
// whose names hold the interpreter's own signs, and things a user put in place of our files.
#include "DesktopShell.h"
#include "ToolRun.h"
#include "app/OwnFolderRemoval.h"

#include <gtest/gtest.h>

namespace {

const wchar_t* const kOwnFiles[] = {L"Corvina.exe", L"HalvexFeedbackInformation.dll",
                                    L"HalvexFeedbackInformation.ini"};

// What stands in the folder besides the tool's files, or in place of one of them.
enum class Planted { Nothing, UserFile, FolderAsIni, FolderLinkAsIni, FileLinkAsExe, HardLinkAsDll, NoToken };

struct RemovalCase {
    std::wstring folder;
    Planted planted;
    const wchar_t* kept;  // the one of our names that must stay, if any
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

// Wine's own calls make no links, so the system's ln does.
bool MakeSymlink(const std::wstring& target, const std::wstring& link)
{
    typedef char*(CDECL * UnixNameFn)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixNameFn>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    std::wstring commandLine = L"ln -s \"" + Widen(unixName(target.c_str())) + L"\" \"" +
                               Widen(unixName(link.c_str())) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(L"Z:\\bin\\ln", &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    // A Unix process's handle does not tell when it ends.
    for (int i = 0; i < 100 && ::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        ::Sleep(50);
    return ::GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsElevated(HANDLE token)
{
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return ::GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size) &&
           elevation.TokenIsElevated;
}

HANDLE NoToken()
{
    return nullptr;
}

}  // namespace

TEST(OwnFilesRemoval, DeleterTakesTheDesktopUsersTokenOrNone)
{
    // Wine's desktop has no shell window until a shell makes one.
    ASSERT_EQ(::GetShellWindow(), nullptr);
    EXPECT_EQ(DesktopUserToken(), nullptr);
    HANDLE own = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &own));
    EXPECT_TRUE(IsElevated(own));
    ::CloseHandle(own);

    CDesktopShell shell;
    ASSERT_TRUE(shell.IsShown());
    HANDLE token = DesktopUserToken();
    ASSERT_NE(token, nullptr);
    TOKEN_TYPE type{};
    DWORD size = 0;
    EXPECT_TRUE(::GetTokenInformation(token, TokenType, &type, sizeof(type), &size));
    EXPECT_EQ(type, TokenPrimary);
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
    const std::pair<RemovalPlan, const wchar_t*> plans[] = {
        {{true, true, true, true},
         L"/D /V:OFF /C timeout /t 3 /nobreak & del /f /q \"%CORVINA_OWN_EXE%\" & del /f /q "
         L"\"%CORVINA_OWN_DLL%\" & del /f /q \"%CORVINA_OWN_DLL_INI%\" & rmdir \"%CORVINA_OWN_FOLDER%\""},
        {{true, false, true, false},
         L"/D /V:OFF /C timeout /t 3 /nobreak & del /f /q \"%CORVINA_OWN_EXE%\" & del /f /q "
         L"\"%CORVINA_OWN_DLL_INI%\""},
    };
    for (const auto& plan : plans)
        EXPECT_EQ(OwnFilesRemovalArguments(plan.first), plan.second);

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
        {L"plain", Planted::Nothing, nullptr},
        {L"with blanks and a user file", Planted::UserFile, nullptr},
        {L"a&b ^c (d) 100% e!f!", Planted::Nothing, nullptr},
        {L"!PATH! %CORVINA_NO_SUCH% x", Planted::UserFile, nullptr},
        {L"下载 工具 & (1)", Planted::Nothing, nullptr},
        {L"folder as ini", Planted::FolderAsIni, L"HalvexFeedbackInformation.ini"},
        {L"folder link as ini", Planted::FolderLinkAsIni, L"HalvexFeedbackInformation.ini"},
        {L"file link as exe", Planted::FileLinkAsExe, L"Corvina.exe"},
        {L"hard link as dll", Planted::HardLinkAsDll, L"HalvexFeedbackInformation.dll"},
        {L"no desktop token", Planted::NoToken, nullptr},
    };
    // A sibling that a careless "rmdir /s" of a cut path would take with it.
    std::wstring sibling = root + L"\\a";
    ::CreateDirectoryW(sibling.c_str(), nullptr);
    WriteFileBytes(sibling + L"\\keep.txt", "keep");

    // What links and second names point at, outside every tool folder.
    std::wstring outside = root + L"\\outside";
    ::CreateDirectoryW(outside.c_str(), nullptr);
    WriteFileBytes(outside + L"\\keep.txt", "keep");
    CDesktopShell shell;
    ASSERT_TRUE(shell.IsShown());

    DWORD started = ::GetTickCount();
    for (const RemovalCase& c : cases) {
        std::wstring folder = root + L"\\" + c.folder;
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr)) << Utf8Of(c.folder);
        for (const wchar_t* name : kOwnFiles) {
            if (!c.kept || wcscmp(name, c.kept) != 0) {
                ASSERT_TRUE(WriteFileBytes(folder + L"\\" + name, "x"));
            }
        }
        std::wstring kept = c.kept ? folder + L"\\" + c.kept : std::wstring();
        switch (c.planted) {
        case Planted::UserFile: WriteFileBytes(folder + L"\\my notes.txt", "mine"); break;
        case Planted::FolderAsIni:
            ASSERT_TRUE(::CreateDirectoryW(kept.c_str(), nullptr));
            WriteFileBytes(kept + L"\\keep.txt", "keep");
            break;
        case Planted::FolderLinkAsIni: ASSERT_TRUE(MakeSymlink(outside, kept)); break;
        case Planted::FileLinkAsExe: ASSERT_TRUE(MakeSymlink(outside + L"\\keep.txt", kept)); break;
        case Planted::HardLinkAsDll:
            ASSERT_TRUE(::CreateHardLinkW(kept.c_str(), (outside + L"\\keep.txt").c_str(), nullptr));
            break;
        default: break;
        }
        bool scheduled = c.planted == Planted::NoToken
                             ? ScheduleOwnFilesRemoval(folder + L"\\Corvina.exe", NoToken)
                             : ScheduleOwnFilesRemoval(folder + L"\\Corvina.exe");
        EXPECT_EQ(scheduled, c.planted != Planted::NoToken) << Utf8Of(c.folder);
    }
    // Nothing goes before the three seconds.
    ::Sleep(1500);
    for (const RemovalCase& c : cases)
        EXPECT_TRUE(FileExists(root + L"\\" + c.folder + L"\\Corvina.exe"));

    for (const RemovalCase& c : cases) {
        SCOPED_TRACE(Utf8Of(c.folder));
        std::wstring folder = root + L"\\" + c.folder;
        auto stays = [&c](const wchar_t* name) {
            return c.planted == Planted::NoToken || (c.kept && wcscmp(name, c.kept) == 0);
        };
        auto settled = [&] {
            for (const wchar_t* name : kOwnFiles)
                if (!stays(name) && FileExists(folder + L"\\" + name))
                    return false;
            return c.planted != Planted::Nothing || !FileExists(folder);
        };
        // The case without a deleter is last: the others have waited long enough for it.
        for (int i = 0; i < 80 && !settled(); ++i)
            ::Sleep(100);
        for (const wchar_t* name : kOwnFiles)
            EXPECT_EQ(FileExists(folder + L"\\" + name), stays(name)) << Utf8Of(name);
        EXPECT_EQ(FileExists(folder), c.planted != Planted::Nothing);
        if (c.planted == Planted::UserFile) {
            EXPECT_EQ(ReadFileBytes(folder + L"\\my notes.txt"), "mine");
        }
        if (c.planted == Planted::FolderAsIni) {
            EXPECT_EQ(ReadFileBytes(folder + L"\\" + c.kept + L"\\keep.txt"), "keep");
        }
    }
    EXPECT_GE(::GetTickCount() - started, 3000u);
    EXPECT_EQ(ReadFileBytes(sibling + L"\\keep.txt"), "keep");
    EXPECT_EQ(ReadFileBytes(outside + L"\\keep.txt"), "keep");
    RemoveTree(root);
}
