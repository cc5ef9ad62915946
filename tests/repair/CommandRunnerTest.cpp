#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "repair/CommandRunner.h"
#include "repair/ToolSetup.h"

namespace {

long long FileSize(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Bytes 1..255 without the end-of-file mark, in a fixed pseudo-random order.
std::string SampleBytes(size_t size)
{
    std::string bytes;
    unsigned state = 12345;
    while (bytes.size() < size) {
        state = state * 1103515245u + 12345u;
        unsigned char c = static_cast<unsigned char>(state >> 16);
        if (c != 0 && c != 0x1A)
            bytes += static_cast<char>(c);
    }
    return bytes;
}

// The 32-bit interpreter started with redirection on, inheriting every handle; waits for it.
bool RunCarelessly(std::wstring commandLine)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(L"C:\\windows\\system32\\cmd.exe", &commandLine[0], nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// A built test program by its full path, quoted: nothing of ours is on the children's PATH.
std::wstring Standin(const wchar_t* name)
{
    return L"\"" + StandinsFolder() + name + L"\"";
}

class CommandRunnerTest : public ::testing::Test {
protected:
    CToolSetup m_tools;
};

TEST_F(CommandRunnerTest, RunsUnderWow64InThisPrefix)
{
    // Everything below about redirection needs a 32-bit process on a 64-bit system.
    EXPECT_TRUE(IsWow64());
    EXPECT_TRUE(IsWow64());
}

TEST_F(CommandRunnerTest, CapturesEchoExactly)
{
    std::string output;
    ASSERT_TRUE(RunCommandCapture(L"echo hello runner", output));
    EXPECT_EQ("hello runner\r\n", output);
}

TEST_F(CommandRunnerTest, AppendsToWhatTheOutputHeld)
{
    std::string output = "before|";
    ASSERT_TRUE(RunCommandCapture(L"echo after", output));
    EXPECT_EQ("before|after\r\n", output);
}

TEST_F(CommandRunnerTest, CapturesStandardError)
{
    std::string output;
    ASSERT_TRUE(RunCommandCapture(L"echo to-stderr 1>&2", output));
    EXPECT_EQ("to-stderr \r\n", output);
}

TEST_F(CommandRunnerTest, OutputFarLargerThanOneChunkArrivesUnchanged)
{
    std::string sample = SampleBytes(150000);
    std::wstring file = m_tools.Folder() + L"sample.bin";
    ASSERT_TRUE(WriteFileBytes(file, sample));
    std::string output;
    ASSERT_TRUE(RunCommandCapture(L"type \"" + file + L"\"", output));
    ASSERT_EQ(sample.size(), output.size());
    EXPECT_TRUE(sample == output);
}

TEST_F(CommandRunnerTest, CommandThatPrintsNothingLeavesOutputUnchanged)
{
    std::string output = "kept";
    EXPECT_TRUE(RunCommandCapture(L"rem nothing to say", output));
    EXPECT_EQ("kept", output);
}

TEST_F(CommandRunnerTest, FailingCommandStillReturnsTrueWithItsErrorTextAndExitCode)
{
    m_tools.WriteFixture("powershell fail\r\n");
    std::string output;
    DWORD code = 12345;
    EXPECT_TRUE(RunCommandCapture(L"\"" + SystemPowerShell() + L"\" -command \"get-hotfix\"", output,
                                  &code));
    EXPECT_EQ("get-hotfix : Access is denied.\r\n"
              "    + FullyQualifiedErrorId : System.UnauthorizedAccessException\r\n",
              output);
    EXPECT_EQ(1u, code);
    ASSERT_TRUE(RunCommandCapture(L"exit 3010", output, &code));
    EXPECT_EQ(3010u, code);
    ASSERT_TRUE(RunCommandCapture(L"echo fine", output, &code));
    EXPECT_EQ(0u, code);
}

TEST_F(CommandRunnerTest, EachChunkIsCutAtItsFirstZeroByte)
{
    // The stand-in writes its table as UTF-16 in one piece: a zero follows the first byte.
    m_tools.WriteFixture("powershell zeros\r\nupdate KB4515384\r\n");
    std::string output;
    ASSERT_TRUE(RunCommandCapture(L"\"" + SystemPowerShell() + L"\"", output));
    EXPECT_EQ(std::string::npos, output.find('\0'));
    EXPECT_EQ(std::string::npos, output.find("KB4515384"));
    ASSERT_FALSE(output.empty());
    EXPECT_EQ('\r', output[0]);
    EXPECT_LT(output.size(), 4u);
}

TEST_F(CommandRunnerTest, ChildrenGetThePipeAndNulOnly)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    HANDLE event = CreateEventW(&inheritable, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, event);
    const std::wstring value = std::to_wstring(reinterpret_cast<ULONG_PTR>(event));
    // The children get the machine's environment; the careless start below gets this one's.
    CMachineVariable machineWide(L"CORVINA_PROBE_EVENT", value);
    SetEnvironmentVariableW(L"CORVINA_PROBE_EVENT", value.c_str());
    std::string output;
    ASSERT_TRUE(RunCommandCapture(Standin(L"childprobe.exe") + L" stdin", output));
    EXPECT_EQ("event not held\r\nstdin empty\r\n", output);
    std::wstring mark = m_tools.Folder() + L"probe.txt";
    ASSERT_TRUE(RunCommand(Standin(L"childprobe.exe") + L" stdin > \"" + mark + L"\"", false));
    // The removal's child reads NUL too, not this program's own standard input.
    EXPECT_EQ("event not held\r\nstdin empty\r\n", ReadFileBytes(mark));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(event, 0));

    // The probe is no blind witness: a child that inherits everything holds the event.
    ASSERT_TRUE(RunCarelessly(L"cmd /C " + Standin(L"childprobe.exe")));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 0));
    SetEnvironmentVariableW(L"CORVINA_PROBE_EVENT", nullptr);
    CloseHandle(event);
}

TEST_F(CommandRunnerTest, ChildrenGetTheMachinesEnvironmentNotThisProcesss)
{
    // What the user's settings could put in the tool's environment: a variable, a PATH that
    // leads to a folder of the user's first.
    std::wstring planted = MakeTempFolder(L"corvina-user-path-");
    wchar_t oldPath[32768];
    DWORD length = GetEnvironmentVariableW(L"PATH", oldPath, 32768);
    SetEnvironmentVariableW(L"PATH", (planted + L";" + std::wstring(oldPath, length)).c_str());
    SetEnvironmentVariableW(L"CORVINA_ONLY_HERE", L"tool");
    CMachineVariable machineWide(L"CORVINA_MACHINE_WIDE", L"machine");

    const std::wstring probe = Standin(L"childprobe.exe") +
                               L" env CORVINA_ONLY_HERE env CORVINA_MACHINE_WIDE env PATH env SystemRoot";
    std::string captured;
    ASSERT_TRUE(RunCommandCapture(probe, captured));
    std::wstring mark = m_tools.Folder() + L"env.txt";
    ASSERT_TRUE(RunCommand(probe + L" > \"" + mark + L"\"", false));
    SetEnvironmentVariableW(L"PATH", std::wstring(oldPath, length).c_str());
    SetEnvironmentVariableW(L"CORVINA_ONLY_HERE", nullptr);
    RemoveFolder(planted);

    wchar_t windows[MAX_PATH];
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    for (const std::string& output : {captured, ReadFileBytes(mark)}) {
        EXPECT_NE(std::string::npos, output.find("\r\nCORVINA_ONLY_HERE absent\r\n")) << output;
        EXPECT_NE(std::string::npos, output.find("\r\nCORVINA_MACHINE_WIDE=machine\r\n")) << output;
        EXPECT_NE(std::string::npos, output.find("\r\nSystemRoot=" + Utf8(windows) + "\r\n")) << output;
        EXPECT_NE(std::string::npos, output.find("\r\nPATH=" + Utf8(SystemFolder()))) << output;
        EXPECT_EQ(std::string::npos, output.find(Utf8(planted.substr(0, planted.size() - 1)))) << output;
    }
}

TEST_F(CommandRunnerTest, QuotedProgramPathWithBlanksAndQuotedArgumentsRuns)
{
    // The interpreter takes off only the outer pair of quotes, whatever else the line holds.
    std::wstring folder = MakeTempFolder(L"corvina system (x86) & more ");
    ASSERT_TRUE(CopyFileW((StandinsFolder() + L"childprobe.exe").c_str(),
                          (folder + L"child probe.exe").c_str(), FALSE));
    CMachineVariable machineWide(L"CORVINA MACHINE WIDE", L"quoted");
    std::string output;
    ASSERT_TRUE(RunCommandCapture(L"\"" + folder + L"child probe.exe\" env \"CORVINA MACHINE WIDE\"",
                                  output));
    EXPECT_EQ("event not held\r\nCORVINA MACHINE WIDE=quoted\r\n", output);
    std::wstring mark = m_tools.Folder() + L"quoted.txt";
    ASSERT_TRUE(RunCommand(L"\"" + folder + L"child probe.exe\" env \"CORVINA MACHINE WIDE\" > \"" +
                               mark + L"\"",
                           false));
    EXPECT_EQ(output, ReadFileBytes(mark));
    RemoveFolder(folder);
}

TEST_F(CommandRunnerTest, RunCommandHandsBackTheExitCode)
{
    DWORD code = 12345;
    ASSERT_TRUE(RunCommand(L"exit 3010", false, &code));
    EXPECT_EQ(3010u, code);
    ASSERT_TRUE(RunCommand(L"exit 2359303", true, &code));
    EXPECT_EQ(2359303u, code);
    ASSERT_TRUE(RunCommand(L"exit 0", false, &code));
    EXPECT_EQ(0u, code);
    EXPECT_TRUE(RunCommand(L"exit 5", false));
}

TEST_F(CommandRunnerTest, RunCommandWaitsForTheChild)
{
    std::wstring mark = m_tools.Folder() + L"mark.txt";
    ASSERT_TRUE(RunCommand(L"timeout /t 1 /nobreak & echo done> \"" + mark + L"\"", false));
    EXPECT_EQ("done\r\n", ReadFileBytes(mark));
}

TEST_F(CommandRunnerTest, TimeoutStandInWaitsThenTheFolderGoes)
{
    // The shape of the command that removes the program's folder at a normal close.
    std::wstring doomed = MakeTempFolder(L"corvina-doomed-");
    ASSERT_TRUE(WriteFileBytes(doomed + L"file.txt", "x"));
    doomed.pop_back();
    DWORD code = 99;
    DWORD start = GetTickCount();
    ASSERT_TRUE(RunCommand(L"timeout /t 3 /nobreak & rmdir /s /q " + doomed, false, &code));
    EXPECT_GE(GetTickCount() - start, 2900u);
    EXPECT_EQ(0u, code);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(doomed.c_str()));

    ASSERT_TRUE(RunCommand(L"timeout /t 0 /nobreak", false, &code));
    EXPECT_EQ(0u, code);
    ASSERT_TRUE(RunCommand(L"timeout /nobreak", false, &code));
    EXPECT_EQ(1u, code);
    ASSERT_TRUE(RunCommand(L"timeout /t soon", false, &code));
    EXPECT_EQ(1u, code);
}

TEST_F(CommandRunnerTest, ChildStartsInTheSystemsWindowsFolder)
{
    wchar_t windows[MAX_PATH];
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    std::string output;
    ASSERT_TRUE(RunCommandCapture(L"cd", output));
    EXPECT_EQ(Utf8(windows) + "\r\n", output);

    std::wstring mark = m_tools.Folder() + L"cd.txt";
    ASSERT_TRUE(RunCommand(L"cd> \"" + mark + L"\"", false));
    EXPECT_EQ(Utf8(windows) + "\r\n", ReadFileBytes(mark));
}

TEST_F(CommandRunnerTest, RedirectionIsOffWhileTheChildRunsAndBackOnAfter)
{
    const long long native = FileSize(L"C:\\windows\\sysnative\\cmd.exe");
    const long long wow = FileSize(L"C:\\windows\\syswow64\\cmd.exe");
    ASSERT_GT(native, 0);
    ASSERT_GT(wow, 0);
    ASSERT_NE(native, wow);
    ASSERT_EQ(wow, FileSize(L"C:\\windows\\system32\\cmd.exe"));

    // The command interpreter that ran is the native one: its child sees a 64-bit parent.
    std::string output;
    ASSERT_TRUE(RunCommandCapture(Standin(L"parentbits.exe"), output));
    EXPECT_EQ("parent 64-bit\r\n", output);
    EXPECT_EQ(wow, FileSize(L"C:\\windows\\system32\\cmd.exe"));

    std::wstring mark = m_tools.Folder() + L"bits.txt";
    ASSERT_TRUE(RunCommand(Standin(L"parentbits.exe") + L"> \"" + mark + L"\"", false));
    EXPECT_EQ("parent 64-bit\r\n", ReadFileBytes(mark));
    EXPECT_EQ(wow, FileSize(L"C:\\windows\\system32\\cmd.exe"));
}

TEST_F(CommandRunnerTest, ProbeTellsA32BitParent)
{
    // Started with redirection on, the same path gives the 32-bit interpreter: the probe
    // of the test above can tell them apart.
    std::wstring mark = m_tools.Folder() + L"bits32.txt";
    ASSERT_TRUE(RunCarelessly(L"cmd /C \"" + Standin(L"parentbits.exe") + L"> \"" + mark + L"\"\""));
    EXPECT_EQ("parent 32-bit\r\n", ReadFileBytes(mark));
}

TEST_F(CommandRunnerTest, RedirectionStaysOnOtherThreads)
{
    // While a child runs on one thread, another thread still sees the redirected folder.
    struct Probe {
        static DWORD WINAPI Run(LPVOID)
        {
            std::string output;
            RunCommandCapture(L"timeout /t 2 /nobreak", output);
            return 0;
        }
    };
    HANDLE worker = CreateThread(nullptr, 0, Probe::Run, nullptr, 0, nullptr);
    ASSERT_NE(nullptr, worker);
    Sleep(800);
    EXPECT_EQ(FileSize(L"C:\\windows\\syswow64\\cmd.exe"),
              FileSize(L"C:\\windows\\system32\\cmd.exe"));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(worker, 0));
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
}

// A command of the given length that creates mark when it runs.
std::wstring MarkingCommand(const std::wstring& mark, size_t length)
{
    std::wstring command = L"echo x>\"" + mark + L"\"&rem ";
    command.append(length - command.size(), L'p');
    return command;
}

TEST_F(CommandRunnerTest, CommandLineThatFitsRuns)
{
    EXPECT_EQ(L"cmd /D /S /C \"echo x\"", InterpreterCommandLine(L"echo x"));
    EXPECT_EQ(L"cmd /D /S /C \"\"C:\\a b\\wusa.exe\" /uninstall /kb:4515384\"",
              InterpreterCommandLine(L"\"C:\\a b\\wusa.exe\" /uninstall /kb:4515384"));
    // "cmd /D /C " plus the command fills the buffer to its last character.
    const size_t longest = kMaxCommandLine - InterpreterCommandLine(L"").size();
    std::wstring mark = m_tools.Folder() + L"fits.txt";
    ASSERT_TRUE(RunCommand(MarkingCommand(mark, longest), false));
    EXPECT_EQ("x\r\n", ReadFileBytes(mark));

    std::wstring captured = m_tools.Folder() + L"fits-captured.txt";
    std::string output;
    ASSERT_TRUE(RunCommandCapture(MarkingCommand(captured, longest), output));
    EXPECT_EQ("x\r\n", ReadFileBytes(captured));
}

TEST_F(CommandRunnerTest, CommandLineThatDoesNotFitIsNotStarted)
{
    const size_t tooLong = kMaxCommandLine - InterpreterCommandLine(L"").size() + 1;
    std::wstring mark = m_tools.Folder() + L"long.txt";
    EXPECT_FALSE(RunCommand(MarkingCommand(mark, tooLong), false));
    std::string output = "kept";
    EXPECT_FALSE(RunCommandCapture(MarkingCommand(mark, tooLong), output));
    EXPECT_FALSE(RunCommandCapture(MarkingCommand(mark, 5000), output));
    EXPECT_EQ("kept", output);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(mark.c_str()));
    // The redirection was never touched.
    EXPECT_EQ(FileSize(L"C:\\windows\\syswow64\\cmd.exe"),
              FileSize(L"C:\\windows\\system32\\cmd.exe"));
}

}  // namespace
